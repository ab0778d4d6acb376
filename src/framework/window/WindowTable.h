#pragma once
// Handles of live windows. A handle is never reused, so a message posted to a window that has since
// been destroyed finds nothing and is dropped.

#include <array>
#include <cstdint>
#include <vector>

#include "framework/base/WinUser.h"

class CWnd;

namespace afx {
HWND AllocateWindowHandle(CWnd* wnd);
void RebindWindowHandle(HWND hwnd, CWnd* wnd);
void ReleaseWindowHandle(HWND hwnd);

// Every received byte looks up its windows several times; the few windows of the program each keep a
// slot here, so that a lookup is one comparison, made inline. A handle not in its slot is looked up
// in the table of every window, and takes the slot. The slots are initialised before the program
// runs, so that the lookup needs no guard of a function's static either.
struct WindowSlot {
    HWND hwnd = nullptr;
    CWnd* wnd = nullptr;
};
inline constinit std::array<WindowSlot, 64> g_windowSlots{};

inline WindowSlot& SlotOf(HWND hwnd) {
    return g_windowSlots[(reinterpret_cast<std::uintptr_t>(hwnd) >> 2) % g_windowSlots.size()];
}

CWnd* LookupWindowInTable(HWND hwnd);

inline CWnd* LookupWindow(HWND hwnd) {
    if (hwnd == nullptr)
        return nullptr;
    const WindowSlot& slot = SlotOf(hwnd);
    return slot.hwnd == hwnd ? slot.wnd : LookupWindowInTable(hwnd);
}
// Every live window, in creation order.
std::vector<CWnd*> WindowsInCreationOrder();
} // namespace afx
