#pragma once
// The window classes of dialogs and their controls: "#32770" (the dialog itself), "BUTTON" (push
// buttons, check boxes, group boxes, by style), "STATIC" and "COMBOBOX".

#include "framework/WinUser.h"

namespace afx {

inline constexpr LPCSTR kDialogClassName = "#32770";

void RegisterDialogWindowClasses();

} // namespace afx
