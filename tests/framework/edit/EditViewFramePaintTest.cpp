// What the window shows after frames drawn one after another, as text streams in and the user
// scrolls and selects, is exactly what a paint of the whole view from scratch shows: nothing drawn
// at a frame (text, scroll bars) is left stale, and the bars stand where the view does.
#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <QScrollBar>
#include <QTest>
#include <QWheelEvent>
#include <functional>
#include <string>
#include <vector>

#include "framework/base/RepaintScheduler.h"
#include "framework/edit/EditView.h"
#include "support/EditViewFixture.h"

using framework::EditView;

namespace {

void Stream(EditView& view, const std::string& bytes) {
    for (const char c : bytes)
        view.DefaultChar(static_cast<unsigned char>(c));
}

void WheelUp(EditView& view, int notches) {
    const QPointF at(10, 10);
    QWheelEvent wheel(at, view.viewport()->mapToGlobal(at), QPoint(), QPoint(0, 120 * notches), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(view.viewport(), &wheel);
}

// The smallest rectangle that holds every pixel where two pictures of the same size differ.
QRect Difference(const QImage& a, const QImage& b) {
    QRect differs;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            if (a.pixel(x, y) != b.pixel(x, y))
                differs |= QRect(x, y, 1, 1);
        }
    }
    return differs;
}

std::string NumberedLines(int from, int count) {
    std::string text;
    for (int line = from; line < from + count; ++line)
        text += "line " + std::to_string(line) + " ends here\r";
    return text;
}

class EditViewFramePaintTest : public EditViewFixture {
protected:
    EditViewFramePaintTest() {
        view.activateWindow();
        view.setFocus();
    }

    // Lets the frame come and its drawing reach the window, until nothing waits to be drawn: a
    // paint may widen a range, the caret may blink meanwhile.
    void Settle() {
        int rounds = 0;
        do {
            scheduler.Flush();
            QTest::qWait(20);
        } while (++rounds < 2 || (scheduler.IsPending() && rounds < 20));
    }

    // The window's pixels as the frames left them, against the whole view painted afresh.
    void ExpectShownAsFreshlyPainted() {
        const QImage shown = view.screen()->grabWindow(view.winId()).toImage().convertToFormat(QImage::Format_RGB32);
        const QImage fresh = view.grab().toImage().convertToFormat(QImage::Format_RGB32);
        ASSERT_EQ(shown.size(), fresh.size());
        const QRect differs = Difference(shown, fresh);
        EXPECT_TRUE(differs.isEmpty()) << "the window differs from a full paint at " << differs.x() << ","
                                       << differs.y() << " " << differs.width() << "x" << differs.height();
        EXPECT_EQ(view.FirstVisibleLine(), static_cast<std::size_t>(view.verticalScrollBar()->value()));
        EXPECT_EQ(view.HorizontalOffset(), static_cast<std::size_t>(view.horizontalScrollBar()->value()));
    }
};

} // namespace

TEST_F(EditViewFramePaintTest, FramesShowWhatAFullPaintShows) {
    struct Step {
        const char* name;
        std::function<void(EditView&)> act;
        std::function<void(EditView&)> check; // what must hold once the frame has come, beyond the pixels
    };
    std::string controls;
    for (int byte = 0; byte < 0x20; ++byte) {
        if (byte != '\r' && byte != '\n')
            controls += static_cast<char>(byte);
    }
    for (int byte = 0x7F; byte < 0xA0; ++byte)
        controls += static_cast<char>(byte);
    controls += "\xAD\xE9\xFF\r";
    const std::vector<Step> steps{
        {"the first lines", [](EditView& v) { Stream(v, NumberedLines(0, 5)); }, {}},
        {"lines past the bottom", [](EditView& v) { Stream(v, NumberedLines(5, 40)); },
         [](EditView& v) { EXPECT_GT(v.FirstVisibleLine(), 0u); }},
        {"many more, the thumb at its end", [](EditView& v) { Stream(v, NumberedLines(45, 2000)); }, {}},
        {"control bytes and hex cells", [&](EditView& v) { Stream(v, controls); }, {}},
        {"a line running off to the right", [](EditView& v) {
             Stream(v, std::string(120, 'w'));
             Stream(v, "\t|");
         },
         [](EditView& v) { EXPECT_GT(v.HorizontalOffset(), 0u); }},
        {"back to the left edge", [](EditView& v) { Stream(v, "\rleft"); },
         [](EditView& v) { EXPECT_EQ(v.HorizontalOffset(), 0u); }},
        {"a selection across lines", [](EditView& v) { v.SetSel(v.TextLength() - 150, v.TextLength() - 3); }, {}},
        {"wheel turned up", [](EditView& v) { WheelUp(v, 2); }, {}},
        {"text arriving brings the view back", [](EditView& v) { Stream(v, "back\r"); }, {}},
        {"backspace over line breaks", [](EditView& v) { Stream(v, std::string(12, '\b')); }, {}},
        // The bar is moved for the text as it is now, not as it was at the last frame.
        {"wheel turned before the frame",
         [](EditView& v) {
             Stream(v, NumberedLines(0, 30));
             WheelUp(v, 1);
         },
         [](EditView& v) {
             EXPECT_EQ(v.FirstVisibleLine() + 3 + v.VisibleLines(), v.Buffer().LineCount());
         }},
        // At a line's usual pace a frame moves the pixels up and draws only the lines that changed.
        {"a line or two per frame", [&](EditView& v) {
             for (int frame = 0; frame < 6; ++frame) {
                 Stream(v, NumberedLines(100 + frame * 2, frame % 2 + 1) + (frame == 5 ? "part" : ""));
                 Settle();
                 // The frame's own paint, before the comparison paints the whole view.
                 EXPECT_LE(v.LastPaint().lines, 4u);
             }
         }, {}},
        {"a line received in the middle of the text", [&](EditView& v) {
             const std::size_t middle = v.Buffer().LineStart(v.FirstVisibleLine() + 3);
             v.SetSel(middle, middle);
             Settle();
             Stream(v, "new\rsecond new\r");
             Settle();
             EXPECT_LT(v.LastPaint().lines, v.VisibleLines());
         }, {}},
        {"a paint asked for between frames", [&](EditView& v) {
             v.SetSel(v.TextLength(), v.TextLength());
             Settle();
             Stream(v, NumberedLines(200, 2));
             // Strips apart, as when windows on top of it go away at once.
             const int width = v.viewport()->width();
             const int bottom = v.viewport()->height() - v.LineHeight();
             v.viewport()->repaint(QRegion(0, 0, width, 1) + QRegion(0, 4 * v.LineHeight(), width, v.LineHeight()) +
                                   QRegion(0, bottom, width, v.LineHeight()));
         }, {}},
        {"the caret blinks", [](EditView&) { QTest::qWait(700); }, {}},
        {"the text replaced by a short one", [](EditView& v) { v.SetText("short\r\nlast", 11); },
         [](EditView& v) { EXPECT_EQ(v.FirstVisibleLine(), 0u); }},
        {"a received character replaces lines selected", [&](EditView& v) {
             v.SetText("", 0);
             Stream(v, NumberedLines(0, 6));
             v.SetSel(v.Buffer().LineStart(1) + 2, v.Buffer().LineStart(3) + 2);
             Settle();
             Stream(v, "x");
         }, {}},
    };
    Settle();
    for (const Step& step : steps) {
        SCOPED_TRACE(step.name);
        step.act(view);
        Settle();
        ExpectShownAsFreshlyPainted();
        if (step.check)
            step.check(view);
    }
}
