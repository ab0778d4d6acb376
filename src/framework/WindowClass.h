#pragma once
// Window classes by name ("EDIT", "BUTTON", the frame's class ...): each makes the Qt widget that
// stands for a window of that class.

#include "framework/WinUser.h"

class CWnd;
class QWidget;

struct WindowClassInfo {
    LPCSTR name;
    // Makes the widget for `owner`, a child of `parent` (null for a top-level window).
    QWidget* (*create)(CWnd* owner, QWidget* parent, DWORD style, DWORD exStyle);
};

namespace afx {
void RegisterWindowClass(const WindowClassInfo& info);
// Null when no class of that name (compared without regard to case) is registered.
const WindowClassInfo* FindWindowClass(LPCSTR name);
// The name of the class that frame windows are made from.
LPCSTR FrameWindowClassName();
} // namespace afx
