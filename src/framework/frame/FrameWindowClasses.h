#pragma once
// The window classes of frames and their bars: the framework's frame class (a top-level window with
// a menu bar and a client area) and "msctls_statusbar32" (a status bar).

#include "framework/base/WinUser.h"

namespace afx {

inline constexpr LPCSTR kStatusBarClassName = "msctls_statusbar32";

// The name of the class that frame windows are made from.
inline constexpr LPCSTR kFrameClassName = "AfxFrameOrView";

// Registers the frame and status bar classes, once.
void RegisterFrameWindowClasses();

} // namespace afx
