// The port object on the built-in loopback plug, the way the application drives it: synchronous,
// one byte at a time.

#include <gtest/gtest.h>
#include <string>

#include "serial/CSerialPort.h"

namespace {

TEST(CSerialPortLoopbackTest, TypedBytesComeBackOneReadAtATime) {
    CSerialPort port;
    port.SetOverlapped(FALSE);
    ASSERT_TRUE(port.Open("COM255"));
    ASSERT_TRUE(port.SetBaudRate(115200));
    ASSERT_TRUE(port.SetRtsCtsFlow(FALSE));
    InitLineSignals(port.GetHandle());
    const std::string typed("hi\r\x00", 4);
    for (char c : typed) {
        ASSERT_TRUE(port.Write(&c, 1));
        ASSERT_EQ(port.m_bytesWritten, 1u);
    }
    std::string back;
    char byte = 0;
    while (port.Read(&byte, 1) && port.m_bytesRead == 1)
        back += byte;
    EXPECT_EQ(back, typed);
    EXPECT_EQ(port.GetState(), Idle);
    DCB dcb{};
    ASSERT_TRUE(port.GetControlBlock(dcb));
    EXPECT_EQ(dcb.BaudRate, 115200u);
}

} // namespace
