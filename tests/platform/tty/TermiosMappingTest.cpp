// The control block and the kernel's termios2: what a pseudo-terminal cannot show (it keeps 8 data
// bits and no parity whatever it is told, and keeps no flags the mapping should leave alone) is
// checked on the mapping itself.

#include <gtest/gtest.h>

#include "platform/comm/CommRules.h"
#include "platform/tty/TermiosMapping.h"

namespace {

using namespace platform;

DCB RoundTrip(const DCB& dcb, termios2& settings) {
    ControlBlockToTermios(dcb, settings);
    DCB back = DefaultControlBlock();
    TermiosToControlBlock(settings, back);
    return back;
}

TEST(TermiosMappingTest, EveryParityComesBackWithMarkAndSpaceAsStickParity) {
    const tcflag_t expected[] = {0, PARENB | PARODD, PARENB, PARENB | PARODD | CMSPAR, PARENB | CMSPAR};
    for (BYTE parity : {NOPARITY, ODDPARITY, EVENPARITY, MARKPARITY, SPACEPARITY}) {
        DCB dcb = DefaultControlBlock();
        dcb.Parity = parity;
        termios2 settings{};
        settings.c_cflag = PARENB | PARODD | CMSPAR;
        EXPECT_EQ(RoundTrip(dcb, settings).Parity, parity);
        EXPECT_EQ(settings.c_cflag & (PARENB | PARODD | CMSPAR), expected[parity]);
    }
}

TEST(TermiosMappingTest, ByteSizesAndStopBitsComeBack) {
    for (BYTE size = 5; size <= 8; ++size) {
        for (BYTE stop : {ONESTOPBIT, size == 5 ? ONE5STOPBITS : TWOSTOPBITS}) {
            DCB dcb = DefaultControlBlock();
            dcb.ByteSize = size;
            dcb.StopBits = stop;
            termios2 settings{};
            DCB back = RoundTrip(dcb, settings);
            EXPECT_EQ(back.ByteSize, size);
            EXPECT_EQ(back.StopBits, stop);
        }
    }
}

TEST(TermiosMappingTest, FlagsOutsideTheBlockAreLeftAlone) {
    termios2 settings{};
    settings.c_cflag = B9600 | CLOCAL | CREAD | HUPCL;
    settings.c_iflag = IGNBRK;
    ControlBlockToTermios(DefaultControlBlock(), settings);
    EXPECT_EQ(settings.c_cflag & (CLOCAL | CREAD | HUPCL), static_cast<tcflag_t>(CLOCAL | CREAD | HUPCL));
    EXPECT_TRUE(settings.c_iflag & IGNBRK);
}

TEST(TermiosMappingTest, ReadBackAcceptsANearbySpeedOnly) {
    termios2 wanted{};
    ControlBlockToTermios(DefaultControlBlock(), wanted);
    wanted.c_ospeed = 230000;
    termios2 held = wanted;
    held.c_ospeed = 230400;
    EXPECT_TRUE(SameLineSettings(wanted, held)) << "a driver's nearest divisor";
    held.c_ospeed = 115200;
    EXPECT_FALSE(SameLineSettings(wanted, held));
}

} // namespace
