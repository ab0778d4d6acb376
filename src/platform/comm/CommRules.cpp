#include "platform/comm/CommRules.h"

namespace platform {

DWORD CheckControlBlock(const DCB& dcb) {
    if (dcb.BaudRate == 0 || dcb.ByteSize < 5 || dcb.ByteSize > 8 || dcb.Parity > SPACEPARITY)
        return ERROR_INVALID_PARAMETER;
    // As a 16550 does: one and a half stop bits exist only with five data bits, two only with more.
    if (dcb.StopBits > TWOSTOPBITS)
        return ERROR_INVALID_PARAMETER;
    if (dcb.StopBits == ONE5STOPBITS && dcb.ByteSize != 5)
        return ERROR_INVALID_PARAMETER;
    if (dcb.StopBits == TWOSTOPBITS && dcb.ByteSize == 5)
        return ERROR_INVALID_PARAMETER;
    if ((dcb.fOutX || dcb.fInX) && dcb.XonChar == dcb.XoffChar)
        return ERROR_INVALID_PARAMETER;
    if (dcb.fDtrControl > DTR_CONTROL_HANDSHAKE)
        return ERROR_INVALID_PARAMETER;
    return ERROR_SUCCESS;
}

DCB DefaultControlBlock() {
    DCB dcb{};
    dcb.DCBlength = sizeof(DCB);
    dcb.BaudRate = 9600;
    dcb.fBinary = 1;
    dcb.fDtrControl = DTR_CONTROL_ENABLE;
    dcb.fRtsControl = RTS_CONTROL_ENABLE;
    dcb.fTXContinueOnXoff = 1;
    dcb.XonLim = 2048;
    dcb.XoffLim = 512;
    dcb.ByteSize = 8;
    dcb.Parity = NOPARITY;
    dcb.StopBits = ONESTOPBIT;
    dcb.XonChar = 0x11;
    dcb.XoffChar = 0x13;
    return dcb;
}

bool ReadsReturnAtOnce(const COMMTIMEOUTS& timeouts) {
    return timeouts.ReadIntervalTimeout == MAXDWORD && timeouts.ReadTotalTimeoutMultiplier == 0 &&
           timeouts.ReadTotalTimeoutConstant == 0;
}

bool LineHeldByHandshake(const DCB& dcb, DWORD function) {
    if (function == SETRTS || function == CLRRTS)
        return dcb.fRtsControl == RTS_CONTROL_HANDSHAKE;
    if (function == SETDTR || function == CLRDTR)
        return dcb.fDtrControl == DTR_CONTROL_HANDSHAKE;
    return false;
}

} // namespace platform
