// The line is read whatever the handle's user does: what arrives waits in the handle's receive
// queue, up to its cap. At the cap reading stops, so the pty refuses the sender, and it goes on as
// the program reads; nothing is lost, doubled or reordered, and closing never waits.

#include <chrono>
#include <dirent.h>
#include <fstream>
#include <gtest/gtest.h>
#include <string>
#include <thread>
#include <unistd.h>

#include "PtyPair.h"
#include "platform/comm/CommApi.h"
#include "platform/files/FileApi.h"
#include "platform/tty/PortProbeScope.h"
#include "platform/tty/ReceiveQueue.h"
#include "platform/tty/TtyReceiver.h"
#include "support/LossyLine.h"
#include "support/RunSeed.h"

namespace {

using namespace std::chrono_literals;
using platform::ReceiveQueue;

// Receiver threads running in this process.
int Receivers() {
    int count = 0;
    DIR* tasks = opendir("/proc/self/task");
    while (dirent* task = tasks ? readdir(tasks) : nullptr) {
        std::string name;
        std::getline(std::ifstream(std::string("/proc/self/task/") + task->d_name + "/comm"), name);
        count += name == platform::TtyReceiver::kThreadName;
    }
    if (tasks)
        closedir(tasks);
    return count;
}

std::string Pattern(std::size_t size) {
    std::string bytes(size, '\0');
    for (std::size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<char>((i * 131 + i / 251) & 0xFF);
    return bytes;
}

class ReceiverTest : public testing::Test {
protected:
    void TearDown() override {
        if (handle != INVALID_HANDLE_VALUE)
            CloseHandle(handle);
        ReceiveQueue::SetCapForTests(0);
    }
    void Open() {
        ASSERT_TRUE(pty.Ok());
        handle = CreateFileA(pty.DevicePath().c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(handle, INVALID_HANDLE_VALUE);
    }
    // Writes from `at` as long as the pty takes bytes; returns where it stopped once it has refused
    // everything for a while.
    std::size_t SendUntilRefused(const std::string& bytes, std::size_t at) {
        auto lastTaken = std::chrono::steady_clock::now();
        while (at < bytes.size() && std::chrono::steady_clock::now() - lastTaken < 300ms) {
            ssize_t put = write(pty.Master(), bytes.data() + at, std::min<std::size_t>(4096, bytes.size() - at));
            if (put > 0) {
                at += static_cast<std::size_t>(put);
                lastTaken = std::chrono::steady_clock::now();
            } else {
                std::this_thread::sleep_for(1ms);
            }
        }
        return at;
    }
    std::string ReadSome(std::size_t most) {
        std::string got(most, '\0');
        DWORD read = 0;
        EXPECT_TRUE(ReadFile(handle, got.data(), static_cast<DWORD>(most), &read, nullptr));
        got.resize(read);
        return got;
    }

    PtyPair pty;
    HANDLE handle = INVALID_HANDLE_VALUE;
};

class ReceiverAtTheCap : public ReceiverTest, public testing::WithParamInterface<bool> {};

TEST_P(ReceiverAtTheCap, PausesSoTheSenderIsRefusedAndGoesOnAsTheProgramReads) {
    constexpr std::size_t kCap = 48 * 1024;
    // What a pty holds for a reader that takes nothing: the line discipline's buffer and the flip
    // buffers behind it.
    constexpr std::size_t kKernelHolds = 128 * 1024;
    ReceiveQueue::SetCapForTests(kCap);
    Open();
    if (GetParam()) {
        DCB dcb{};
        ASSERT_TRUE(GetCommState(handle, &dcb));
        dcb.fOutxCtsFlow = 1;
        dcb.fRtsControl = RTS_CONTROL_HANDSHAKE;
        ASSERT_TRUE(SetCommState(handle, &dcb));
    }
    const std::string feed = Pattern(1 << 20);
    std::size_t sent = SendUntilRefused(feed, 0);
    EXPECT_GE(sent, kCap) << "the receiver took less than its cap";
    EXPECT_LE(sent, kCap + kKernelHolds) << "the receiver read past its cap";

    std::string got;
    for (int idle = 0; got.size() < feed.size() && idle < 2000;) {
        std::string some = ReadSome(8192);
        idle = some.empty() ? idle + 1 : 0;
        got += some;
        if (some.empty())
            std::this_thread::sleep_for(1ms);
        if (sent < feed.size()) {
            ssize_t put = write(pty.Master(), feed.data() + sent, std::min<std::size_t>(4096, feed.size() - sent));
            sent += put > 0 ? static_cast<std::size_t>(put) : 0;
        }
    }
    ASSERT_EQ(got.size(), feed.size());
    EXPECT_TRUE(got == feed) << "bytes were lost, doubled or reordered";
}

INSTANTIATE_TEST_SUITE_P(Flow, ReceiverAtTheCap, testing::Values(false, true),
                         [](const testing::TestParamInfo<bool>& p) { return p.param ? "RtsCts" : "None"; });

// A trickling line is read once a frame, its bytes left meanwhile to the kernel, which must not
// overflow when the line bursts into the fastest pace a UART keeps up (3 Mbaud) at any moment. The
// line keeps nothing the pty refuses: the pty's own room is the whole margin here.
TEST_F(ReceiverTest, ALineThatTricklesThenBurstsLosesNothing) {
    Open();
    const std::uint64_t seed = RunSeed();
    const std::string trickle = LossyLine::Lines(11520, seed);
    const std::string burst = LossyLine::Lines(300000, seed + 1);
    std::string got;
    auto readWhile = [&](const LossyLine& line) {
        while (!line.Done())
            got += ReadSome(65536);
    };
    std::size_t dropped = 0;
    for (const std::string* part : {&trickle, &burst}) {
        LossyLine line(pty.Master(), *part, part == &trickle ? 11520 : LossyLine::Pace(3000000), seed, 0);
        readWhile(line);
        dropped += line.Dropped();
    }
    for (int idle = 0; got.size() < trickle.size() + burst.size() && idle < 200; ++idle) {
        std::this_thread::sleep_for(2ms);
        got += ReadSome(65536);
    }
    EXPECT_EQ(dropped, 0u) << SeedNote(seed);
    EXPECT_TRUE(got == trickle + burst) << SeedNote(seed);
}

// Closing stops the receiver first, also one that waits for room at its cap, and never waits for
// the bytes nobody read.
TEST_F(ReceiverTest, ClosingWithBytesUnreadReturnsAtOnce) {
    for (std::size_t cap : {std::size_t{0}, std::size_t{16 * 1024}}) {
        ReceiveQueue::SetCapForTests(cap);
        Open();
        SendUntilRefused(Pattern(cap == 0 ? 3000 : 256 * 1024), 0);
        ASSERT_EQ(Receivers(), 1);
        const auto start = std::chrono::steady_clock::now();
        ASSERT_TRUE(CloseHandle(handle));
        handle = INVALID_HANDLE_VALUE;
        EXPECT_LT(std::chrono::steady_clock::now() - start, 100ms) << "cap " << cap;
        EXPECT_EQ(Receivers(), 0);
    }
}

// The port dialog opens every port only to close it again: no thread for those, and a port a probe
// opened that is read after all starts reading then.
TEST_F(ReceiverTest, AProbeStartsNoReceiverUntilThePortIsRead) {
    {
        platform::PortProbeScope probe;
        Open();
        EXPECT_EQ(Receivers(), 0);
        ASSERT_TRUE(pty.Send("late"));
        std::string got;
        for (int i = 0; i < 200 && got.size() < 4; ++i, std::this_thread::sleep_for(2ms))
            got += ReadSome(4);
        EXPECT_EQ(got, "late");
        EXPECT_EQ(Receivers(), 1);
    }
    CloseHandle(handle);
    handle = INVALID_HANDLE_VALUE;
    Open();
    EXPECT_EQ(Receivers(), 1) << "a port opened for use is read at once";
}

TEST(ReceiveQueueTest, WakesTheReaderOnceEachTimeItRanDryAndEndsAfterItsLastByte) {
    ReceiveQueue queue;
    const std::string big = Pattern(ReceiveQueue::kBlockSize + 1000);
    auto append = [&](const std::string& bytes) {
        return queue.Append(reinterpret_cast<const BYTE*>(bytes.data()), bytes.size());
    };
    EXPECT_TRUE(append("a")) << "a reader that has taken nothing yet is dry";
    EXPECT_FALSE(append(big)) << "woken already";
    ReceiveQueue::Block block;
    std::string taken;
    while (queue.Take(block))
        taken.append(reinterpret_cast<const char*>(block.bytes.get()), block.size);
    EXPECT_TRUE(taken == "a" + big);
    EXPECT_TRUE(append("b")) << "the reader ran dry";
    int errnum = -1;
    EXPECT_FALSE(queue.End(EIO)) << "the reader has not run dry since it was woken";
    EXPECT_FALSE(queue.Ended(errnum)) << "a byte is still waiting";
    ASSERT_TRUE(queue.Take(block));
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(block.bytes.get()), block.size), "b");
    EXPECT_FALSE(queue.Take(block));
    ASSERT_TRUE(queue.Ended(errnum));
    EXPECT_EQ(errnum, EIO);
    EXPECT_EQ(queue.Received(), 2 + big.size());
}

} // namespace
