#pragma once
// The port object: one communications device opened by its port name, its line settings kept in
// the device control block, and one block of bytes moved at a time, synchronously or as an
// overlapped transfer whose completion routine brings the object back to rest. Operations return
// non-zero for success and 0 for failure; none shows a message.

#include <string>
#include <string_view>

#include "platform/comm/CommApi.h"

enum PortState : LONG {
    Closed = 0,
    Idle = 1,
    Writing = 2,
    Reading = 3,
};

class CSerialPort {
public:
    CSerialPort();
    virtual ~CSerialPort();
    CSerialPort(const CSerialPort&) = delete;
    CSerialPort& operator=(const CSerialPort&) = delete;

    BOOL Open(std::string_view name);
    BOOL Close();
    BOOL Write(LPCVOID buffer, DWORD length);
    BOOL Read(LPVOID buffer, DWORD length);

    BOOL SetBaudRate(DWORD baudRate);
    BOOL SetByteSize(BYTE byteSize);
    BOOL SetParity(BYTE parity);
    BOOL SetStopBits(BYTE stopBits);
    BOOL SetRtsCtsFlow(BOOL on);
    BOOL SetDtrDsrFlow(BOOL on);
    BOOL SetXonXoffFlow(BOOL on);

    // The previous flags word; -1 (and no change) unless Closed.
    LONG SetOverlapped(BOOL on);
    // The previous share mode; the new one is used at the next Open.
    DWORD SetShareMode(DWORD shareMode);
    BOOL SetTimeouts(const COMMTIMEOUTS& timeouts);
    // The device's block while open; the cached copy, with result 1, while Closed.
    BOOL GetControlBlock(DCB& dcb);
    BOOL GetControlBlock(LPDCB dcb) { return GetControlBlock(*dcb); }

    PortState GetState() const { return m_state; }
    HANDLE GetHandle() const { return m_handle; }
    const std::string& GetName() const { return m_name; }

    // Public, as the application's idle step reads m_bytesRead directly after each Read.
    PortState m_state;
    DWORD m_bytesWritten;
    DWORD m_bytesRead;
    std::string m_name;
    DCB m_dcb;
    HANDLE m_handle;
    DWORD m_openFlags;
    DWORD m_shareMode;
    OVERLAPPED m_readOverlapped;
    OVERLAPPED m_writeOverlapped;
    const COMMTIMEOUTS m_timeouts;

private:
    using BlockChange = void (*)(DCB& dcb, DWORD argument);

    // The scheme all line settings share: the cached copy while Closed, else read, change, write.
    BOOL ChangeBlock(BlockChange change, DWORD argument);
    // Waits alertably until a running overlapped transfer has completed; false when none can.
    bool WaitUntilIdle();
    // Follows a transfer call: the result the caller gets, and the state after it.
    BOOL FinishTransfer(BOOL started);
};

// Drops RTS, then raises DTR; the result of raising DTR.
BOOL InitLineSignals(HANDLE handle);

// The completion routine of every overlapped transfer: finds its port in the block and brings it to
// rest with the byte count.
void OnIoComplete(DWORD errorCode, DWORD bytesTransferred, LPOVERLAPPED overlapped);
