#include <gtest/gtest.h>

#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <cmath>
#include <QScrollBar>
#include <string>
#include <vector>

#include "framework/edit/EditView.h"
#include "framework/edit/EditViewCells.h"
#include "framework/edit/EditViewGlyphTables.h"
#include "framework/text/EditViewModel.h"
#include "framework/edit/EditViewPainter.h"
#include "framework/base/RepaintScheduler.h"
#include "support/EditViewFixture.h"

using framework::EditView;
using framework::RepaintScheduler;

namespace {

class EditViewDisplayTest : public EditViewFixture {
protected:
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
};

} // namespace

// Each byte alone at the start of the text. No control byte may look like another, like a printable
// character, or like a blank.
TEST_F(EditViewDisplayTest, ControlBytesAreDrawnVisiblyAndDistinctly) {
    std::vector<int> bytes{' ', 'A', '@', 0xAD, 0xE9};
    for (int byte = 0; byte < 0x20; ++byte) {
        if (byte != '\t')
            bytes.push_back(byte);
    }
    for (int byte = 0x7F; byte < 0xA0; ++byte)
        bytes.push_back(byte);
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

// Plain characters are drawn as copied pictures of their cells: a window of text of every kind, a
// selection across it, scrolled sideways so that cells are cut at both edges, must look exactly as
// when every cell is drawn glyph by glyph, wide glyphs that reach into their neighbours included.
TEST(EditViewCellCopies, LookAsCellsDrawnGlyphByGlyph) {
    QFont font(QStringLiteral("DejaVu Sans Mono"));
    font.setPixelSize(12);
    const QFontMetricsF metrics(font);
    framework::EditViewPainter::Geometry geometry;
    geometry.cellWidth = std::round(metrics.horizontalAdvance('M'));
    geometry.lineHeight = static_cast<int>(std::ceil(metrics.lineSpacing()));
    geometry.ascent = static_cast<int>(std::round(metrics.ascent()));
    geometry.lines = 4;
    geometry.firstColumn = 3;
    geometry.columns = 80;
    geometry.width = static_cast<int>(geometry.cellWidth * 80) - 3;
    geometry.height = 4 * geometry.lineHeight;
    const framework::EditViewGlyphTables glyphs(font, geometry.lineHeight);
    framework::EditViewCells cells;
    cells.Use({geometry.cellWidth, geometry.lineHeight, geometry.ascent, Qt::black, Qt::white, glyphs.Main()});
    ASSERT_TRUE(cells.Usable());

    std::string text = "WWMW plain text, and \t\x01\x1b\x7f\x85\xad\xe9\xff controls\r\n";
    for (int byte = 0x20; byte < 0x100; ++byte)
        text += static_cast<char>(byte) + std::string(byte % 40 == 0 ? "\r\n" : "");
    framework::EditViewModel model;
    model.SetText(text.data(), text.size());
    model.Select(30, 70);
    const framework::EditViewPainter::Colors colors{Qt::black, Qt::white, Qt::darkBlue, Qt::yellow, Qt::darkGreen};
    auto draw = [&](framework::EditViewCells* with) {
        QImage image(geometry.width, geometry.height, QImage::Format_RGB32);
        image.fill(Qt::red);
        QPainter painter(&image);
        framework::EditViewPainter(painter, model, geometry, colors, glyphs, with).Paint(true, 0);
        return image;
    };
    const QImage glyphByGlyph = draw(nullptr);
    EXPECT_TRUE(draw(&cells) == glyphByGlyph);
    EXPECT_TRUE(draw(&cells) == glyphByGlyph) << "with every cell's picture made already";
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

// Where a long line's columns fall is kept from paint to paint; after edits before, inside or after
// what was kept, the line must look exactly as in a view that has just been given the same text.
TEST_F(EditViewDisplayTest, ALongLineLooksAfterEditsAsWhenFreshlyLoaded) {
    std::string line = "\t"; // every column after it depends on it
    for (std::size_t i = 0; i < 100000; ++i)
        line += static_cast<char>('a' + i % 26);
    struct Edit {
        const char* name;
        std::size_t at;
        std::size_t erase;
        std::string insert;
    };
    const std::vector<Edit> edits{
        {"a byte typed at the start", 0, 0, "Q"},
        {"a tab typed in the middle", 50004, 0, "\t"}, // five columns wide there
        {"the leading tab deleted", 0, 1, ""},
        {"bytes typed at the end", line.size(), 0, "xyz"},
    };
    for (const Edit& edit : edits) {
        SCOPED_TRACE(edit.name);
        view.SetText(line.data(), line.size());
        view.SetSel(line.size(), line.size());
        Render();
        view.SetSel(edit.at, edit.at + edit.erase);
        view.ReplaceSel(edit.insert.data(), edit.insert.size());
        const std::string edited = view.Text();

        EditView fresh(nullptr, &scheduler);
        fresh.resize(view.size());
        fresh.show();
        fresh.SetText(edited.data(), edited.size());
        fresh.SetSel(edited.size(), edited.size());
        view.SetSel(edited.size(), edited.size());
        EXPECT_EQ(view.CaretColumn(), fresh.CaretColumn());
        for (const int offset : {60000, 90000}) {
            view.horizontalScrollBar()->setValue(offset);
            fresh.horizontalScrollBar()->setValue(offset);
            ASSERT_EQ(view.HorizontalOffset(), static_cast<std::size_t>(offset));
            ASSERT_EQ(fresh.HorizontalOffset(), static_cast<std::size_t>(offset));
            QImage seen(view.viewport()->size(), QImage::Format_RGB32);
            QImage expected(fresh.viewport()->size(), QImage::Format_RGB32);
            view.viewport()->render(&seen);
            fresh.viewport()->render(&expected);
            EXPECT_EQ(seen, expected) << "at column " << offset;
        }
    }
}

// A modal dialog disables the window around the terminal; its text must stay as readable as it was.
// Only the view disabled itself is drawn greyed.
TEST(EditViewColours, ADisabledWindowAroundTheViewLeavesItsLookAlone) {
    RepaintScheduler scheduler;
    QWidget window;
    EditView view(&window, &scheduler);
    view.resize(300, 100);
    window.show();
    view.SetText("hello\r\nworld", 12);
    view.SetSel(7, 9);
    auto render = [&view] {
        QImage image(view.viewport()->size(), QImage::Format_RGB32);
        view.viewport()->render(&image);
        return image;
    };
    const QImage enabled = render();
    window.setEnabled(false);
    EXPECT_TRUE(render() == enabled);
    window.setEnabled(true);
    view.setEnabled(false);
    EXPECT_FALSE(render() == enabled);
}
