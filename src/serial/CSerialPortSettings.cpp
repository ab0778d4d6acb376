// The seven line settings of the port object, which all follow one scheme (ChangeBlock).

#include "serial/CSerialPort.h"

BOOL CSerialPort::ChangeBlock(BlockChange change, DWORD argument) {
    if (m_state == Closed) {
        change(m_dcb, argument);
        return 1;
    }
    DCB scratch{};
    if (!GetCommState(m_handle, &scratch))
        return 0;
    change(scratch, argument);
    if (!SetCommState(m_handle, &scratch))
        return 0;
    m_dcb = scratch;
    return 1;
}

BOOL CSerialPort::SetBaudRate(DWORD baudRate) {
    return ChangeBlock([](DCB& dcb, DWORD value) { dcb.BaudRate = value; }, baudRate);
}

BOOL CSerialPort::SetByteSize(BYTE byteSize) {
    return ChangeBlock([](DCB& dcb, DWORD value) { dcb.ByteSize = static_cast<BYTE>(value); }, byteSize);
}

// fParity stays as the device has it.
BOOL CSerialPort::SetParity(BYTE parity) {
    return ChangeBlock([](DCB& dcb, DWORD value) { dcb.Parity = static_cast<BYTE>(value); }, parity);
}

BOOL CSerialPort::SetStopBits(BYTE stopBits) {
    return ChangeBlock([](DCB& dcb, DWORD value) { dcb.StopBits = static_cast<BYTE>(value); }, stopBits);
}

// Off clears RTS handshaking as well, so that the device lowers RTS.
BOOL CSerialPort::SetRtsCtsFlow(BOOL on) {
    return ChangeBlock(
        [](DCB& dcb, DWORD value) {
            dcb.fOutxCtsFlow = value ? 1 : 0;
            dcb.fRtsControl = value ? RTS_CONTROL_HANDSHAKE : RTS_CONTROL_DISABLE;
        },
        on != 0);
}

// fOutxDsrFlow stays as the device has it; on keeps DTR raised and makes the receiver DSR-sensitive.
BOOL CSerialPort::SetDtrDsrFlow(BOOL on) {
    return ChangeBlock(
        [](DCB& dcb, DWORD value) {
            dcb.fDtrControl = value ? DTR_CONTROL_ENABLE : DTR_CONTROL_DISABLE;
            dcb.fDsrSensitivity = value ? 1 : 0;
        },
        on != 0);
}

BOOL CSerialPort::SetXonXoffFlow(BOOL on) {
    return ChangeBlock(
        [](DCB& dcb, DWORD value) {
            dcb.fOutX = value ? 1 : 0;
            dcb.fInX = value ? 1 : 0;
        },
        on != 0);
}
