#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QTest>
#include <QWidget>
#include <memory>
#include <vector>

#include "framework/base/RepaintScheduler.h"

using framework::RepaintScheduler;

namespace {

// Records when its frames come.
class FrameCounter : public QWidget {
public:
    bool event(QEvent* e) override {
        if (e->type() != RepaintScheduler::FrameEventType())
            return QWidget::event(e);
        frames.push_back(clock.elapsed());
        e->accept();
        return true;
    }
    QElapsedTimer clock;
    std::vector<qint64> frames;
};

// Runs the event loop until done() holds or two seconds have passed.
template <class Done>
bool WaitUntil(Done done) {
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < 2000)
        QTest::qWait(1);
    return done();
}

void WaitForFrame(RepaintScheduler& scheduler) {
    EXPECT_TRUE(WaitUntil([&] { return !scheduler.IsPending(); }));
}

} // namespace

TEST(RepaintSchedulerFrames, ManyChangesGiveOneDrawPerWidget) {
    RepaintScheduler scheduler;
    FrameCounter a;
    FrameCounter b;
    EXPECT_FALSE(scheduler.IsPending()) << "no timer while nothing is dirty";
    for (int i = 0; i < 1000; ++i) {
        scheduler.MarkDirty(&a);
        scheduler.MarkDirty(&b);
    }
    EXPECT_TRUE(scheduler.IsPending());
    EXPECT_TRUE(scheduler.IsDirty(&a));
    EXPECT_TRUE(a.frames.empty()) << "drawing waits for the frame";
    WaitForFrame(scheduler);
    EXPECT_EQ(a.frames.size(), 1u);
    EXPECT_EQ(b.frames.size(), 1u);
    EXPECT_FALSE(scheduler.IsDirty(&a));
    QTest::qWait(3 * RepaintScheduler::kFrameMs);
    EXPECT_EQ(a.frames.size(), 1u) << "nothing more without new changes";
    EXPECT_FALSE(scheduler.IsPending());
}

TEST(RepaintSchedulerFrames, AtMostOneDrawPerFrame) {
    RepaintScheduler scheduler;
    FrameCounter widget;
    widget.clock.start();
    QElapsedTimer running;
    running.start();
    // Change continuously for a while, as a receiving terminal does.
    while (running.elapsed() < 200) {
        scheduler.MarkDirty(&widget);
        QCoreApplication::processEvents();
    }
    WaitForFrame(scheduler);
    ASSERT_GE(widget.frames.size(), 3u);
    EXPECT_LE(widget.frames.size(), 200u / 12 + 2);
    for (std::size_t i = 1; i < widget.frames.size(); ++i)
        EXPECT_GE(widget.frames[i] - widget.frames[i - 1], 12) << "frame " << i;
    EXPECT_EQ(RepaintScheduler::Instance().FrameMs(), RepaintScheduler::kFrameMs) << "the shared one too";
}

// Flush draws at once; a widget deleted while dirty is skipped, not drawn.
TEST(RepaintSchedulerFrames, FlushDrawsAtOnceSkippingDeletedWidgets) {
    RepaintScheduler scheduler;
    auto gone = std::make_unique<FrameCounter>();
    FrameCounter kept;
    scheduler.MarkDirty(gone.get());
    scheduler.MarkDirty(&kept);
    gone.reset();
    scheduler.Flush();
    EXPECT_EQ(kept.frames.size(), 1u);
    EXPECT_FALSE(scheduler.IsPending());
}
