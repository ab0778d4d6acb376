// The scroll bars as a user drives them: dragged, their arrows and troughs clicked, the wheel turned.
// They move the text and what a click hits, a later paint leaves them where they were put, and text
// arriving afterwards brings the caret back into view.
#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QTest>
#include <QWheelEvent>
#include <cmath>
#include <functional>
#include <string>

#include "framework/edit/EditView.h"
#include "framework/base/RepaintScheduler.h"
#include "support/CaretInView.h"
#include "support/EditViewFixture.h"

using framework::EditView;

namespace {

// Where a part of a scroll bar (arrow, trough, thumb) is, as its style draws it.
QRect PartOf(QScrollBar* bar, QStyle::SubControl part) {
    QStyleOptionSlider option;
    option.initFrom(bar);
    option.subControls = QStyle::SC_All;
    option.orientation = bar->orientation();
    if (bar->orientation() == Qt::Horizontal)
        option.state |= QStyle::State_Horizontal;
    option.minimum = bar->minimum();
    option.maximum = bar->maximum();
    option.sliderPosition = bar->sliderPosition();
    option.sliderValue = bar->value();
    option.singleStep = bar->singleStep();
    option.pageStep = bar->pageStep();
    option.upsideDown = bar->invertedAppearance();
    return bar->style()->subControlRect(QStyle::CC_ScrollBar, &option, part, bar);
}

void Click(QScrollBar* bar, QStyle::SubControl part) {
    QTest::mouseClick(bar, Qt::LeftButton, Qt::NoModifier, PartOf(bar, part).center());
}

// Drags the thumb by (dx, dy) pixels, in steps, as a hand does.
void Drag(QScrollBar* bar, QPoint by) {
    const QPoint from = PartOf(bar, QStyle::SC_ScrollBarSlider).center();
    QTest::mousePress(bar, Qt::LeftButton, Qt::NoModifier, from);
    for (int step = 1; step <= 4; ++step) {
        QMouseEvent move(QEvent::MouseMove, from + by * step / 4, bar->mapToGlobal(from + by * step / 4),
                         Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(bar, &move);
    }
    QTest::mouseRelease(bar, Qt::LeftButton, Qt::NoModifier, from + by);
}

void Wheel(QWidget* target, QPoint angle) {
    const QPointF at(10, 10);
    QWheelEvent event(at, target->mapToGlobal(at), QPoint(), angle, Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(target, &event);
}

class EditViewScrollTest : public EditViewFixture {
protected:
    bool Inked(const QImage& image, std::size_t column, std::size_t row) const {
        const QRgb base = view.palette().color(QPalette::Base).rgb();
        const int top = static_cast<int>(row) * view.LineHeight();
        // The pixels wholly inside the cell: a neighbour's glyph may tint the edges.
        const int left = static_cast<int>(std::ceil(static_cast<double>(column) * view.CellWidth()));
        const int right = static_cast<int>(std::floor(static_cast<double>(column + 1) * view.CellWidth()));
        for (int y = top; y < top + view.LineHeight(); ++y) {
            for (int x = left; x < right; ++x) {
                if (image.pixel(x, y) != base)
                    return true;
            }
        }
        return false;
    }
    void ExpectBarsAreTheView() const {
        EXPECT_EQ(view.FirstVisibleLine(), static_cast<std::size_t>(view.verticalScrollBar()->value()));
        EXPECT_EQ(view.HorizontalOffset(), static_cast<std::size_t>(view.horizontalScrollBar()->value()));
    }
};

struct UserScroll {
    const char* name;
    std::function<void(EditView&)> act;
};

// A line with a 'Z' on every tenth column, so that what is drawn tells the column at the left edge.
std::string Ruler(std::size_t length) {
    std::string line(length, ' ');
    for (std::size_t column = 0; column < length; column += 10)
        line[column] = 'Z';
    return line;
}

} // namespace

TEST_F(EditViewScrollTest, TheHorizontalBarMovesTheTextAndWhatAClickHits) {
    const std::vector<UserScroll> scrolls{
        {"thumb dragged", [](EditView& v) { Drag(v.horizontalScrollBar(), QPoint(60, 0)); }},
        {"right arrow clicked",
         [](EditView& v) { Click(v.horizontalScrollBar(), QStyle::SC_ScrollBarAddLine); }},
        {"trough clicked", [](EditView& v) { Click(v.horizontalScrollBar(), QStyle::SC_ScrollBarAddPage); }},
        {"wheel turned sideways", [](EditView& v) { Wheel(v.viewport(), QPoint(-120, 0)); }},
    };
    const std::string text = Ruler(1000) + "\r\nsecond line";
    for (const UserScroll& scroll : scrolls) {
        SCOPED_TRACE(scroll.name);
        view.SetText(text.data(), text.size());
        Render(); // measures the line, which gives the bar its range
        scheduler.Flush();
        ASSERT_EQ(view.HorizontalOffset(), 0u);

        scroll.act(view);
        const std::size_t offset = view.HorizontalOffset();
        EXPECT_GT(offset, 0u);
        ExpectBarsAreTheView();
        const QImage image = Render();
        scheduler.Flush();
        for (std::size_t cell = 0; cell < 10; ++cell)
            EXPECT_EQ(Inked(image, cell, 0), (offset + cell) % 10 == 0) << "cell " << cell;
        EXPECT_EQ(view.HorizontalOffset(), offset) << "a paint leaves the thumb where it was put";

        QTest::mouseClick(view.viewport(), Qt::LeftButton, Qt::NoModifier,
                          QPoint(static_cast<int>(3 * view.CellWidth()), view.LineHeight() / 2));
        EXPECT_EQ(view.CaretColumn(), offset + 3);
        EXPECT_EQ(view.HorizontalOffset(), offset);

        // Text arrives at the caret moved off to the left: the view goes back to it.
        view.SetSel(0, 0);
        scroll.act(view);
        ASSERT_GT(view.HorizontalOffset(), 0u);
        view.DefaultChar('x');
        ExpectCaretInView(view);
    }
}

TEST_F(EditViewScrollTest, AfterScrollingUpByHandReceivedTextBringsTheCaretBack) {
    const std::vector<UserScroll> scrolls{
        {"thumb dragged up", [](EditView& v) { Drag(v.verticalScrollBar(), QPoint(0, -40)); }},
        {"up arrow clicked", [](EditView& v) { Click(v.verticalScrollBar(), QStyle::SC_ScrollBarSubLine); }},
        {"trough clicked", [](EditView& v) { Click(v.verticalScrollBar(), QStyle::SC_ScrollBarSubPage); }},
        {"wheel turned up", [](EditView& v) { Wheel(v.viewport(), QPoint(0, 120)); }},
        {"PageUp", [](EditView& v) { QTest::keyClick(&v, Qt::Key_PageUp); }},
    };
    std::string text;
    for (int line = 0; line < 100; ++line)
        text += "line " + std::to_string(line) + "\r\n";
    for (const UserScroll& scroll : scrolls) {
        SCOPED_TRACE(scroll.name);
        view.SetText(text.data(), text.size());
        view.SetSel(text.size(), text.size());
        const std::size_t bottom = view.FirstVisibleLine();
        ASSERT_GT(bottom, 0u);

        scroll.act(view);
        EXPECT_LT(view.FirstVisibleLine(), bottom);
        ExpectBarsAreTheView();
        for (const char c : std::string("ab\rc")) {
            view.DefaultChar(static_cast<unsigned char>(c));
            ExpectCaretInView(view);
        }
        Render();
        scheduler.Flush();
        ExpectCaretInView(view);
    }
}

// A paint that finds a line wider than any known grows the horizontal range, and must keep the
// place the user scrolled to.
TEST_F(EditViewScrollTest, APaintThatWidensTheRangeKeepsTheUsersPlace) {
    std::string text = Ruler(500) + "\r\n";
    for (int line = 0; line < 30; ++line)
        text += "\r\n";
    text += Ruler(2000);
    view.SetText(text.data(), text.size());
    Render();
    scheduler.Flush();
    Drag(view.horizontalScrollBar(), QPoint(40, 0));
    const std::size_t offset = view.HorizontalOffset();
    ASSERT_GT(offset, 0u);

    Drag(view.verticalScrollBar(), QPoint(0, 200)); // down to the wide line
    ASSERT_GT(view.FirstVisibleLine(), 0u);
    const int maximum = view.horizontalScrollBar()->maximum();
    Render();
    scheduler.Flush();
    EXPECT_GT(view.horizontalScrollBar()->maximum(), maximum) << "the wide line was measured";
    EXPECT_EQ(view.HorizontalOffset(), offset);
    ExpectBarsAreTheView();
}
