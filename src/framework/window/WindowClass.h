#pragma once
// Window classes by name ("EDIT", "BUTTON", the frame's class ...): each makes the Qt widget that
// stands for a window of that class. Each window type registers its own classes when its first
// object is made, so that the classes a program never uses are never linked in.

#include "framework/base/WinUser.h"

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
} // namespace afx
