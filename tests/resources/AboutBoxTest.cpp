// Dialog template 100, the About box, and its picture, bitmap 105.
#include <gtest/gtest.h>

#include <QApplication>
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

TEST(AboutBox, TemplateHasTheBoxsFrameSizeTitleAndFont) {
    const DialogTemplate& dialog = About();
    const DWORD frame = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
    EXPECT_EQ(dialog.style & frame, frame);
    EXPECT_EQ(dialog.style & (WS_CHILD | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX), 0u);
    EXPECT_EQ(dialog.cx, 317);
    EXPECT_EQ(dialog.cy, 79);
    EXPECT_EQ(dialog.title, "About martool");
    EXPECT_EQ(dialog.fontFace, "MS Sans Serif");
    EXPECT_EQ(dialog.pointSize, 8);
}

TEST(AboutBox, ControlsInTabOrderWithTheirPlacesAndContents) {
    struct Expected {
        const char* className;
        const char* text;
        int id;
        short x, y, cx, cy;
        DWORD type;
    };
    const Expected expected[] = {
        {"STATIC", "105", IDC_STATIC, 7, 7, 115, 63, SS_BITMAP},
        {"STATIC", "Marloven Debug Tool  Version 1.01", IDC_STATIC, 135, 7, 119, 8, SS_LEFT},
        {"STATIC", nullptr, IDC_STATIC, 135, 25, 119, 8, SS_LEFT},
        {"STATIC", "Questions or comments are welcomed.", IDC_STATIC, 135, 43, 130, 8, SS_LEFT},
        {"STATIC", nullptr, IDC_STATIC, 135, 61, 145, 8, SS_LEFT},
        {"BUTTON", "OK", IDOK, 278, 7, 32, 14, BS_DEFPUSHBUTTON},
    };
    const DialogTemplate& dialog = About();
    ASSERT_EQ(dialog.items.size(), std::size(expected));
    for (std::size_t i = 0; i < std::size(expected); ++i) {
        const DialogItemTemplate& item = dialog.items[i];
        const Expected& e = expected[i];
        SCOPED_TRACE(i);
        EXPECT_EQ(item.className, e.className);
        if (e.text != nullptr) {
            EXPECT_EQ(item.text, e.text);
        }
        EXPECT_EQ(item.id, e.id);
        EXPECT_EQ(item.x, e.x);
        EXPECT_EQ(item.y, e.y);
        EXPECT_EQ(item.cx, e.cx);
        EXPECT_EQ(item.cy, e.cy);
        DWORD typeMask = item.className == "BUTTON" ? BS_TYPEMASK : SS_TYPEMASK;
        EXPECT_EQ(item.style & typeMask, e.type);
        EXPECT_EQ(item.style & (WS_CHILD | WS_VISIBLE), WS_CHILD | WS_VISIBLE);
    }
    EXPECT_EQ(dialog.items[0].exStyle & WS_EX_TRANSPARENT, WS_EX_TRANSPARENT) << "the picture is transparent";
    EXPECT_NE(dialog.items[1].style & SS_NOPREFIX, 0u) << "the version line shows '&' as it stands";
    EXPECT_NE(dialog.items[2].text.find("Copyright (C) 2026"), std::string::npos);
    EXPECT_FALSE(dialog.items[4].text.empty());
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
