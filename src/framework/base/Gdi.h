#pragma once
// Fonts by handle. The stock objects stand for the desktop's own fonts: SYSTEM_FIXED_FONT is the
// system's fixed-pitch font, DEFAULT_GUI_FONT and SYSTEM_FONT the user-interface font.

#include <QFont>

#include "framework/base/WinUser.h"

struct HGDIOBJ__;
using HGDIOBJ = HGDIOBJ__*;

HGDIOBJ GetStockObject(int object);

namespace afx {
// The font a handle stands for; the user-interface font for null or unknown handles.
QFont FontFromHandle(HFONT font);
HFONT HandleFromStockObject(HGDIOBJ object);
} // namespace afx
