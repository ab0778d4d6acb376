#pragma once
// The window class of dialogs, "#32770"; the controls' classes are in ControlWindowClasses.h.

#include "framework/base/WinUser.h"

namespace afx {

inline constexpr LPCSTR kDialogClassName = "#32770";

// Registers the dialog class, once; its controls register their own.
void RegisterDialogWindowClass();

} // namespace afx
