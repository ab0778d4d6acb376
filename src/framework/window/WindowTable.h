#pragma once
// Handles of live windows. A handle is never reused, so a message posted to a window that has since
// been destroyed finds nothing and is dropped.

#include <vector>

#include "framework/base/WinUser.h"

class CWnd;

namespace afx {
HWND AllocateWindowHandle(CWnd* wnd);
void RebindWindowHandle(HWND hwnd, CWnd* wnd);
void ReleaseWindowHandle(HWND hwnd);
CWnd* LookupWindow(HWND hwnd);
// Every live window, in creation order.
std::vector<CWnd*> WindowsInCreationOrder();
} // namespace afx
