#include "platform/tty/TermiosMapping.h"

namespace platform {

namespace {

constexpr tcflag_t kFramingFlags = CSIZE | PARENB | PARODD | CMSPAR | CSTOPB | CRTSCTS;
constexpr tcflag_t kInputFlags = INPCK | IXON | IXOFF;

tcflag_t SizeFlag(BYTE byteSize) {
    switch (byteSize) {
    case 5:
        return CS5;
    case 6:
        return CS6;
    case 7:
        return CS7;
    default:
        return CS8;
    }
}

BYTE ByteSizeOf(tcflag_t cflag) {
    switch (cflag & CSIZE) {
    case CS5:
        return 5;
    case CS6:
        return 6;
    case CS7:
        return 7;
    default:
        return 8;
    }
}

// Mark and space parity are odd and even with the parity bit made constant (CMSPAR).
tcflag_t ParityFlags(BYTE parity) {
    switch (parity) {
    case ODDPARITY:
        return PARENB | PARODD;
    case EVENPARITY:
        return PARENB;
    case MARKPARITY:
        return PARENB | CMSPAR | PARODD;
    case SPACEPARITY:
        return PARENB | CMSPAR;
    default:
        return 0;
    }
}

BYTE ParityOf(tcflag_t cflag) {
    if (!(cflag & PARENB))
        return NOPARITY;
    bool odd = (cflag & PARODD) != 0;
    if (cflag & CMSPAR)
        return odd ? MARKPARITY : SPACEPARITY;
    return odd ? ODDPARITY : EVENPARITY;
}

void SetFlag(tcflag_t& flags, tcflag_t flag, bool on) {
    flags = on ? (flags | flag) : (flags & ~flag);
}

bool SpeedsClose(speed_t wanted, speed_t held) {
    auto difference = wanted > held ? wanted - held : held - wanted;
    return static_cast<unsigned long long>(difference) * 50 <= wanted;
}

} // namespace

bool TermiosCanCarry(const DCB& dcb) {
    if (dcb.fDtrControl == DTR_CONTROL_HANDSHAKE || dcb.fRtsControl == RTS_CONTROL_TOGGLE)
        return false;
    return (dcb.fOutxCtsFlow != 0) == (dcb.fRtsControl == RTS_CONTROL_HANDSHAKE);
}

void ControlBlockToTermios(const DCB& dcb, termios2& settings) {
    settings.c_cflag &= ~(CBAUD | (CBAUD << IBSHIFT) | kFramingFlags);
    settings.c_cflag |= BOTHER | (BOTHER << IBSHIFT) | SizeFlag(dcb.ByteSize) | ParityFlags(dcb.Parity);
    settings.c_ospeed = dcb.BaudRate;
    settings.c_ispeed = dcb.BaudRate;
    // On a 16550, CSTOPB with five data bits gives one and a half stop bits.
    SetFlag(settings.c_cflag, CSTOPB, dcb.StopBits != ONESTOPBIT);
    SetFlag(settings.c_cflag, CRTSCTS, dcb.fOutxCtsFlow && dcb.fRtsControl == RTS_CONTROL_HANDSHAKE);
    SetFlag(settings.c_iflag, INPCK, dcb.fParity);
    SetFlag(settings.c_iflag, IXON, dcb.fOutX);
    SetFlag(settings.c_iflag, IXOFF, dcb.fInX);
    settings.c_cc[VSTART] = static_cast<cc_t>(dcb.XonChar);
    settings.c_cc[VSTOP] = static_cast<cc_t>(dcb.XoffChar);
}

void TermiosToControlBlock(const termios2& settings, DCB& dcb) {
    dcb.DCBlength = sizeof(DCB);
    dcb.BaudRate = settings.c_ospeed;
    dcb.ByteSize = ByteSizeOf(settings.c_cflag);
    dcb.Parity = ParityOf(settings.c_cflag);
    if (!(settings.c_cflag & CSTOPB))
        dcb.StopBits = ONESTOPBIT;
    else
        dcb.StopBits = dcb.ByteSize == 5 ? ONE5STOPBITS : TWOSTOPBITS;
    dcb.fParity = (settings.c_iflag & INPCK) ? 1 : 0;
    dcb.fOutX = (settings.c_iflag & IXON) ? 1 : 0;
    dcb.fInX = (settings.c_iflag & IXOFF) ? 1 : 0;
    dcb.XonChar = static_cast<char>(settings.c_cc[VSTART]);
    dcb.XoffChar = static_cast<char>(settings.c_cc[VSTOP]);
    if (settings.c_cflag & CRTSCTS) {
        dcb.fOutxCtsFlow = 1;
        dcb.fRtsControl = RTS_CONTROL_HANDSHAKE;
    } else if (dcb.fOutxCtsFlow || dcb.fRtsControl == RTS_CONTROL_HANDSHAKE) {
        // Handshaking was switched off behind our back; the driver left RTS raised.
        dcb.fOutxCtsFlow = 0;
        dcb.fRtsControl = RTS_CONTROL_ENABLE;
    }
}

bool SameLineSettings(const termios2& wanted, const termios2& held) {
    if ((wanted.c_cflag & kFramingFlags) != (held.c_cflag & kFramingFlags))
        return false;
    if ((wanted.c_iflag & kInputFlags) != (held.c_iflag & kInputFlags))
        return false;
    if (wanted.c_cc[VSTART] != held.c_cc[VSTART] || wanted.c_cc[VSTOP] != held.c_cc[VSTOP])
        return false;
    return SpeedsClose(wanted.c_ospeed, held.c_ospeed);
}

void MakeRaw(termios2& settings) {
    settings.c_iflag &= ~(IGNBRK | BRKINT | IGNPAR | PARMRK | ISTRIP | INLCR | IGNCR | ICRNL | IUCLC | IXON |
                          IXANY | IXOFF | IMAXBEL | IUTF8);
    settings.c_oflag &= ~OPOST;
    settings.c_lflag &=
        ~(ECHO | ECHOE | ECHOK | ECHONL | ECHOCTL | ECHOKE | ICANON | ISIG | IEXTEN | NOFLSH | TOSTOP);
    settings.c_cflag |= CLOCAL | CREAD;
    settings.c_cc[VMIN] = 1;
    settings.c_cc[VTIME] = 0;
}

} // namespace platform
