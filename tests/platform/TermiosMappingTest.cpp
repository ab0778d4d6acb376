// The control block and the kernel's termios2, both ways, and the rules on blocks.

#include <gtest/gtest.h>

#include "platform/CommRules.h"
#include "platform/TermiosMapping.h"

namespace {

using namespace platform;

DCB RoundTrip(const DCB& dcb) {
    termios2 settings{};
    ControlBlockToTermios(dcb, settings);
    DCB back = DefaultControlBlock();
    TermiosToControlBlock(settings, back);
    return back;
}

TEST(TermiosMappingTest, EveryParityComesBack) {
    for (BYTE parity : {NOPARITY, ODDPARITY, EVENPARITY, MARKPARITY, SPACEPARITY}) {
        DCB dcb = DefaultControlBlock();
        dcb.Parity = parity;
        EXPECT_EQ(RoundTrip(dcb).Parity, parity);
    }
}

TEST(TermiosMappingTest, MarkAndSpaceUseStickParity) {
    DCB dcb = DefaultControlBlock();
    termios2 settings{};
    dcb.Parity = SPACEPARITY;
    ControlBlockToTermios(dcb, settings);
    EXPECT_EQ(settings.c_cflag & (PARENB | PARODD | CMSPAR), static_cast<tcflag_t>(PARENB | CMSPAR));
    dcb.Parity = NOPARITY;
    ControlBlockToTermios(dcb, settings);
    EXPECT_EQ(settings.c_cflag & (PARENB | PARODD | CMSPAR), 0u);
}

TEST(TermiosMappingTest, ByteSizesAndStopBitsComeBack) {
    for (BYTE size = 5; size <= 8; ++size) {
        DCB dcb = DefaultControlBlock();
        dcb.ByteSize = size;
        dcb.StopBits = size == 5 ? ONE5STOPBITS : TWOSTOPBITS;
        DCB back = RoundTrip(dcb);
        EXPECT_EQ(back.ByteSize, size);
        EXPECT_EQ(back.StopBits, dcb.StopBits);
        dcb.StopBits = ONESTOPBIT;
        EXPECT_EQ(RoundTrip(dcb).StopBits, ONESTOPBIT);
    }
}

TEST(TermiosMappingTest, AnySpeedIsCarriedAsItIs) {
    for (DWORD speed : {50u, 230000u, 921600u, 12000000u}) {
        DCB dcb = DefaultControlBlock();
        dcb.BaudRate = speed;
        termios2 settings{};
        settings.c_cflag = B9600;
        ControlBlockToTermios(dcb, settings);
        EXPECT_EQ(settings.c_cflag & CBAUD, static_cast<tcflag_t>(BOTHER));
        EXPECT_EQ(settings.c_ospeed, speed);
        EXPECT_EQ(settings.c_ispeed, speed);
        EXPECT_EQ(RoundTrip(dcb).BaudRate, speed);
    }
}

TEST(TermiosMappingTest, FlowControlAndSpecialCharacters) {
    DCB dcb = DefaultControlBlock();
    dcb.fOutxCtsFlow = 1;
    dcb.fRtsControl = RTS_CONTROL_HANDSHAKE;
    dcb.fOutX = 1;
    dcb.fParity = 1;
    dcb.XonChar = 'Q';
    dcb.XoffChar = 'S';
    termios2 settings{};
    ControlBlockToTermios(dcb, settings);
    EXPECT_TRUE(settings.c_cflag & CRTSCTS);
    EXPECT_TRUE(settings.c_iflag & IXON);
    EXPECT_FALSE(settings.c_iflag & IXOFF);
    EXPECT_TRUE(settings.c_iflag & INPCK);
    EXPECT_EQ(settings.c_cc[VSTART], 'Q');
    EXPECT_EQ(settings.c_cc[VSTOP], 'S');
    DCB back = RoundTrip(dcb);
    EXPECT_EQ(back.fOutxCtsFlow, 1u);
    EXPECT_EQ(back.fRtsControl, RTS_CONTROL_HANDSHAKE);
    EXPECT_EQ(back.fOutX, 1u);
    EXPECT_EQ(back.fInX, 0u);
    EXPECT_EQ(back.fParity, 1u);
    EXPECT_EQ(back.XonChar, 'Q');

    dcb.fOutxCtsFlow = 0;
    dcb.fRtsControl = RTS_CONTROL_DISABLE;
    ControlBlockToTermios(dcb, settings);
    EXPECT_FALSE(settings.c_cflag & CRTSCTS);
}

TEST(TermiosMappingTest, HandshakingSwitchedOffElsewhereIsReportedOff) {
    DCB kept = DefaultControlBlock();
    kept.fOutxCtsFlow = 1;
    kept.fRtsControl = RTS_CONTROL_HANDSHAKE;
    termios2 settings{};
    ControlBlockToTermios(DefaultControlBlock(), settings);
    TermiosToControlBlock(settings, kept);
    EXPECT_EQ(kept.fOutxCtsFlow, 0u);
    EXPECT_NE(kept.fRtsControl, RTS_CONTROL_HANDSHAKE);
}

TEST(TermiosMappingTest, OtherFlagsOfTheSettingsAreLeftAlone) {
    termios2 settings{};
    settings.c_cflag = CLOCAL | CREAD | HUPCL;
    settings.c_iflag = IGNBRK;
    ControlBlockToTermios(DefaultControlBlock(), settings);
    EXPECT_EQ(settings.c_cflag & (CLOCAL | CREAD | HUPCL), static_cast<tcflag_t>(CLOCAL | CREAD | HUPCL));
    EXPECT_TRUE(settings.c_iflag & IGNBRK);
}

TEST(TermiosMappingTest, TermiosCarriesOnlyTheFlowControlLinuxHas) {
    DCB dcb = DefaultControlBlock();
    EXPECT_TRUE(TermiosCanCarry(dcb));
    dcb.fOutxCtsFlow = 1;
    EXPECT_FALSE(TermiosCanCarry(dcb)) << "CTS output flow without RTS handshaking";
    dcb.fRtsControl = RTS_CONTROL_HANDSHAKE;
    EXPECT_TRUE(TermiosCanCarry(dcb));
    dcb.fOutxCtsFlow = 0;
    EXPECT_FALSE(TermiosCanCarry(dcb));
    dcb = DefaultControlBlock();
    dcb.fRtsControl = RTS_CONTROL_TOGGLE;
    EXPECT_FALSE(TermiosCanCarry(dcb));
    dcb = DefaultControlBlock();
    dcb.fDtrControl = DTR_CONTROL_HANDSHAKE;
    EXPECT_FALSE(TermiosCanCarry(dcb));
}

TEST(TermiosMappingTest, ReadBackFindsRefusedFlagsAndFarSpeeds) {
    termios2 wanted{};
    ControlBlockToTermios(DefaultControlBlock(), wanted);
    wanted.c_cflag |= CMSPAR | PARENB;
    termios2 held = wanted;
    EXPECT_TRUE(SameLineSettings(wanted, held));
    held.c_cflag &= ~CMSPAR;
    EXPECT_FALSE(SameLineSettings(wanted, held));
    held = wanted;
    wanted.c_ospeed = 230000;
    held.c_ospeed = 230400;
    EXPECT_TRUE(SameLineSettings(wanted, held)) << "a driver's nearest divisor";
    held.c_ospeed = 115200;
    EXPECT_FALSE(SameLineSettings(wanted, held));
}

TEST(TermiosMappingTest, RawModeKeepsSpeedAndFraming) {
    termios2 settings{};
    settings.c_cflag = CS7 | PARENB | CSTOPB | B4800;
    settings.c_iflag = ICRNL | IXON | INPCK;
    settings.c_oflag = OPOST | ONLCR;
    settings.c_lflag = ECHO | ICANON | ISIG;
    MakeRaw(settings);
    EXPECT_EQ(settings.c_cflag & (CSIZE | PARENB | CSTOPB | CBAUD),
              static_cast<tcflag_t>(CS7 | PARENB | CSTOPB | B4800));
    EXPECT_TRUE(settings.c_cflag & CLOCAL);
    EXPECT_TRUE(settings.c_cflag & CREAD);
    EXPECT_FALSE(settings.c_iflag & (ICRNL | IXON));
    EXPECT_FALSE(settings.c_oflag & OPOST);
    EXPECT_FALSE(settings.c_lflag & (ECHO | ICANON | ISIG));
    EXPECT_EQ(settings.c_cc[VMIN], 1);
}

TEST(CommRulesTest, ControlBlocksAUartCannotTakeAreRefused) {
    EXPECT_EQ(CheckControlBlock(DefaultControlBlock()), ERROR_SUCCESS);
    auto check = [](void (*change)(DCB&)) {
        DCB dcb = DefaultControlBlock();
        change(dcb);
        return CheckControlBlock(dcb);
    };
    EXPECT_EQ(check([](DCB& d) { d.BaudRate = 0; }), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(check([](DCB& d) { d.ByteSize = 4; }), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(check([](DCB& d) { d.Parity = 5; }), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(check([](DCB& d) { d.StopBits = ONE5STOPBITS; }), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(check([](DCB& d) {
                  d.ByteSize = 5;
                  d.StopBits = ONE5STOPBITS;
              }),
              ERROR_SUCCESS);
    EXPECT_EQ(check([](DCB& d) {
                  d.ByteSize = 5;
                  d.StopBits = TWOSTOPBITS;
              }),
              ERROR_INVALID_PARAMETER);
    EXPECT_EQ(check([](DCB& d) {
                  d.fInX = 1;
                  d.XonChar = d.XoffChar;
              }),
              ERROR_INVALID_PARAMETER);
    EXPECT_EQ(check([](DCB& d) { d.XonChar = d.XoffChar; }), ERROR_SUCCESS) << "no XON/XOFF flow: unused";
}

} // namespace
