#include <gtest/gtest.h>

#include <QImage>
#include <QScrollBar>
#include <string>
#include <vector>

#include "framework/EditView.h"
#include "framework/EditViewGlyphs.h"
#include "framework/RepaintScheduler.h"

using framework::EditView;
using framework::EditViewGlyphs;
using framework::RepaintScheduler;
using Kind = EditViewGlyphs::Kind;

TEST(EditViewGlyphsTest, ControlBytesUseTheUnicodeControlPictures) {
    EXPECT_EQ(EditViewGlyphs::Of(0x00).character, u'\u2400');
    EXPECT_EQ(EditViewGlyphs::Of(0x1B).character, u'\u241B');
    EXPECT_EQ(EditViewGlyphs::Of('\r').character, u'\u240D') << "a lone CR";
    EXPECT_EQ(EditViewGlyphs::Of(0x7F).character, u'\u2421');
    EXPECT_EQ(EditViewGlyphs::Of(0x85).kind, Kind::Hex);
    EXPECT_EQ(EditViewGlyphs::Of(0xE9).kind, Kind::Plain);
}

namespace {

class EditViewDisplayTest : public ::testing::Test {
protected:
    EditViewDisplayTest() : view(nullptr, &scheduler) {
        view.resize(400, 200);
        view.show();
    }

    QImage Render() {
        QImage image(view.viewport()->size(), QImage::Format_RGB32);
        view.viewport()->render(&image);
        return image;
    }

    // Pixels of a cell (line 0) that differ from the background.
    int Ink(const QImage& image, std::size_t column) const {
        const QRgb base = view.palette().color(QPalette::Base).rgb();
        const int left = static_cast<int>(static_cast<double>(column) * view.CellWidth());
        const int right = static_cast<int>(static_cast<double>(column + 1) * view.CellWidth());
        int ink = 0;
        for (int y = 0; y < view.LineHeight(); ++y) {
            for (int x = left; x < right; ++x)
                ink += image.pixel(x, y) != base ? 1 : 0;
        }
        return ink;
    }

    int InkOf(const std::string& text, std::size_t column) {
        view.SetText(text.data(), text.size());
        return Ink(Render(), column);
    }

    RepaintScheduler scheduler;
    EditView view;
};

} // namespace

TEST_F(EditViewDisplayTest, ControlBytesAreDrawnVisibly) {
    EXPECT_EQ(InkOf(" ", 0), 0);
    EXPECT_GT(InkOf("A", 0), 0);
    for (const char byte : {'\x00', '\x1B', '\x7F', '\x85', '\x9F', '\xAD', '\r', '\n', '\xE9'})
        EXPECT_GT(InkOf(std::string(1, byte), 0), 0)
            << "byte " << static_cast<int>(static_cast<unsigned char>(byte));
}

// Each control byte alone at the start of the text; no two may look alike, or like a printable one.
TEST_F(EditViewDisplayTest, ControlBytesLookDistinct) {
    std::vector<int> bytes;
    for (int byte = 0; byte < 0x20; ++byte) {
        if (byte != '\t')
            bytes.push_back(byte);
    }
    for (int byte = 0x7F; byte < 0xA0; ++byte)
        bytes.push_back(byte);
    bytes.push_back('A');
    bytes.push_back('@');
    const QRect cell(0, 0, static_cast<int>(view.CellWidth()), view.LineHeight());
    std::vector<QImage> cells;
    for (const int byte : bytes) {
        const char c = static_cast<char>(byte);
        view.SetText(&c, 1);
        cells.push_back(Render().copy(cell));
    }
    for (std::size_t i = 0; i < cells.size(); ++i) {
        for (std::size_t j = i + 1; j < cells.size(); ++j)
            EXPECT_NE(cells[i], cells[j]) << std::hex << bytes[i] << " and " << bytes[j];
    }
}

TEST_F(EditViewDisplayTest, TabAdvancesToTheNextStopOfEight) {
    const QImage image = (view.SetText("ab\tC", 4), Render());
    for (std::size_t column = 2; column < 8; ++column)
        EXPECT_EQ(Ink(image, column), 0) << column;
    EXPECT_GT(Ink(image, 8), 0);
}

TEST_F(EditViewDisplayTest, SelectionIsHighlighted) {
    view.SetText("  ", 2);
    view.SetSel(1, 2);
    const QImage image = Render();
    EXPECT_EQ(Ink(image, 0), 0);
    EXPECT_GT(Ink(image, 1), 0);
}

TEST_F(EditViewDisplayTest, OnlyVisibleLinesArePainted) {
    std::string text;
    for (int i = 0; i < 10000; ++i)
        text += "line " + std::to_string(i) + "\r\n";
    view.SetText(text.data(), text.size());
    view.SetSel(text.size() / 2, text.size() / 2);
    Render();
    EXPECT_LE(view.LastPaint().lines, view.VisibleLines() + 1);
    EXPECT_GE(view.LastPaint().lines, view.VisibleLines());
    EXPECT_LE(view.LastPaint().bytes, (view.VisibleLines() + 1) * 12);
}

TEST_F(EditViewDisplayTest, ScrolledLinesStartAtTheLeftEdgeColumn) {
    std::string text(200, ' ');
    text += 'Z';
    view.SetText(text.data(), text.size());
    view.SetSel(text.size(), text.size());
    const QImage image = Render();
    const std::size_t column = 200 - view.HorizontalOffset();
    EXPECT_GT(Ink(image, column), 0);
    EXPECT_EQ(Ink(image, column - 1), 0);
}

TEST_F(EditViewDisplayTest, PaintMeasuresWideLinesForTheScrollRange) {
    std::string text = "short\r\n" + std::string(1000, 'w') + "\r\nend";
    view.SetText(text.data(), text.size());
    Render();
    EXPECT_GE(view.horizontalScrollBar()->maximum() + static_cast<int>(view.VisibleColumns()), 1000);
}
