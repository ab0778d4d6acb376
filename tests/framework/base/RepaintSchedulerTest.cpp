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

// Changes that keep coming (a terminal receiving) are drawn at the screen's pace at first, then at
// the streaming pace; a change marked prompt (a line's indicator) is still drawn within a frame.
TEST(RepaintSchedulerFrames, StreamingChangesAreDrawnAtTheStreamPacePromptOnesWithinAFrame) {
    RepaintScheduler scheduler;
    FrameCounter text;
    FrameCounter indicator;
    text.clock.start();
    indicator.clock = text.clock;
    qint64 promptedAt = -1;
    while (text.clock.elapsed() < 400) {
        scheduler.MarkDirty(&text);
        if (promptedAt < 0 && text.frames.size() >= 6 && text.clock.elapsed() - text.frames.back() < 4) {
            promptedAt = text.clock.elapsed();
            scheduler.MarkDirty(&indicator, true);
        }
        QCoreApplication::processEvents();
    }
    WaitForFrame(scheduler);
    const std::size_t streaming = RepaintScheduler::kFramesBeforeStreaming + 1;
    ASSERT_GE(text.frames.size(), streaming + 3);
    EXPECT_LE(text.frames.size(), 400u / RepaintScheduler::kStreamFrameMs + streaming + 2);
    ASSERT_EQ(indicator.frames.size(), 1u);
    EXPECT_LE(indicator.frames[0] - promptedAt, RepaintScheduler::kFrameMs + 6) << "the prompt change waited";
    for (std::size_t i = 1; i < text.frames.size(); ++i) {
        const qint64 gap = text.frames[i] - text.frames[i - 1];
        EXPECT_GE(gap, RepaintScheduler::kFrameMs - 4) << "frame " << i;
        if (i > streaming && text.frames[i] != indicator.frames[0]) {
            EXPECT_GE(gap, RepaintScheduler::kStreamFrameMs - 4) << "frame " << i;
        }
    }
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

// A loop woken by a line draws what is pending at once, but not twice in a moment.
// Once such frames stream, the timer's own frame waits a little past the streaming pace: the next
// wake-up, which would bring it, gets the first chance, and the loop is not woken just before it.
TEST(RepaintSchedulerFrames, FramesDrawnOnWakeKeepThatPaceAndTheTimerGivesWayToIt) {
    RepaintScheduler scheduler;
    FrameCounter text;
    text.clock.start();
    EXPECT_FALSE(scheduler.DrawOnWake(4)) << "nothing was pending";
    scheduler.MarkDirty(&text);
    ASSERT_TRUE(scheduler.DrawOnWake(4));
    ASSERT_EQ(text.frames.size(), 1u);
    scheduler.MarkDirty(&text);
    EXPECT_FALSE(scheduler.DrawOnWake(4)) << "a frame drawn a moment ago is drawn again";
    EXPECT_TRUE(scheduler.IsPending());
    WaitForFrame(scheduler);
    for (int wake = 0; wake < 5; ++wake) {
        QTest::qWait(12);
        scheduler.MarkDirty(&text);
        EXPECT_TRUE(scheduler.DrawOnWake(4)) << "wake-up " << wake;
    }
    ASSERT_EQ(text.frames.size(), 7u) << "the timer drew between the wake-ups";
    scheduler.MarkDirty(&text);
    WaitForFrame(scheduler);
    ASSERT_EQ(text.frames.size(), 8u);
    const qint64 gap = text.frames[7] - text.frames[6];
    EXPECT_GE(gap, RepaintScheduler::kStreamFrameMs + RepaintScheduler::kFrameMs / 4 - 1);
    EXPECT_LE(gap, RepaintScheduler::kStreamFrameMs + RepaintScheduler::kFrameMs / 4 + 20);
}
