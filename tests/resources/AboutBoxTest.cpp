// Dialog template 100, the About box, and its picture, bitmap 105.
#include <gtest/gtest.h>

#include <QFontMetrics>
#include <QImage>
#include <set>

#include "framework/base/Gdi.h"
#include "framework/base/ResourceTable.h"
#include "resources/ProgramResources.h"
#include "resources/ResourceIds.h"

namespace {

const DialogTemplate& About() {
    resources::RegisterAboutDialog();
    const DialogTemplate* dialog = afx::FindDialog(IDD_ABOUTBOX);
    EXPECT_NE(dialog, nullptr);
    static DialogTemplate empty{};
    return dialog != nullptr ? *dialog : empty;
}

// The lines this program chose, the copyright and the contact line, must be readable whole: a
// static line wider than its control wraps, and the second line falls outside the control.
TEST(AboutBox, TheProgramsOwnLinesFitTheirControlsInTheDialogFont) {
    const DialogTemplate& dialog = About();
    ASSERT_GE(dialog.items.size(), 5u);
    // "MS Sans Serif" is the desktop's user-interface font; dialog units as the platform reckons them.
    QFontMetrics metrics(afx::FontFromHandle(nullptr));
    int letters = metrics.horizontalAdvance("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    int averageWidth = (letters / 26 + 1) / 2;
    for (std::size_t i : {2u, 4u}) {
        const DialogItemTemplate& item = dialog.items[i];
        int available = (item.cx * averageWidth + 2) / 4;
        EXPECT_LE(metrics.horizontalAdvance(QString::fromLatin1(item.text.c_str())), available) << item.text;
    }
}

TEST(AboutBox, PictureIsA173By102PictureInSixteenColoursOnAPlainBackground) {
    resources::RegisterBitmaps();
    QImage picture = afx::LoadBitmap(IDB_ABOUT).toImage();
    ASSERT_FALSE(picture.isNull()) << "the picture travels in the program's resources";
    EXPECT_EQ(picture.size(), QSize(173, 102));
    std::set<QRgb> colours;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            colours.insert(picture.pixel(x, y));
    EXPECT_LE(colours.size(), 16u);
    EXPECT_GE(colours.size(), 6u) << "a picture, not a blank";
    // The top-left colour stands for transparent: it is the background all round the picture.
    QRgb background = picture.pixel(0, 0);
    for (QPoint corner : {QPoint(172, 0), QPoint(0, 101), QPoint(172, 101), QPoint(86, 0), QPoint(86, 101)})
        EXPECT_EQ(picture.pixel(corner), background);
}

} // namespace
