#include "framework/base/Gdi.h"

#include <QApplication>
#include <QFontDatabase>

HGDIOBJ GetStockObject(int object) {
    if (object != SYSTEM_FIXED_FONT && object != SYSTEM_FONT && object != DEFAULT_GUI_FONT)
        return nullptr;
    return reinterpret_cast<HGDIOBJ>(static_cast<UINT_PTR>(object));
}

namespace afx {

HFONT HandleFromStockObject(HGDIOBJ object) {
    return reinterpret_cast<HFONT>(object);
}

QFont FontFromHandle(HFONT font) {
    auto id = static_cast<int>(reinterpret_cast<UINT_PTR>(font));
    if (id == SYSTEM_FIXED_FONT)
        return QFontDatabase::systemFont(QFontDatabase::FixedFont);
    return QApplication::font();
}

} // namespace afx
