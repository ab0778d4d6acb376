#pragma once
// The root of everything that receives commands: windows and the application object.

#include "framework/window/MessageMap.h"

class CCmdTarget {
public:
    CCmdTarget() = default;
    CCmdTarget(const CCmdTarget&) = delete;
    CCmdTarget& operator=(const CCmdTarget&) = delete;
    virtual ~CCmdTarget() = default;

    // Runs the handler of command `id` in this target's message map; FALSE when it has none.
    virtual BOOL OnCmdMsg(UINT id);

protected:
    virtual const AFX_MSGMAP* GetMessageMap() const;
    static const AFX_MSGMAP* GetThisMessageMap();

    // The first entry for `message` (and, for commands, `id`) along the chain of maps.
    const AFX_MSGMAP_ENTRY* FindMessageEntry(UINT message, UINT id) const;

private:
    static const AFX_MSGMAP_ENTRY* WalkMessageMaps(const AFX_MSGMAP* top, UINT message, UINT id);
};
