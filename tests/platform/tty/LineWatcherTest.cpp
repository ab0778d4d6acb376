// The thread that waits for modem line changes: a change wakes the loop's wait descriptor and is
// reported once; a driver that refuses to report changes is noticed; closing never waits on a
// thread blocked in its wait; a change that lands between two waits is not lost.
#include <atomic>
#include <cerrno>
#include <chrono>
#include <gtest/gtest.h>
#include <poll.h>
#include <unistd.h>

#include "platform/comm/CommActivity.h"
#include "platform/base/CommWakeEvent.h"
#include "platform/tty/LineWatcher.h"

namespace {

using platform::LineWatcher;
using Clock = std::chrono::steady_clock;

// Stands in for the driver: each byte written to the pipe is a line change, 'r' a refusal. Like the
// ioctl, it blocks until then and returns EINTR when a signal interrupts it.
int FakeWait(int fd) {
    char byte = 0;
    ssize_t n = read(fd, &byte, 1);
    if (n < 0)
        return errno;
    if (n == 0)
        return EIO;
    return byte == 'r' ? ENOTTY : 0;
}

// A driver whose lines change while the watcher is between two waits. Its wait, like the ioctl, only
// notices changes made after it has looked at the lines, and it is slow to get there; reading the
// lines' state is slow as well. Changes are made by bumping g_lines and writing to g_changes.
std::atomic<int> g_lines{0};
int g_changes[2] = {-1, -1};
constexpr useconds_t kSlowUs = 150000;

int SlowToEnterWait(int) {
    if (usleep(kSlowUs) != 0)
        return errno;
    const int entered = g_lines.load();
    for (;;) {
        pollfd change{g_changes[0], POLLIN, 0};
        if (poll(&change, 1, -1) < 0)
            return errno;
        char byte = 0;
        [[maybe_unused]] ssize_t n = read(g_changes[0], &byte, 1);
        if (g_lines.load() != entered)
            return 0;
    }
}

std::uint64_t SlowLineState(int) {
    usleep(kSlowUs);
    return static_cast<std::uint64_t>(g_lines.load());
}

class LineWatcherTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(pipe(fds), 0);
        Drain();
    }
    void TearDown() override {
        close(fds[0]);
        close(fds[1]);
    }
    // Leaves the wait descriptor quiet.
    static void Drain() { platform::CommWakeEvent::Instance().Take(); }
    static bool Woken(int timeoutMs) {
        pollfd waiting{platform::CommWakeDescriptor(), POLLIN, 0};
        return poll(&waiting, 1, timeoutMs) == 1;
    }
    void Send(char byte) { ASSERT_EQ(write(fds[1], &byte, 1), 1); }

    int fds[2] = {-1, -1};
};

TEST_F(LineWatcherTest, EachChangeWakesTheLoopAndIsReportedOnce) {
    LineWatcher watcher(fds[0], &FakeWait);
    EXPECT_FALSE(Woken(50)) << "nothing changed yet";
    EXPECT_FALSE(watcher.TakeChanged());
    for (int change = 0; change < 3; ++change) {
        Send('c');
        EXPECT_TRUE(Woken(2000)) << "change " << change;
        Drain();
        EXPECT_TRUE(watcher.TakeChanged());
        EXPECT_FALSE(watcher.TakeChanged());
    }
    EXPECT_TRUE(watcher.Supported());
    EXPECT_TRUE(watcher.Watching());
}

TEST_F(LineWatcherTest, ADriverThatRefusesIsNoticedAndTheLinesReadAfresh) {
    LineWatcher watcher(fds[0], &FakeWait);
    Send('r');
    EXPECT_TRUE(Woken(2000));
    for (int tries = 0; tries < 200 && watcher.Watching(); ++tries)
        usleep(5000);
    EXPECT_FALSE(watcher.Watching());
    EXPECT_FALSE(watcher.Supported());
    EXPECT_TRUE(watcher.TakeChanged());
}

TEST_F(LineWatcherTest, StoppingDoesNotWaitForAChange) {
    auto start = Clock::now();
    {
        LineWatcher watcher(fds[0], &FakeWait);
        usleep(20000); // the thread is blocked in its wait by now
    }
    EXPECT_LT(Clock::now() - start, std::chrono::seconds(1));
    char byte = 'c';
    EXPECT_EQ(write(fds[1], &byte, 1), 1);
    pollfd unread{fds[0], POLLIN, 0};
    EXPECT_EQ(poll(&unread, 1, 0), 1) << "the stopped thread read nothing more";
}

// The first change is seen by the wait; the second lands after the loop has read the lines and
// before the watcher waits again, where no wait could notice it.
TEST_F(LineWatcherTest, AChangeBetweenTwoWaitsIsReported) {
    ASSERT_EQ(pipe(g_changes), 0);
    const auto change = [] {
        ++g_lines;
        char byte = 'c';
        ASSERT_EQ(write(g_changes[1], &byte, 1), 1);
    };
    {
        LineWatcher watcher(fds[0], &SlowToEnterWait, &SlowLineState);
        usleep(6 * kSlowUs); // the watcher is in its wait
        change();
        ASSERT_TRUE(Woken(5000));
        Drain();
        EXPECT_TRUE(watcher.TakeChanged());
        change(); // the loop has read the lines; the watcher is not waiting yet
        EXPECT_TRUE(Woken(5000)) << "the second change was lost";
        EXPECT_TRUE(watcher.TakeChanged());
    }
    close(g_changes[0]);
    close(g_changes[1]);
}

} // namespace
