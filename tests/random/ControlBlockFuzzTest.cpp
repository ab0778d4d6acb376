// Random control blocks, every field and invalid values included, on the loopback plug and on a
// pseudo-terminal: SetCommState never crashes, a refused block changes nothing, and an accepted one
// is exactly what GetCommState reads back and, on the pty, what the kernel holds.
#include <cstring>
#include <functional>
#include <gtest/gtest.h>
#include <random>
#include <sstream>
#include <vector>

#include "support/RunSeed.h"
#include "platform/comm/CommApi.h"
#include "platform/files/FileApi.h"
#include "platform/tty/PtyPair.h"

namespace {

struct Field {
    const char* name;
    DWORD (*get)(const DCB&);
    void (*set)(DCB&, DWORD);
    DWORD mask;                   // every value the field can hold
    std::vector<DWORD> plausible; // what callers use, with the edges and the invalid values beside them
};

#define WHOLE_FIELD(f, type, ...)                                                                          \
    Field {                                                                                                \
        #f, [](const DCB& d) { return static_cast<DWORD>(static_cast<type>(d.f)); },                      \
            [](DCB& d, DWORD v) { d.f = static_cast<decltype(d.f)>(v); },                                  \
            static_cast<DWORD>(static_cast<type>(~0u)), { __VA_ARGS__ }                                    \
    }
#define BIT_FIELD(f, bits, ...)                                                                            \
    Field {                                                                                                \
        #f, [](const DCB& d) { return static_cast<DWORD>(d.f); },                                          \
            [](DCB& d, DWORD v) { d.f = v & ((1u << bits) - 1); }, (1u << bits) - 1, { __VA_ARGS__ }       \
    }

const std::vector<Field>& Fields() {
    static const std::vector<Field> fields{
        WHOLE_FIELD(DCBlength, DWORD, sizeof(DCB)),
        WHOLE_FIELD(BaudRate, DWORD, 0, 1, 49, 50, 110, 300, 9600, 115200, 230000, 921600, 4000000, 4000001,
                    0xFFFFFFFFu),
        BIT_FIELD(fBinary, 1, 1),
        BIT_FIELD(fParity, 1),
        BIT_FIELD(fOutxCtsFlow, 1),
        BIT_FIELD(fOutxDsrFlow, 1),
        BIT_FIELD(fDtrControl, 2, DTR_CONTROL_DISABLE, DTR_CONTROL_ENABLE),
        BIT_FIELD(fDsrSensitivity, 1),
        BIT_FIELD(fTXContinueOnXoff, 1),
        BIT_FIELD(fOutX, 1),
        BIT_FIELD(fInX, 1),
        BIT_FIELD(fErrorChar, 1),
        BIT_FIELD(fNull, 1),
        BIT_FIELD(fRtsControl, 2, RTS_CONTROL_DISABLE, RTS_CONTROL_ENABLE),
        BIT_FIELD(fAbortOnError, 1),
        BIT_FIELD(fDummy2, 17, 0),
        WHOLE_FIELD(wReserved, WORD, 0),
        WHOLE_FIELD(XonLim, WORD, 0, 2048, 0xFFFF),
        WHOLE_FIELD(XoffLim, WORD, 0, 512, 0xFFFF),
        WHOLE_FIELD(ByteSize, BYTE, 4, 5, 6, 7, 8, 8, 8, 8, 9, 255),
        WHOLE_FIELD(Parity, BYTE, NOPARITY, NOPARITY, NOPARITY, ODDPARITY, EVENPARITY, MARKPARITY, SPACEPARITY,
                    5),
        WHOLE_FIELD(StopBits, BYTE, ONESTOPBIT, ONE5STOPBITS, TWOSTOPBITS, 3),
        WHOLE_FIELD(XonChar, unsigned char, 0x11, 0x13, 0),
        WHOLE_FIELD(XoffChar, unsigned char, 0x13, 0x11, 0),
        WHOLE_FIELD(ErrorChar, unsigned char, 0),
        WHOLE_FIELD(EofChar, unsigned char, 0),
        WHOLE_FIELD(EvtChar, unsigned char, 0),
        WHOLE_FIELD(wReserved1, WORD, 0),
    };
    return fields;
}

// The fields in which two blocks differ, with both values; empty when they agree.
std::string Differences(const DCB& wanted, const DCB& got) {
    std::ostringstream out;
    for (const Field& field : Fields())
        if (field.get(wanted) != field.get(got))
            out << field.name << " " << field.get(wanted) << " -> " << field.get(got) << "; ";
    return out.str();
}

// A block a caller might write: the last one read back with some fields changed, now and then all
// of them. A changed field takes a plausible value more often than not, else any value it can hold.
DCB Mutate(DCB dcb, std::mt19937_64& random) {
    std::uniform_real_distribution<double> chance(0.0, 1.0);
    double share = chance(random) < 0.1 ? 1.0 : 0.2;
    for (const Field& field : Fields()) {
        if (chance(random) >= share)
            continue;
        DWORD value = static_cast<DWORD>(random()) & field.mask;
        if (!field.plausible.empty() && chance(random) < 0.7)
            value = field.plausible[random() % field.plausible.size()];
        field.set(dcb, value);
    }
    return dcb;
}

// What no serial line can carry, whatever the device.
bool Impossible(const DCB& dcb) {
    return dcb.BaudRate == 0 || dcb.ByteSize < 5 || dcb.ByteSize > 8 || dcb.Parity > SPACEPARITY ||
           dcb.StopBits > TWOSTOPBITS;
}

DCB Read(HANDLE handle) {
    DCB dcb{};
    EXPECT_TRUE(GetCommState(handle, &dcb));
    return dcb;
}

// Applies `rounds` random blocks in turn; `check` sees each accepted block and may add its own
// findings. Gives the number accepted.
int ApplyRandomBlocks(HANDLE handle, std::uint64_t seed, int rounds, const std::function<bool(const DCB&)>& mustFail,
        const std::function<void(const DCB&, bool accepted)>& check) {
    std::mt19937_64 random(seed);
    int accepted = 0;
    for (int round = 0; round < rounds && !testing::Test::HasFailure(); ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        const DCB before = Read(handle);
        DCB wanted = Mutate(before, random);
        DCB given = wanted;
        SetLastError(ERROR_SUCCESS);
        BOOL ok = SetCommState(handle, &given);
        EXPECT_EQ(std::memcmp(&given, &wanted, sizeof given), 0) << "SetCommState changed the caller's block";
        const DCB after = Read(handle);
        if (ok) {
            ++accepted;
            EXPECT_FALSE(mustFail(wanted)) << "accepted " << Differences(before, wanted);
            wanted.DCBlength = sizeof(DCB); // the size field names the record, it is no setting
            EXPECT_EQ(Differences(wanted, after), "") << "accepted, but reads back otherwise";
        } else {
            EXPECT_NE(GetLastError(), static_cast<DWORD>(ERROR_SUCCESS)) << "failed without a reason";
            EXPECT_EQ(Differences(before, after), "") << "refused, yet changed";
        }
        check(ok ? wanted : before, ok != FALSE);
    }
    return accepted;
}

HANDLE OpenDevice(const std::string& path) {
    return CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
}

TEST(RandomControlBlocks, OnTheLoopbackPlug) {
    const std::uint64_t seed = RunSeed();
    SCOPED_TRACE(SeedNote(seed));
    HANDLE plug = OpenDevice("\\\\.\\COM255");
    ASSERT_NE(plug, INVALID_HANDLE_VALUE);
    int accepted = ApplyRandomBlocks(plug, seed, 20000, Impossible, [](const DCB&, bool) {});
    if (!testing::Test::HasFailure()) {
        EXPECT_GT(accepted, 2000) << "too few blocks accepted to mean anything";
    }
    EXPECT_TRUE(CloseHandle(plug));
}

// The termios the kernel holds for the block: the line settings as the block says, and raw mode kept.
void ExpectHeld(const termios2& held, const DCB& dcb) {
    EXPECT_EQ(held.c_cflag & CBAUD, static_cast<tcflag_t>(BOTHER));
    EXPECT_EQ(held.c_ospeed, dcb.BaudRate);
    EXPECT_EQ(held.c_ispeed, dcb.BaudRate);
    EXPECT_EQ(held.c_cflag & CSIZE, static_cast<tcflag_t>(CS8)); // all a pty carries
    EXPECT_EQ(held.c_cflag & (PARENB | PARODD | CMSPAR), 0u);
    EXPECT_EQ((held.c_cflag & CSTOPB) != 0, dcb.StopBits != ONESTOPBIT);
    EXPECT_EQ((held.c_cflag & CRTSCTS) != 0, dcb.fOutxCtsFlow && dcb.fRtsControl == RTS_CONTROL_HANDSHAKE);
    EXPECT_EQ((held.c_iflag & INPCK) != 0, dcb.fParity != 0);
    EXPECT_EQ((held.c_iflag & IXON) != 0, dcb.fOutX != 0);
    EXPECT_EQ((held.c_iflag & IXOFF) != 0, dcb.fInX != 0);
    EXPECT_EQ(held.c_cc[VSTART], static_cast<cc_t>(dcb.XonChar));
    EXPECT_EQ(held.c_cc[VSTOP], static_cast<cc_t>(dcb.XoffChar));
    EXPECT_EQ(held.c_lflag & (ICANON | ECHO | ISIG | IEXTEN), 0u);
    EXPECT_EQ(held.c_oflag & OPOST, 0u);
    EXPECT_EQ(held.c_iflag & (ICRNL | INLCR | IGNCR | ISTRIP | IXANY), 0u);
    EXPECT_EQ(held.c_cflag & (CLOCAL | CREAD), static_cast<tcflag_t>(CLOCAL | CREAD));
    EXPECT_EQ(held.c_cc[VMIN], 1);
    EXPECT_EQ(held.c_cc[VTIME], 0);
}

TEST(RandomControlBlocks, OnAPseudoTerminal) {
    const std::uint64_t seed = RunSeed();
    SCOPED_TRACE(SeedNote(seed));
    PtyPair pty;
    ASSERT_TRUE(pty.Ok());
    HANDLE port = OpenDevice(pty.DevicePath());
    ASSERT_NE(port, INVALID_HANDLE_VALUE);
    // A pseudo-terminal keeps 8 data bits and no parity whatever it is told: such blocks must fail.
    auto mustFail = [](const DCB& dcb) { return Impossible(dcb) || dcb.ByteSize != 8 || dcb.Parity != NOPARITY; };
    termios2 last = pty.Settings();
    int accepted = ApplyRandomBlocks(port, seed, 20000, mustFail, [&](const DCB& dcb, bool ok) {
        termios2 held = pty.Settings();
        if (ok)
            ExpectHeld(held, dcb);
        else
            EXPECT_EQ(std::memcmp(&held, &last, sizeof held), 0) << "refused, yet the kernel's settings changed";
        last = held;
    });
    if (!testing::Test::HasFailure()) {
        EXPECT_GT(accepted, 1000) << "too few blocks accepted to mean anything";
    }
    EXPECT_TRUE(CloseHandle(port));
}

} // namespace
