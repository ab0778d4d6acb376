// The loop's look for activity reads a tty's bytes ahead into the process; what it takes must reach
// the program's reads and the driver counters exactly as a read would have taken it.

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>

#include "PtyPair.h"
#include "platform/comm/CommApi.h"
#include "platform/comm/CommWait.h"
#include "platform/files/FileApi.h"

namespace {

class PtyReadAheadTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(pty.Ok());
        handle = CreateFileA(pty.DevicePath().c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(handle, INVALID_HANDLE_VALUE);
    }
    void TearDown() override { CloseHandle(handle); }

    // As the loop asks before its idle step, until it reports something (the pty moves bytes a
    // moment after they are written).
    bool ActivityWithin(int ms) {
        auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
        while (!platform::CommActivityWaiting()) {
            if (std::chrono::steady_clock::now() > deadline)
                return false;
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        return true;
    }
    // One byte per call, as the program reads.
    std::string ReadBytes(std::size_t count) {
        std::string got;
        for (std::size_t i = 0; i < count; ++i) {
            char byte = 0;
            DWORD read = 0;
            if (!ReadFile(handle, &byte, 1, &read, nullptr) || read != 1)
                break;
            got += byte;
        }
        return got;
    }
    SERIALPERF_STATS Stats() {
        SERIALPERF_STATS stats{};
        DWORD returned = 0;
        EXPECT_TRUE(DeviceIoControl(handle, IOCTL_SERIAL_GET_STATS, nullptr, 0, &stats, sizeof stats, &returned,
                                    nullptr));
        return stats;
    }

    PtyPair pty;
    HANDLE handle = INVALID_HANDLE_VALUE;
};

// The counters are asked after every byte and served from one reading; each read-ahead and each
// write must still show in the next answer.
TEST_F(PtyReadAheadTest, BytesReadAheadReachReadsAndCountersInOrder) {
    ASSERT_TRUE(pty.Send("abc"));
    ASSERT_TRUE(ActivityWithin(2000));
    EXPECT_EQ(Stats().ReceivedCount, 3u) << "bytes read ahead are counted as received";
    EXPECT_EQ(ReadBytes(2), "ab");
    EXPECT_EQ(Stats().ReceivedCount, 3u);
    EXPECT_EQ(ReadBytes(1), "c");

    ASSERT_TRUE(pty.Send(std::string("d\0\xff\r\ng", 6)));
    ASSERT_TRUE(ActivityWithin(2000));
    EXPECT_EQ(Stats().ReceivedCount, 9u);
    EXPECT_EQ(ReadBytes(6), std::string("d\0\xff\r\ng", 6));

    DWORD written = 0;
    ASSERT_TRUE(WriteFile(handle, "xy", 2, &written, nullptr));
    const SERIALPERF_STATS after = Stats();
    EXPECT_EQ(after.TransmittedCount, 2u);
    EXPECT_EQ(after.ReceivedCount, 9u);
    EXPECT_EQ(pty.Receive(2), "xy");
}

} // namespace
