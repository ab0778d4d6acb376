// The built-in loopback plug, COM255.

#include <gtest/gtest.h>
#include <poll.h>
#include <string>
#include <thread>

#include "platform/comm/CommApi.h"
#include "platform/files/FileApi.h"
#include "platform/comm/CommActivity.h"
#include "platform/comm/LoopbackPlug.h"

namespace {

class LoopbackPlugTest : public testing::Test {
protected:
    void SetUp() override {
        plug = CreateFileA("\\\\.\\COM255", GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(plug, INVALID_HANDLE_VALUE);
    }
    void TearDown() override {
        if (plug != INVALID_HANDLE_VALUE)
            CloseHandle(plug);
    }

    std::string ReadUpTo(DWORD count) {
        std::string buffer(count, '\0');
        DWORD read = 0;
        EXPECT_TRUE(ReadFile(plug, buffer.data(), count, &read, nullptr));
        buffer.resize(read);
        return buffer;
    }

    DWORD Write(const std::string& bytes) {
        DWORD written = 0;
        WriteFile(plug, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
        return written;
    }

    DWORD Status() {
        DWORD status = 0;
        EXPECT_TRUE(GetCommModemStatus(plug, &status));
        return status;
    }

    DCB State() {
        DCB dcb{};
        EXPECT_TRUE(GetCommState(plug, &dcb));
        return dcb;
    }

    DWORD DtrRts() {
        DWORD lines = 0;
        DWORD returned = 0;
        EXPECT_TRUE(DeviceIoControl(plug, IOCTL_SERIAL_GET_DTRRTS, nullptr, 0, &lines, sizeof lines, &returned, nullptr));
        return lines;
    }

    HANDLE plug = INVALID_HANDLE_VALUE;
};

TEST_F(LoopbackPlugTest, LargeTransfersWrapAroundTheBufferIntact) {
    std::string chunk(300000, '\0');
    for (std::size_t i = 0; i < chunk.size(); ++i)
        chunk[i] = static_cast<char>(i * 7 + i / 251);
    for (int round = 0; round < 8; ++round) {
        ASSERT_EQ(Write(chunk), chunk.size());
        ASSERT_EQ(ReadUpTo(static_cast<DWORD>(chunk.size())), chunk) << "round " << round;
    }
}

TEST_F(LoopbackPlugTest, FullBufferTakesWhatFitsAndSaysSo) {
    std::string big(platform::LoopbackPlug::kReceiveBufferSize + 100, 'x');
    EXPECT_EQ(Write(big), platform::LoopbackPlug::kReceiveBufferSize);
    DWORD written = 7;
    EXPECT_FALSE(WriteFile(plug, "y", 1, &written, nullptr));
    EXPECT_EQ(written, 0u);
    EXPECT_EQ(GetLastError(), ERROR_WRITE_FAULT);
    EXPECT_EQ(ReadUpTo(10), std::string(10, 'x'));
    EXPECT_EQ(Write("yz"), 2u);
}

TEST_F(LoopbackPlugTest, RtsDrivesCtsAndDtrDrivesDsrAndDcd) {
    EXPECT_EQ(Status(), MS_CTS_ON | MS_DSR_ON | MS_RLSD_ON);
    ASSERT_TRUE(EscapeCommFunction(plug, CLRRTS));
    EXPECT_EQ(Status(), MS_DSR_ON | MS_RLSD_ON);
    ASSERT_TRUE(EscapeCommFunction(plug, CLRDTR));
    EXPECT_EQ(Status(), 0u);
    ASSERT_TRUE(EscapeCommFunction(plug, SETRTS));
    EXPECT_EQ(Status(), MS_CTS_ON);
    EXPECT_EQ(DtrRts(), SERIAL_RTS_STATE);

    DCB dcb = State();
    dcb.fDtrControl = DTR_CONTROL_ENABLE;
    dcb.fRtsControl = RTS_CONTROL_DISABLE;
    ASSERT_TRUE(SetCommState(plug, &dcb));
    EXPECT_EQ(Status(), MS_DSR_ON | MS_RLSD_ON);
}

TEST_F(LoopbackPlugTest, HeldByOneOpenAtATime) {
    HANDLE second = CreateFileA("\\\\.\\COM255", GENERIC_READ | GENERIC_WRITE, 3, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    EXPECT_EQ(second, INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
    ASSERT_TRUE(CloseHandle(plug));
    plug = CreateFileA("\\\\.\\com255", GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
    EXPECT_NE(plug, INVALID_HANDLE_VALUE);
}

// RTS driven by hand (not handshaking) feeds the plug's own CTS, so dropping it holds the output.
TEST_F(LoopbackPlugTest, CtsFlowControlHoldsOutputWhileRtsIsDown) {
    DCB dcb = State();
    dcb.fOutxCtsFlow = 1;
    dcb.fRtsControl = RTS_CONTROL_ENABLE;
    ASSERT_TRUE(SetCommState(plug, &dcb));
    EXPECT_EQ(Write("a"), 1u);
    ASSERT_TRUE(EscapeCommFunction(plug, CLRRTS));
    EXPECT_EQ(Write("b"), 0u);
    EXPECT_EQ(GetLastError(), ERROR_WRITE_FAULT);
    EXPECT_EQ(ReadUpTo(5), "a");
}

// Under handshaking the driver owns the line: escapes on it fail and change nothing, so RTS/CTS
// flow keeps CTS up and the echo flowing, and the other line stays the user's.
TEST_F(LoopbackPlugTest, EscapesOnALineInHandshakeModeFailAndLeaveItRaised) {
    struct Case {
        BYTE rtsControl;
        BYTE dtrControl;
        DWORD refused;
        DWORD allowed;
        DWORD heldLine;
    };
    for (const Case& c : {Case{RTS_CONTROL_HANDSHAKE, DTR_CONTROL_ENABLE, CLRRTS, CLRDTR, SERIAL_RTS_STATE},
                          Case{RTS_CONTROL_HANDSHAKE, DTR_CONTROL_ENABLE, SETRTS, SETDTR, SERIAL_RTS_STATE},
                          Case{RTS_CONTROL_ENABLE, DTR_CONTROL_HANDSHAKE, CLRDTR, CLRRTS, SERIAL_DTR_STATE},
                          Case{RTS_CONTROL_ENABLE, DTR_CONTROL_HANDSHAKE, SETDTR, SETRTS, SERIAL_DTR_STATE}}) {
        SCOPED_TRACE(c.refused);
        DCB dcb = State();
        dcb.fOutxCtsFlow = c.rtsControl == RTS_CONTROL_HANDSHAKE;
        dcb.fRtsControl = c.rtsControl;
        dcb.fDtrControl = c.dtrControl;
        ASSERT_TRUE(SetCommState(plug, &dcb));
        SetLastError(0);
        EXPECT_FALSE(EscapeCommFunction(plug, c.refused));
        EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
        EXPECT_TRUE(EscapeCommFunction(plug, c.allowed));
        EXPECT_NE(DtrRts() & c.heldLine, 0u) << "the driver's line stays raised";
        EXPECT_EQ(Write("e"), 1u);
        EXPECT_EQ(ReadUpTo(5), "e");
    }
}

TEST_F(LoopbackPlugTest, DsrSensitiveReceiverDropsWhatArrivesWhileDsrIsLow) {
    DCB dcb = State();
    dcb.fDsrSensitivity = 1;
    dcb.fDtrControl = DTR_CONTROL_DISABLE;
    ASSERT_TRUE(SetCommState(plug, &dcb));
    EXPECT_EQ(Write("gone"), 4u);
    EXPECT_EQ(ReadUpTo(10), "");
    ASSERT_TRUE(EscapeCommFunction(plug, SETDTR));
    EXPECT_EQ(Write("here"), 4u);
    EXPECT_EQ(ReadUpTo(10), "here");
}

TEST_F(LoopbackPlugTest, WriteFromAnotherThreadWakesTheWaitDescriptor) {
    pollfd waiting{platform::CommWakeDescriptor(), POLLIN, 0};
    while (platform::CommActivityWaiting()) {
    } // takes wake-ups left by other tests
    std::thread writer([this] { Write("w"); });
    EXPECT_EQ(poll(&waiting, 1, 2000), 1);
    writer.join();
    EXPECT_TRUE(platform::CommActivityWaiting()) << "the byte";
    EXPECT_EQ(ReadUpTo(1), "w");
    EXPECT_TRUE(platform::CommActivityWaiting()) << "its wake-up, looked at once";
    EXPECT_FALSE(platform::CommActivityWaiting()) << "and then nothing";
    EXPECT_EQ(poll(&waiting, 1, 0), 0) << "the wake-up was taken";
}

} // namespace
