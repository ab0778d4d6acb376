#include "framework/frame/AcceleratorTable.h"

namespace framework {

WORD AcceleratorTable::Find(UINT virtualKey, bool ctrl, bool shift, bool alt) const {
    for (const ACCEL& entry : m_entries) {
        if ((entry.fVirt & FVIRTKEY) == 0 || entry.key != virtualKey)
            continue;
        if (((entry.fVirt & FCONTROL) != 0) == ctrl && ((entry.fVirt & FSHIFT) != 0) == shift &&
            ((entry.fVirt & FALT) != 0) == alt)
            return entry.cmd;
    }
    return 0;
}

} // namespace framework
