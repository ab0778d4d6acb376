// A real tty through the communications functions, on a pseudo-terminal pair opened by its path.

#include <gtest/gtest.h>
#include <chrono>
#include <thread>

#include "PtyPair.h"
#include "ReadPort.h"
#include "platform/comm/CommApi.h"
#include "platform/files/FileApi.h"

namespace {

class PtyDeviceTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(pty.Ok());
        handle = OpenPort();
        ASSERT_NE(handle, INVALID_HANDLE_VALUE);
    }
    void TearDown() override {
        if (handle != INVALID_HANDLE_VALUE)
            CloseHandle(handle);
    }

    HANDLE OpenPort() {
        return CreateFileA(pty.DevicePath().c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    }
    void ClosePort() {
        ASSERT_TRUE(CloseHandle(handle));
        handle = INVALID_HANDLE_VALUE;
    }

    DCB State() {
        DCB dcb{};
        EXPECT_TRUE(GetCommState(handle, &dcb));
        return dcb;
    }
    testing::AssertionResult Apply(DCB dcb) {
        if (SetCommState(handle, &dcb))
            return testing::AssertionSuccess();
        return testing::AssertionFailure() << GetLastError() << " " << GetLastErrorText();
    }
    DWORD DtrRts() {
        DWORD lines = 0;
        DWORD returned = 0;
        EXPECT_TRUE(DeviceIoControl(handle, IOCTL_SERIAL_GET_DTRRTS, nullptr, 0, &lines, sizeof lines,
                                    &returned, nullptr));
        EXPECT_EQ(returned, sizeof lines);
        return lines;
    }

    PtyPair pty;
    HANDLE handle = INVALID_HANDLE_VALUE;
};

// With CRTSCTS the kernel drives RTS: handshaking raises it even after it was dropped by hand, and
// escapes on it fail and change nothing, as the platform's drivers refuse them.
TEST_F(PtyDeviceTest, HandshakingRaisesRtsAndRefusesEscapesOnIt) {
    DCB dcb = State();
    dcb.fRtsControl = RTS_CONTROL_DISABLE;
    ASSERT_TRUE(Apply(dcb));
    ASSERT_EQ(DtrRts() & SERIAL_RTS_STATE, 0u);
    dcb.fOutxCtsFlow = 1;
    dcb.fRtsControl = RTS_CONTROL_HANDSHAKE;
    ASSERT_TRUE(Apply(dcb));
    EXPECT_NE(DtrRts() & SERIAL_RTS_STATE, 0u);
    for (DWORD function : {CLRRTS, SETRTS}) {
        SetLastError(0);
        EXPECT_FALSE(EscapeCommFunction(handle, function));
        EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    }
    EXPECT_NE(DtrRts() & SERIAL_RTS_STATE, 0u);
    EXPECT_TRUE(EscapeCommFunction(handle, CLRDTR));
    EXPECT_EQ(DtrRts() & SERIAL_DTR_STATE, 0u);
}

// Handshakes the kernel cannot do are refused rather than taken and ignored (random blocks check
// what else is refused, and that a refusal changes nothing).
TEST_F(PtyDeviceTest, HandshakesTheKernelCannotDoAreRefused) {
    const DCB before = State();
    for (auto spoil :
         {+[](DCB& d) { d.fDtrControl = DTR_CONTROL_HANDSHAKE; }, +[](DCB& d) { d.fRtsControl = RTS_CONTROL_TOGGLE; }}) {
        DCB bad = before;
        spoil(bad);
        EXPECT_FALSE(SetCommState(handle, &bad));
        EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    }
}

TEST_F(PtyDeviceTest, SecondOpenFailsWhileHeld) {
    EXPECT_EQ(OpenPort(), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
    ClosePort();
    handle = OpenPort();
    EXPECT_NE(handle, INVALID_HANDLE_VALUE);
}

TEST_F(PtyDeviceTest, ModemStatusSucceedsWithInputLinesOffAndOutputLinesAsDriven) {
    DWORD status = 0xFFFF;
    ASSERT_TRUE(GetCommModemStatus(handle, &status));
    EXPECT_EQ(status, 0u);

    ASSERT_TRUE(EscapeCommFunction(handle, CLRRTS));
    ASSERT_TRUE(EscapeCommFunction(handle, SETDTR));
    EXPECT_EQ(DtrRts(), SERIAL_DTR_STATE);
    DCB dcb = State();
    dcb.fDtrControl = DTR_CONTROL_DISABLE;
    dcb.fRtsControl = RTS_CONTROL_ENABLE;
    ASSERT_TRUE(Apply(dcb));
    EXPECT_EQ(DtrRts(), SERIAL_RTS_STATE);
}

TEST_F(PtyDeviceTest, DsrSensitiveReadsDiscardWhileDsrIsLow) {
    DCB dcb = State();
    dcb.fDsrSensitivity = 1;
    ASSERT_TRUE(Apply(dcb));
    ASSERT_TRUE(pty.Send("lost"));
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_EQ(ReadPort(handle, 1, 10), "");

    dcb.fDsrSensitivity = 0;
    ASSERT_TRUE(Apply(dcb));
    ASSERT_TRUE(pty.Send("kept"));
    EXPECT_EQ(ReadPort(handle, 4), "kept");
}

// When the other end reads nothing, the driver's buffer fills: a write then fails at once. Output
// held in the driver (as under flow control) must not hold up the close: it is thrown away, so the
// other side never gets it and the close returns at once.
TEST_F(PtyDeviceTest, WritesNeverBlockAndCloseDiscardsOutputNotYetSent) {
    const std::string block(4096, 'x');
    std::size_t total = 0;
    DWORD written = 0;
    int writes = 0;
    for (; writes < 1000 && WriteFile(handle, block.data(), 4096, &written, nullptr); ++writes)
        total += written;
    ASSERT_LT(writes, 1000);
    EXPECT_EQ(GetLastError(), ERROR_WRITE_FAULT);
    EXPECT_EQ(written, 0u);
    ASSERT_GT(total, 2 * block.size()) << "more than the other side's own buffer holds";
    ASSERT_TRUE(EscapeCommFunction(handle, SETXOFF));
    auto start = std::chrono::steady_clock::now();
    ClosePort();
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(200));
    EXPECT_LT(pty.Receive(total, 500).size(), total);
}

TEST_F(PtyDeviceTest, CloseRestoresTheSettingsFound) {
    ClosePort();
    termios2 found = pty.Settings();
    found.c_lflag |= ECHO | ICANON;
    found.c_iflag |= ICRNL;
    found.c_cflag = (found.c_cflag & ~CBAUD) | B4800;
    pty.SetSettings(found);
    found = pty.Settings();

    handle = OpenPort();
    ASSERT_NE(handle, INVALID_HANDLE_VALUE);
    EXPECT_FALSE(pty.Settings().c_lflag & (ECHO | ICANON)) << "raw while open";
    DCB dcb = State();
    EXPECT_EQ(dcb.BaudRate, 4800u) << "speed kept as found";
    dcb.BaudRate = 230000;
    dcb.StopBits = TWOSTOPBITS;
    dcb.fOutX = 1;
    ASSERT_TRUE(Apply(dcb));
    ClosePort();

    termios2 after = pty.Settings();
    EXPECT_EQ(after.c_cflag, found.c_cflag);
    EXPECT_EQ(after.c_iflag, found.c_iflag);
    EXPECT_EQ(after.c_oflag, found.c_oflag);
    EXPECT_EQ(after.c_lflag, found.c_lflag);
    EXPECT_EQ(after.c_ospeed, found.c_ospeed);
}

// What the receiver takes off the line counts as received at once, as a driver counts it, before
// anything reads it; the reads then get it in order. The counters are served from one reading, and
// each arrival and each write must reach them.
TEST_F(PtyDeviceTest, BytesCountAsReceivedWhenTheyArriveAndReachTheReadsInOrder) {
    auto stats = [this] {
        SERIALPERF_STATS counts{};
        DWORD returned = 0;
        EXPECT_TRUE(DeviceIoControl(handle, IOCTL_SERIAL_GET_STATS, nullptr, 0, &counts, sizeof counts,
                                    &returned, nullptr));
        return counts;
    };
    auto receivedReaches = [&](DWORD count) {
        for (int i = 0; i < 1000 && stats().ReceivedCount < count; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        return stats().ReceivedCount == count;
    };
    const std::string second("d\0\xff\r\ng", 6);
    ASSERT_TRUE(pty.Send("abc"));
    ASSERT_TRUE(receivedReaches(3)) << "bytes that arrived are counted as received";
    EXPECT_EQ(ReadPort(handle, 2), "ab");
    EXPECT_EQ(stats().ReceivedCount, 3u);
    EXPECT_EQ(ReadPort(handle, 1), "c");
    ASSERT_TRUE(pty.Send(second));
    ASSERT_TRUE(receivedReaches(9));
    EXPECT_EQ(ReadPort(handle, 6), second);
    DWORD written = 0;
    ASSERT_TRUE(WriteFile(handle, "xy", 2, &written, nullptr));
    EXPECT_EQ(stats().TransmittedCount, 2u);
    EXPECT_EQ(stats().ReceivedCount, 9u);
    EXPECT_EQ(pty.Receive(2), "xy");
}

} // namespace
