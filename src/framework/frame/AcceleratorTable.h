#pragma once
// A window's keyboard accelerators: virtual keys with an exact set of Ctrl, Shift and Alt, each
// standing for a command number. Entries keyed by character rather than by virtual key are kept
// but never match, since keys reach the frame as virtual keys.

#include <vector>

#include "framework/base/ResourceTypes.h"

namespace framework {

class AcceleratorTable {
public:
    AcceleratorTable() = default;
    explicit AcceleratorTable(const AcceleratorResource& resource) : m_entries(resource.entries) {}

    bool Empty() const { return m_entries.empty(); }
    // The command of the key with exactly these modifiers held; 0 when the table has none.
    WORD Find(UINT virtualKey, bool ctrl, bool shift, bool alt) const;

private:
    std::vector<ACCEL> m_entries;
};

} // namespace framework
