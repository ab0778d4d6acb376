// Large texts stay usable: typing stays fast, the caret stays in view, a paint looks only at the
// lines in the window. The time limits are far above what the code needs (a few milliseconds) and
// far below what a cost growing with the text would take (minutes), so they do not flake.

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QImage>
#include <QScrollBar>
#include <QTest>
#include <string>

#include "framework/edit/EditView.h"
#include "framework/edit/EditViewColumnIndex.h"
#include "framework/base/RepaintScheduler.h"
#include "framework/edit/TextBuffer.h"

using framework::EditView;
using framework::RepaintScheduler;

namespace {

constexpr qint64 kGenerousMs = 3000;

class EditViewLargeTest : public ::testing::Test {
protected:
    EditViewLargeTest() : view(nullptr, &scheduler) {
        view.resize(640, 400);
        view.show();
    }

    // Types count characters through the control's own handling; a line break every lineLength.
    qint64 Type(std::size_t count, std::size_t lineLength) {
        QElapsedTimer clock;
        clock.start();
        for (std::size_t i = 1; i <= count; ++i)
            view.DefaultChar(lineLength != 0 && i % lineLength == 0 ? 13 : 'a' + i % 26);
        return clock.elapsed();
    }

    EditView::PaintStats Paint() {
        QImage image(view.viewport()->size(), QImage::Format_RGB32);
        view.viewport()->render(&image);
        return view.LastPaint();
    }

    void ExpectCaretInView() {
        EXPECT_LE(view.FirstVisibleLine(), view.CaretLine());
        EXPECT_LT(view.CaretLine(), view.FirstVisibleLine() + view.VisibleLines());
        EXPECT_LE(view.HorizontalOffset(), view.CaretColumn());
        EXPECT_LT(view.CaretColumn(), view.HorizontalOffset() + view.VisibleColumns());
        EXPECT_EQ(view.FirstVisibleLine(), static_cast<std::size_t>(view.verticalScrollBar()->value()));
        EXPECT_EQ(view.HorizontalOffset(), static_cast<std::size_t>(view.horizontalScrollBar()->value()));
    }

    RepaintScheduler scheduler;
    EditView view;
};

} // namespace

TEST_F(EditViewLargeTest, OneMegabyteLine) {
    const std::size_t size = 1u << 20;
    const std::string line(size, 'x');
    view.SetText(line.data(), line.size());
    view.SetSel(size, size);
    EXPECT_EQ(view.CaretColumn(), size);
    ExpectCaretInView();

    EXPECT_LT(Type(100000, 0), kGenerousMs) << "typing at the end of the line";
    EXPECT_EQ(view.CaretColumn(), size + 100000);
    ExpectCaretInView();
    EXPECT_LE(view.HorizontalOffset(), static_cast<std::size_t>(view.horizontalScrollBar()->maximum()));

    view.SetSel(size / 2, size / 2);
    EXPECT_LT(Type(100000, 0), kGenerousMs) << "typing in the middle of the line";
    ExpectCaretInView();
    EXPECT_EQ(view.TextLength(), size + 200000);
    EXPECT_EQ(view.Buffer().LineCount(), 1u);

    const EditView::PaintStats paint = Paint();
    EXPECT_EQ(paint.lines, 1u);
    EXPECT_LE(paint.bytes, view.TextLength()) << "a paint may read the visible line, once";
}

TEST_F(EditViewLargeTest, HundredMegabyteText) {
    const std::size_t lineLength = 80;
    std::string chunk;
    for (std::size_t i = 0; i < (1u << 20) / lineLength; ++i) {
        chunk.append(lineLength - 2, static_cast<char>('a' + i % 26));
        chunk += "\r\n";
    }
    const std::size_t chunks = (100u << 20) / chunk.size();
    for (std::size_t i = 0; i < chunks; ++i)
        view.ReplaceSel(chunk.data(), chunk.size());
    const std::size_t size = chunks * chunk.size();
    ASSERT_EQ(view.TextLength(), size);
    const std::size_t lines = size / lineLength + 1;
    ASSERT_EQ(view.Buffer().LineCount(), lines);
    EXPECT_LE(view.Buffer().MemoryBytes(), 2 * size);

    // At the end, as text arrives.
    EXPECT_EQ(view.FirstVisibleLine(), lines - view.VisibleLines());
    EXPECT_EQ(static_cast<std::size_t>(view.verticalScrollBar()->maximum()), lines - view.VisibleLines());
    EXPECT_LT(Type(20000, lineLength), kGenerousMs);
    ExpectCaretInView();
    EXPECT_EQ(view.FirstVisibleLine(), view.Buffer().LineCount() - view.VisibleLines());

    EditView::PaintStats paint = Paint();
    EXPECT_LE(paint.lines, view.VisibleLines() + 1);
    EXPECT_LE(paint.bytes, (view.VisibleLines() + 1) * lineLength);

    // In the middle, as the user clicked there.
    view.SetSel(size / 2, size / 2);
    ExpectCaretInView();
    EXPECT_EQ(view.CaretLine(), view.Buffer().LineOf(size / 2));
    EXPECT_LT(Type(20000, lineLength), kGenerousMs);
    ExpectCaretInView();
    paint = Paint();
    EXPECT_LE(paint.lines, view.VisibleLines() + 1);
    EXPECT_LE(paint.bytes, (view.VisibleLines() + 1) * lineLength);
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
        ExpectCaretInView();
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
