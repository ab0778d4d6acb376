// The About box's picture, bitmap 105.
#include <gtest/gtest.h>

#include <QImage>
#include <set>

#include "framework/base/Gdi.h"
#include "framework/base/ResourceTable.h"
#include "resources/ProgramResources.h"
#include "resources/ResourceIds.h"

namespace {

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
