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

    // What a lookup of a class's map found for a message and command (nullptr: nothing).
    struct Found {
        const AFX_MSGMAP* map = nullptr;
        UINT message = 0;
        UINT id = 0;
        const AFX_MSGMAP_ENTRY* entry = nullptr;
    };

protected:
    virtual const AFX_MSGMAP* GetMessageMap() const;
    static const AFX_MSGMAP* GetThisMessageMap();

    // The first entry for `message` (and, for commands, `id`) along the chain of maps. A target
    // mostly gets the same message again and again (a character per received byte, a refresh after
    // it), so the last entry it found is kept with it and found again inline. The map is compared
    // too: while an object is being built or destroyed its class, and so its map, changes.
    const AFX_MSGMAP_ENTRY* FindMessageEntry(UINT message, UINT id) const {
        const AFX_MSGMAP* top = GetMessageMap();
        if (message != WM_COMMAND)
            id = 0;
        if (m_lastFound.map == top && m_lastFound.message == message && m_lastFound.id == id)
            return m_lastFound.entry;
        return FindAndKeep(top, message, id);
    }

private:
    const AFX_MSGMAP_ENTRY* FindAndKeep(const AFX_MSGMAP* top, UINT message, UINT id) const;
    static const AFX_MSGMAP_ENTRY* WalkMessageMaps(const AFX_MSGMAP* top, UINT message, UINT id);

    mutable Found m_lastFound;
};
