// Moving one block through the port object, synchronously or overlapped, and the completion
// routine that brings an overlapped transfer to rest.

#include <cstdint>

#include "platform/files/FileApi.h"
#include "serial/CSerialPort.h"

// Runs queued completion routines until the port is at rest. The platform queues a transfer's
// completion as it starts, so a wait that runs none while the port is busy means none will come:
// the transfer fails then instead of waiting for ever, as it does on a Closed port.
bool CSerialPort::WaitUntilIdle() {
    while (m_state != Idle) {
        if (m_state == Closed) {
            SetLastError(ERROR_INVALID_HANDLE);
            return false;
        }
        DWORD woke = WaitForSingleObjectEx(m_handle, 0, TRUE);
        if (woke != WAIT_IO_COMPLETION && m_state != Idle) {
            SetLastError(ERROR_IO_INCOMPLETE);
            return false;
        }
    }
    return true;
}

BOOL CSerialPort::FinishTransfer(BOOL started) {
    if (started || GetLastError() == ERROR_IO_PENDING)
        return 1;
    // An overlapped transfer that did not start gets no completion: the port is at rest again.
    m_state = Idle;
    return 0;
}

BOOL CSerialPort::Write(LPCVOID buffer, DWORD length) {
    if (!WaitUntilIdle())
        return 0;
    m_state = Writing;
    if (m_openFlags != 0)
        return FinishTransfer(WriteFileEx(m_handle, buffer, length, &m_writeOverlapped, OnIoComplete));
    BOOL written = WriteFile(m_handle, buffer, length, &m_bytesWritten, nullptr);
    m_state = Idle;
    return FinishTransfer(written);
}

BOOL CSerialPort::Read(LPVOID buffer, DWORD length) {
    if (!WaitUntilIdle())
        return 0;
    m_state = Reading;
    if (m_openFlags != 0)
        return FinishTransfer(ReadFileEx(m_handle, buffer, length, &m_readOverlapped, OnIoComplete));
    BOOL read = ReadFile(m_handle, buffer, length, &m_bytesRead, nullptr);
    m_state = Idle;
    return FinishTransfer(read);
}

void OnIoComplete(DWORD, DWORD bytesTransferred, LPOVERLAPPED overlapped) {
    auto address = (static_cast<std::uint64_t>(overlapped->OffsetHigh) << 32) | overlapped->Offset;
    auto* port = reinterpret_cast<CSerialPort*>(static_cast<std::uintptr_t>(address));
    if (port->m_state == Writing)
        port->m_bytesWritten = bytesTransferred;
    else if (port->m_state == Reading)
        port->m_bytesRead = bytesTransferred;
    else if (port->m_state == Closed)
        return; // a completion after Close leaves the port Closed
    port->m_state = Idle;
}

BOOL InitLineSignals(HANDLE handle) {
    EscapeCommFunction(handle, CLRRTS);
    return EscapeCommFunction(handle, SETDTR);
}
