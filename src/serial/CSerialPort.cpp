#include "serial/CSerialPort.h"

#include <algorithm>
#include <cstdint>

#include "platform/files/FileApi.h"

namespace {

constexpr std::string_view kDevicePrefix = "\\\\.\\";
constexpr std::size_t kLongestPath = 255;

// The completion routine gets nothing but the block, so the block carries its port: the low 32 bits
// of the address in Offset, the high 32 bits in OffsetHigh.
void StoreOwner(OVERLAPPED& block, const CSerialPort* owner) {
    auto address = static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(owner));
    block.Offset = static_cast<DWORD>(address);
    block.OffsetHigh = static_cast<DWORD>(address >> 32);
}

} // namespace

CSerialPort::CSerialPort()
    : m_state(Closed), m_bytesWritten(0), m_bytesRead(0), m_dcb{}, m_handle(INVALID_HANDLE_VALUE),
      m_openFlags(FILE_FLAG_OVERLAPPED), m_shareMode(FILE_SHARE_READ | FILE_SHARE_WRITE), m_readOverlapped{},
      m_writeOverlapped{}, m_timeouts{MAXDWORD, 0, 0, 0, 0} {
    m_dcb.DCBlength = sizeof(DCB);
    StoreOwner(m_readOverlapped, this);
    StoreOwner(m_writeOverlapped, this);
}

CSerialPort::~CSerialPort() {
    if (m_state != Closed)
        Close();
}

BOOL CSerialPort::Open(std::string_view name) {
    // Recorded before anything can fail, so that the name always names the last port tried.
    m_name.assign(name);
    std::string_view prefix = name.starts_with('\\') ? std::string_view() : kDevicePrefix;
    if (prefix.size() + name.size() > kLongestPath) {
        // Too long for a device path: refused whole rather than cut short.
        m_handle = INVALID_HANDLE_VALUE;
        SetLastError(ERROR_FILENAME_EXCED_RANGE);
        return 0;
    }
    char path[kLongestPath + 1];
    std::copy_n(prefix.data(), prefix.size(), path);
    std::copy_n(name.data(), name.size(), path + prefix.size());
    path[prefix.size() + name.size()] = '\0';

    m_handle = CreateFileA(path, GENERIC_READ | GENERIC_WRITE, m_shareMode, nullptr, OPEN_EXISTING,
                           m_openFlags | FILE_ATTRIBUTE_NORMAL, nullptr);
    if (m_handle == INVALID_HANDLE_VALUE)
        return 0;
    SetTimeouts(m_timeouts);
    m_state = Idle;
    // Whether the device's block can be read decides the open; the block itself is not kept.
    DCB scratch{};
    if (!GetControlBlock(scratch)) {
        CloseHandle(m_handle);
        m_state = Closed;
        return 0;
    }
    return 1;
}

BOOL CSerialPort::Close() {
    if (m_state == Closed)
        return 0;
    m_state = Closed;
    return CloseHandle(m_handle);
}

LONG CSerialPort::SetOverlapped(BOOL on) {
    if (m_state != Closed)
        return -1;
    auto previous = static_cast<LONG>(m_openFlags);
    m_openFlags = on ? FILE_FLAG_OVERLAPPED : 0;
    return previous;
}

DWORD CSerialPort::SetShareMode(DWORD shareMode) {
    DWORD previous = m_shareMode;
    m_shareMode = shareMode;
    return previous;
}

BOOL CSerialPort::SetTimeouts(const COMMTIMEOUTS& timeouts) {
    COMMTIMEOUTS record = timeouts;
    return SetCommTimeouts(m_handle, &record);
}

BOOL CSerialPort::GetControlBlock(DCB& dcb) {
    if (m_state == Closed) {
        dcb = m_dcb;
        return 1;
    }
    return GetCommState(m_handle, &dcb);
}
