#pragma once
// Message boxes. A box without an owner leaves every window usable while it is up; a box with an owner
// disables that owner. Either way the caller waits in a modal loop until the box is dismissed.
// Tests replace the box with a handler of their own. Text and caption are the system's text
// (SystemText.h): they carry file names and the system's words for failures, in any script.

#include <functional>

#include "framework/base/WinUser.h"

int MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type);

namespace afx {
using MessageBoxHandler = std::function<int(HWND owner, LPCSTR text, LPCSTR caption, UINT type)>;
// Installs a handler that stands in for every message box; an empty handler restores the real box.
void SetMessageBoxHandler(MessageBoxHandler handler);
} // namespace afx
