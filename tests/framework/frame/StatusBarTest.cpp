// The status bar: panes from indicator strings at fixed widths, changes drawn at the next frame,
// hit-testing, and the raised and sunken looks.
#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QPaintEvent>
#include <QScreen>
#include <QTest>
#include <algorithm>
#include <map>
#include <vector>

#include "framework/frame/CFrameWnd.h"
#include "framework/frame/CStatusBar.h"
#include "framework/loop/MessageDispatch.h"
#include "framework/base/RepaintScheduler.h"
#include "framework/base/ResourceTable.h"
#include "framework/frame/StatusBarWidget.h"
#include "framework/base/TextContrast.h"
#include "support/ToolTipProbe.h"

using framework::ContrastRatio;
using framework::RepaintScheduler;
using framework::StatusBarWidget;

namespace {

constexpr UINT kBlank = 501;
constexpr UINT kShort = 502;
constexpr UINT kWide = 503;
constexpr UINT kSame1 = 504;
constexpr UINT kSame2 = 505;
constexpr UINT kIds[] = {kBlank, kShort, kWide, kSame1, kSame2};
constexpr int kPaneCount = 5;

// How often a widget was painted, and where.
struct PaintWatch : QObject {
    int paints = 0;
    QRegion painted;
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::Paint) {
            ++paints;
            painted += static_cast<QPaintEvent*>(e)->region();
        }
        return false;
    }
};

class StatusBarTest : public ::testing::Test {
protected:
    void SetUp() override {
        afx::RegisterString(kBlank, " ");
        afx::RegisterString(kShort, "CTS");
        afx::RegisterString(kWide, "Out: 0000000000");
        afx::RegisterString(kSame1, "AB");
        afx::RegisterString(kSame2, "AB");
        frame = new CFrameWnd;
        ASSERT_TRUE(frame->Create(nullptr, "bar host", WS_OVERLAPPEDWINDOW, CRect(0, 0, 600, 200)));
        ASSERT_TRUE(bar.Create(frame));
        ASSERT_TRUE(bar.SetIndicators(kIds, kPaneCount));
        frame->RecalcLayout();
    }
    void TearDown() override {
        frame->DestroyWindow();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    StatusBarWidget* Widget() const { return static_cast<StatusBarWidget*>(bar.GetWidget()); }
    CRect Item(int index) const {
        CRect r;
        bar.GetItemRect(index, &r);
        return r;
    }
    QImage Grab() const { return Widget()->grab().toImage(); }
    // Shows the bar, lets its first paints pass, and from then on notes its paints in `watch`.
    void ShowAndWatch(PaintWatch& watch) {
        frame->ShowWindow(SW_SHOW);
        QTest::qWait(50);
        RepaintScheduler::Instance().Flush();
        QTest::qWait(20);
        Widget()->installEventFilter(&watch);
    }
    static QImage Part(const QImage& image, const CRect& r) {
        return image.copy(QRect(r.left, r.top, r.Width(), r.Height()));
    }

    CFrameWnd* frame = nullptr;
    CStatusBar bar;
};

// A longer text is clipped and never widens its pane; raised and sunken panes look plainly different.
TEST_F(StatusBarTest, TextIsClippedToItsPaneAndRaisedAndSunkenPanesLookPlainlyDifferent) {
    bar.SetPaneStyle(3, SBPS_POPOUT);
    bar.SetPaneStyle(4, SBPS_POPOUT);
    RepaintScheduler::Instance().Flush();
    QImage before = Grab();
    ASSERT_EQ(Part(before, Item(3)), Part(before, Item(4))) << "same text, same style, same look";
    CRect wide = Item(2);
    const char* longText = "Port: a name far longer than the pane it has to live in";
    ASSERT_TRUE(bar.SetPaneText(2, longText));
    EXPECT_EQ(bar.GetPaneText(2), CString(longText)) << "the text is kept whole";
    EXPECT_EQ(Item(2), wide);
    EXPECT_EQ(Item(3).left, wide.right);
    QImage after = Grab();
    EXPECT_NE(Part(after, wide), Part(before, wide));
    EXPECT_EQ(Part(after, Item(3)), Part(before, Item(3))) << "nothing is drawn over the next pane";

    bar.SetPaneStyle(4, SBPS_NORMAL);
    QImage mixed = Grab();
    QImage up = Part(mixed, Item(3));
    QImage down = Part(mixed, Item(4));
    int differing = 0;
    for (int y = 0; y < up.height(); ++y)
        for (int x = 0; x < up.width(); ++x)
            differing += up.pixel(x, y) != down.pixel(x, y);
    EXPECT_GT(differing, up.width() * up.height() / 3) << "the difference shows at a glance, not in a pixel";
}

// A change marks the bar for the next frame at once, and many changes are drawn at frame rate, not
// each; a text set without asking for an update marks nothing.
TEST_F(StatusBarTest, ChangesWaitForTheFrameAndAreDrawnAtFrameRate) {
    PaintWatch counter;
    RepaintScheduler& scheduler = RepaintScheduler::Instance();
    ShowAndWatch(counter);
    bar.SetPaneStyle(1, SBPS_POPOUT);
    EXPECT_EQ(bar.GetPaneStyle(1), SBPS_POPOUT) << "state changes at once";
    EXPECT_TRUE(scheduler.IsDirty(Widget()));
    for (int n = 0; n < 1000; ++n)
        bar.SetPaneText(2, n % 2 == 0 ? "Out: 1" : "Out: 2");
    EXPECT_TRUE(scheduler.IsDirty(Widget()));
    QTest::qWait(60);
    EXPECT_GE(counter.paints, 1);
    EXPECT_LE(counter.paints, 5);
    Widget()->removeEventFilter(&counter);

    scheduler.Flush();
    bar.SetPaneText(1, "DTR", FALSE);
    EXPECT_EQ(bar.GetPaneText(1), CString("DTR"));
    EXPECT_FALSE(scheduler.IsDirty(Widget())) << "no update asked for";
}

// A frame draws only the panes that changed, and leaves the bar on the screen as a whole paint shows it.
TEST_F(StatusBarTest, AFrameDrawsOnlyThePanesThatChanged) {
    PaintWatch regions;
    RepaintScheduler& scheduler = RepaintScheduler::Instance();
    ShowAndWatch(regions);
    const auto frameDrawn = [&] {
        regions.painted = QRegion();
        scheduler.Flush();
        QTest::qWait(20);
        return regions.painted;
    };
    const auto shown = [&] {
        const QPoint at = Widget()->mapTo(Widget()->window(), QPoint(0, 0));
        return Widget()->screen()
            ->grabWindow(Widget()->window()->winId(), at.x(), at.y(), Widget()->width(), Widget()->height())
            .toImage()
            .convertToFormat(QImage::Format_RGB32);
    };

    bar.SetPaneText(2, "Out: 12345");
    bar.SetPaneStyle(4, SBPS_POPOUT);
    EXPECT_EQ(frameDrawn(), QRegion(Widget()->ItemRect(2)) + Widget()->ItemRect(4));
    EXPECT_EQ(shown(), Grab().convertToFormat(QImage::Format_RGB32));

    ASSERT_TRUE(bar.SetIndicators(kIds, 3));
    EXPECT_EQ(frameDrawn(), QRegion(Widget()->rect())) << "new panes: the whole bar";
    EXPECT_EQ(shown(), Grab().convertToFormat(QImage::Format_RGB32));
    Widget()->removeEventFilter(&regions);
}

// The colour that most of a pane's inside shows (its fill), and the drawn colour that contrasts
// most with it (the text, where a glyph's stem covers whole pixels).
std::pair<QColor, QColor> FillAndText(const QImage& pane) {
    std::map<QRgb, int> counts;
    for (int y = 0; y < pane.height(); ++y)
        for (int x = 0; x < pane.width(); ++x)
            ++counts[pane.pixel(x, y)];
    const QColor fill(std::max_element(counts.begin(), counts.end(), [](const auto& a, const auto& b) {
                          return a.second < b.second;
                      })->first);
    QColor text = fill;
    for (const auto& [rgb, count] : counts)
        if (ContrastRatio(QColor(rgb), fill) > ContrastRatio(text, fill))
            text = QColor(rgb);
    return {fill, text};
}

// Lit and unlit panes can be read in a light and in a dark desktop palette alike: measured from the
// drawn pixels, each pane's text has at least 4.5:1 contrast (WCAG AA) with the pane behind it.
TEST_F(StatusBarTest, LitAndUnlitPanesReadInLightAndDarkPalettes) {
    ASSERT_NEAR(ContrastRatio(Qt::black, Qt::white), 21.0, 1e-6) << "the yardstick itself";
    ASSERT_NEAR(ContrastRatio(QColor(0x76, 0x76, 0x76), Qt::white), 4.54, 0.01);
    const struct {
        const char* name;
        QColor window, text;
    } palettes[] = {{"light", QColor(0xef, 0xef, 0xef), Qt::black}, {"dark", QColor(0x35, 0x35, 0x35), Qt::white}};
    bar.SetPaneText(3, "DTR");
    bar.SetPaneText(4, "DTR");
    bar.SetPaneStyle(3, SBPS_NORMAL);
    bar.SetPaneStyle(4, SBPS_POPOUT);
    for (const auto& p : palettes) {
        QPalette palette(p.window);
        palette.setColor(QPalette::Window, p.window);
        palette.setColor(QPalette::WindowText, p.text);
        Widget()->setPalette(palette);
        const QImage shot = Grab();
        for (const int pane : {3, 4}) {
            SCOPED_TRACE(std::string(p.name) + (pane == 3 ? ", lit" : ", unlit"));
            // Inside the bevel, which has colours of its own.
            const int inset = StatusBarWidget::kPaneGap + StatusBarWidget::kBevel + 1;
            const CRect inside = Item(pane);
            const auto [fill, text] = FillAndText(Part(
                shot, CRect(inside.left + inset, inside.top + inset, inside.right - inset, inside.bottom - inset)));
            EXPECT_GE(ContrastRatio(text, fill), framework::kReadableContrast)
                << "text " << text.name().toStdString() << " on " << fill.name().toStdString();
        }
    }
}

} // namespace
