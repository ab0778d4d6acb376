// Waiting in the message loop: with a port open and the line silent the loop sleeps instead of
// turning, yet a line change still reaches the window at once; a dialog opened from the
// loop is not woken by bytes it will never read.
#include <QEventLoop>
#include <QTimer>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <gtest/gtest.h>
#include <thread>

#include "AppHarness.h"
#include "framework/loop/MessageDispatch.h"
#include "framework/loop/MessageLoop.h"
#include "platform/tty/PtyPair.h"
#include "support/SimulatedDevice.h"
#include "framework/base/RepaintScheduler.h"
#include "framework/edit/EditView.h"
#include "support/LossyLine.h"
#include "support/RunSeed.h"

namespace {

using platform::SimulatedDevice;

double ThreadCpuSeconds() {
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) / 1e9;
}

class IdleWaitTest : public testing::Test {
protected:
    void SetUp() override {
        sim = SimulatedDevice::Register("COM7");
        ASSERT_TRUE(pty.Ok());
        harness.Start();
    }
    void Open(const std::string& name) {
        harness.Port().SetOverlapped(FALSE);
        ASSERT_TRUE(harness.Port().Open(name)) << name;
        harness.RunFor(100);
    }
    // Waits the loop went to over a second in which nothing happens.
    unsigned long WaitsOverASecond() {
        unsigned long before = MessageLoop::WaitCount();
        harness.app.RunUntil({}, 1000);
        return MessageLoop::WaitCount() - before;
    }

    PtyPair pty;
    AppHarness harness;
    std::shared_ptr<SimulatedDevice> sim;
};

// The window wakes the loop now and then by itself (the caret blinks); a silent port adds nothing.
TEST_F(IdleWaitTest, ASilentPortLeavesTheLoopAsleep) {
    harness.RunFor(100);
    const unsigned long windowAlone = WaitsOverASecond();
    EXPECT_LE(windowAlone, 8u);
    for (const std::string& port : {std::string("COM7"), pty.DevicePath(), std::string("COM255")}) {
        Open(port);
        std::size_t reads = sim->CountOf(SimulatedDevice::Op::ReadFile);
        EXPECT_LE(WaitsOverASecond(), windowAlone + 3) << port << ": the loop woke without cause";
        if (port == "COM7") {
            EXPECT_LE(sim->CountOf(SimulatedDevice::Op::ReadFile) - reads, 3u) << "the line was polled";
        }
        harness.Port().Close();
    }
}

TEST_F(IdleWaitTest, ALineChangeWakesTheSleepingLoop) {
    Open("COM7");
    using Clock = std::chrono::steady_clock;
    std::thread line([this] {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        sim->SetCts(true);
    });
    auto start = Clock::now();
    bool shown = harness.RunUntil([&] { return harness.PaneStyle(CSignalStatusBar::kCts) == 0; }, 3000);
    line.join();
    EXPECT_TRUE(shown) << "the CTS pane never went sunken";
    EXPECT_LT(Clock::now() - start, std::chrono::milliseconds(1000));
}

// The dialog is opened by a command the running loop hands out, as a menu or key opens it; while it
// is up, bytes wait on the port. Its loop must neither read them nor spin on them.
TEST_F(IdleWaitTest, ADialogOpenedFromTheLoopDoesNotSpinOnWaitingBytes) {
    Open(pty.DevicePath());
    double cpuShare = -1;
    std::string textDuringDialog;
    AppHarness::WithDialog(
        [&](CDialog& about) {
            ASSERT_TRUE(pty.Send("waiting"));
            QTimer::singleShot(50, [&, dialog = &about] {
                double cpu0 = ThreadCpuSeconds();
                auto start = std::chrono::steady_clock::now();
                QTimer::singleShot(400, [&, dialog, cpu0, start] {
                    double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
                    cpuShare = (ThreadCpuSeconds() - cpu0) / wall;
                    textDuringDialog = harness.TerminalText();
                    AppHarness::Press(*dialog, IDOK);
                });
            });
        },
        [&] {
            // Posted while the loop sleeps on the silent port, as a key press would come.
            QTimer::singleShot(100, [&] {
                ::PostMessage(harness.Frame()->GetSafeHwnd(), WM_COMMAND, ID_APP_ABOUT, 0);
            });
            harness.RunUntil([&] { return cpuShare >= 0; }, 5000);
        });
    ASSERT_GE(cpuShare, 0) << "the dialog was never measured";
    EXPECT_LT(cpuShare, 0.10) << "the dialog's loop spun on the waiting bytes";
    EXPECT_EQ(textDuringDialog, "");
    EXPECT_TRUE(harness.RunUntil([&] { return harness.TerminalText() == "waiting"; }));
}

// A loop of Qt's own (a popup's, a drag's) started from the running loop, while bytes wait on the
// port: nothing there reads them, so they must not wake it again and again either.
TEST_F(IdleWaitTest, ALoopOfQtsOwnDoesNotSpinOnWaitingBytes) {
    Open(pty.DevicePath());
    double cpuShare = -1;
    QTimer::singleShot(50, [&] {
        QEventLoop nested;
        EXPECT_TRUE(pty.Send("waiting"));
        QTimer::singleShot(50, [&] {
            const double cpu0 = ThreadCpuSeconds();
            const auto start = std::chrono::steady_clock::now();
            QTimer::singleShot(400, [&, cpu0, start] {
                const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
                cpuShare = (ThreadCpuSeconds() - cpu0) / wall;
                nested.quit();
            });
        });
        nested.exec();
    });
    harness.RunUntil([&] { return cpuShare >= 0; }, 5000);
    ASSERT_GE(cpuShare, 0) << "the nested loop was never measured";
    EXPECT_LT(cpuShare, 0.10) << "the nested loop spun on the waiting bytes";
    EXPECT_TRUE(harness.RunUntil([&] { return harness.TerminalText() == "waiting"; })) << "they were not read after it";
}

// Counts the paints a widget gets; each may be made to take a while, as on a slow display.
class PaintCount : public QObject {
public:
    explicit PaintCount(QWidget* widget, std::chrono::milliseconds cost = {}) : m_cost(cost) {
        widget->installEventFilter(this);
    }
    int paints = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            ++paints;
            std::this_thread::sleep_for(m_cost);
        }
        return false;
    }

private:
    std::chrono::milliseconds m_cost;
};

// A 115200-baud line hands its bytes over every millisecond or so, as a UART's driver does. While
// they stream in, the loop is woken at most once a streaming frame for them, not once for each, and
// the terminal is drawn at most once a streaming frame; every byte still arrives. A frame that takes
// a while to draw (a large window, a slow display) must not put the line's wake-ups and the frames'
// timer out of step either: that costs a wake-up for the bytes and another for their frame.
class StreamingLineTest : public IdleWaitTest, public testing::WithParamInterface<int> {};

TEST_P(StreamingLineTest, WakesTheLoopAndDrawsTheTerminalAtMostOnceAFrame) {
    Open(pty.DevicePath());
    PaintCount terminal(harness.Frame()->m_wndTerminal.GetView()->viewport(), std::chrono::milliseconds(GetParam()));
    const unsigned long waits0 = MessageLoop::WaitCount();
    const std::uint64_t seed = RunSeed();
    constexpr int kMs = 2000;
    LossyLine line(pty.Master(), LossyLine::Lines(kMs * 11520 / 1000, seed), 11520, seed);
    harness.app.RunUntil({}, kMs + 200);
    const unsigned long waits = MessageLoop::WaitCount() - waits0;
    constexpr int kFrames = (kMs + 200) / framework::RepaintScheduler::kStreamFrameMs;
    std::printf("%lu waits and %d paints of the terminal in %d ms\n", waits, terminal.paints, kMs + 200);
    // A few frames at the screen's rate come first, before the frames are seen to stream; frames
    // drifting against the line's wake-ups would add one wake-up a frame. The caret stays shown
    // while text comes in: a wake-up draws a frame, or it was one too many.
    EXPECT_LE(waits, kFrames + 6u) << "the loop was woken for every few bytes, or again for their frame";
    EXPECT_LE(waits, terminal.paints + 3u) << "the loop was woken without drawing a frame";
    EXPECT_GT(waits, 20u) << "the loop never slept: the figure above means nothing";
    EXPECT_LE(terminal.paints, kFrames + 8);
    harness.RunUntil([&] { return line.Done() && harness.TerminalLength() >= line.Delivered().size(); });
    EXPECT_EQ(line.Dropped(), 0u);
    EXPECT_TRUE(harness.TerminalText() == line.Offered()) << SeedNote(seed);
}

INSTANTIATE_TEST_SUITE_P(Paint, StreamingLineTest, testing::Values(0, 8),
                         [](const testing::TestParamInfo<int>& param) {
                             return param.param == 0 ? std::string("Quick") : "Taking" + std::to_string(param.param) + "Ms";
                         });

} // namespace
