// Large texts stay usable: the caret stays in view and a paint looks only at the lines and columns in
// the window. What typing costs in them is measured by bench_edit.

#include <gtest/gtest.h>

#include <QScrollBar>
#include <QTest>
#include <string>

#include "framework/edit/EditView.h"
#include "framework/text/EditViewColumnIndex.h"
#include "framework/base/RepaintScheduler.h"
#include "framework/text/TextBuffer.h"
#include "support/CaretInView.h"
#include "support/EditViewFixture.h"

using framework::EditView;

namespace {

class EditViewLargeTest : public EditViewFixture {
protected:
    EditViewLargeTest() : EditViewFixture(640, 400) {}

    EditView::PaintStats Paint() {
        Render();
        return view.LastPaint();
    }
};

} // namespace

// Thousands of short lines: at the end as text arrives, then in the middle as the user clicked there.
TEST_F(EditViewLargeTest, APaintOfManyLinesReadsOnlyTheLinesInTheWindow) {
    const std::size_t lineLength = 80;
    std::string text;
    for (std::size_t i = 0; i < (4u << 20) / lineLength; ++i) {
        text.append(lineLength - 2, static_cast<char>('a' + i % 26));
        text += "\r\n";
    }
    view.ReplaceSel(text.data(), text.size());
    const std::size_t lines = view.Buffer().LineCount();
    ASSERT_EQ(lines, text.size() / lineLength + 1);
    EXPECT_EQ(view.FirstVisibleLine(), lines - view.VisibleLines());
    EXPECT_EQ(static_cast<std::size_t>(view.verticalScrollBar()->maximum()), lines - view.VisibleLines());
    for (const std::size_t at : {text.size(), text.size() / 2}) {
        view.SetSel(at, at);
        EXPECT_EQ(view.CaretLine(), view.Buffer().LineOf(at));
        ExpectCaretInView(view);
        const EditView::PaintStats paint = Paint();
        EXPECT_LE(paint.lines, view.VisibleLines() + 1);
        EXPECT_LE(paint.bytes, (view.VisibleLines() + 1) * lineLength);
    }
}

// While text streams in at the end of a very long line, each paint looks at the bytes near the
// window, not at the line from its start.
TEST_F(EditViewLargeTest, RepaintsOfAVeryLongLineLookOnlyNearTheWindow) {
    const std::size_t size = 8u << 20;
    std::string line(size, 'x');
    for (std::size_t i = 0; i < size; i += 1000)
        line[i] = '\t';
    view.SetText(line.data(), line.size());
    view.SetSel(size, size);
    Paint();
    const std::size_t near = 2 * framework::EditViewColumnIndex::kStride + 4 * view.VisibleColumns();
    for (int i = 0; i < 3; ++i) {
        view.DefaultChar('y');
        EXPECT_LE(Paint().bytes, near);
        ExpectCaretInView(view);
    }
    // Scrolled back into the middle by hand, and clicked there.
    view.horizontalScrollBar()->setValue(view.horizontalScrollBar()->value() / 2);
    Paint();
    EXPECT_LE(Paint().bytes, near);
    const std::size_t target = view.HorizontalOffset() + 2;
    QTest::mouseClick(view.viewport(), Qt::LeftButton, Qt::NoModifier,
                      QPoint(static_cast<int>(2.2 * view.CellWidth()), view.LineHeight() / 2));
    std::size_t column = 0; // the column boundary nearest to the target, counted from the start
    for (const char c : line) {
        const std::size_t next = c == '\t' ? (column / 8 + 1) * 8 : column + 1;
        if (next > target) {
            column = target - column > next - target ? next : column;
            break;
        }
        column = next;
    }
    EXPECT_EQ(view.CaretColumn(), column);
}
