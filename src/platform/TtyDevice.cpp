#include "platform/TtyDevice.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include "platform/CommRules.h"
#include "platform/CommWaitSet.h"
#include "platform/LastError.h"
#include "platform/TermiosMapping.h"
#include "platform/TtyOpen.h"

namespace platform {

namespace {

// A node without hardware behind it (ttyS ports the machine lacks answer EIO) is no port at all.
void FailOpen(int errnum) {
    switch (errnum) {
    case ENOENT:
    case ENXIO:
    case ENODEV:
    case EIO:
    case ENOTDIR:
        FailErrno(ERROR_FILE_NOT_FOUND, errnum);
        return;
    case EBUSY:
    case EACCES:
    case EPERM:
    case EWOULDBLOCK:
        FailErrno(ERROR_ACCESS_DENIED, errnum);
        return;
    default:
        FailErrno(errnum);
    }
}

DWORD DeviceError(int errnum) {
    return errnum == EIO ? ERROR_DEVICE_NOT_CONNECTED : ErrorFromErrno(errnum);
}

} // namespace

std::unique_ptr<CommDevice> OpenTty(const std::string& path, bool overlapped) {
    return TtyDevice::Open(path, overlapped);
}

std::unique_ptr<TtyDevice> TtyDevice::Open(const std::string& path, bool overlapped) {
    // Non-blocking, so that a port without carrier opens at once and no read or write ever waits.
    int fd = open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        FailOpen(errno);
        return nullptr;
    }
    // A port is held by one program at a time, whatever the share mode, as serial drivers do.
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        int error = errno;
        close(fd);
        FailOpen(error);
        return nullptr;
    }
    termios2 found{};
    if (ioctl(fd, TCGETS2, &found) != 0) {
        close(fd);
        FailErrno(ERROR_FILE_NOT_FOUND, ENOTTY);
        return nullptr;
    }
    std::unique_ptr<TtyDevice> device(new TtyDevice(fd, overlapped, found));
    if (!device->TakeOver())
        return nullptr;
    return device;
}

TtyDevice::TtyDevice(int fd, bool overlapped, const termios2& found)
    : CommDevice(overlapped), m_fd(fd), m_found(found), m_kept(DefaultControlBlock()) {}

TtyDevice::~TtyDevice() {
    if (m_fd >= 0)
        Close();
}

bool TtyDevice::TakeOver() {
    // TIOCEXCL keeps other programs out even when they do not lock (root is not kept out by it).
    ioctl(m_fd, TIOCEXCL);
    termios2 raw = m_found;
    MakeRaw(raw);
    if (ioctl(m_fd, TCSETS2, &raw) != 0)
        return FailErrno(DeviceError(errno), errno);
    m_readAhead.reset(new BYTE[kReadAheadSize]);
    m_driverCounts = ioctl(m_fd, TIOCGICOUNT, &m_countsAtOpen) == 0;
    m_counts = m_countsAtOpen;
    // Opening a port raises DTR and RTS; where there are no lines to read, that is what was driven.
    m_drivenLines = TIOCM_DTR | TIOCM_RTS;
    if (RefreshLines() && !m_noModemLines)
        m_drivenLines = m_lineBits & (TIOCM_DTR | TIOCM_RTS);
    WatchLines();
    TermiosToControlBlock(raw, m_kept);
    m_kept.fDtrControl = (m_drivenLines & TIOCM_DTR) ? DTR_CONTROL_ENABLE : DTR_CONTROL_DISABLE;
    if (m_kept.fRtsControl != RTS_CONTROL_HANDSHAKE)
        m_kept.fRtsControl = (m_drivenLines & TIOCM_RTS) ? RTS_CONTROL_ENABLE : RTS_CONTROL_DISABLE;
    m_askedSpeed = m_grantedSpeed = raw.c_ospeed;
    return true;
}

// Puts the port back as it was found, so that probing a port leaves no trace.
bool TtyDevice::Close() {
    m_watcher.reset();
    ioctl(m_fd, TIOCNXCL);
    ioctl(m_fd, TCSETS2, &m_found);
    int fd = m_fd;
    m_fd = -1;
    if (close(fd) != 0 && errno != EINTR)
        return FailErrno(errno);
    return true;
}

bool TtyDevice::Read(void* buffer, DWORD length, DWORD& done, const Transfer&) {
    done = 0;
    if (m_readPos == m_readEnd && length > 0 && !Fill())
        return false;
    DWORD count = std::min(length, m_readEnd - m_readPos);
    if (count == 1)
        *static_cast<BYTE*>(buffer) = m_readAhead[m_readPos];
    else if (count > 1)
        std::memcpy(buffer, m_readAhead.get() + m_readPos, count);
    m_readPos += count;
    done = count;
    return true;
}

bool TtyDevice::Fill() {
    m_readPos = m_readEnd = 0;
    if (m_hungUp)
        return HangUp(0);
    for (;;) {
        ssize_t got = read(m_fd, m_readAhead.get(), kReadAheadSize);
        AgeReadings();
        if (got > 0) {
            m_bytesIn += static_cast<std::uint64_t>(got);
            m_countsBehind = m_driverCounts;
            m_readEnd = static_cast<DWORD>(got);
            // A DSR-sensitive receiver throws away what arrives while DSR is low.
            DWORD status = 0;
            if (m_kept.fDsrSensitivity && ModemStatus(status) && !(status & MS_DSR_ON))
                m_readEnd = 0;
            return true;
        }
        if (got == 0)
            return HangUp(0);
        if (errno == EINTR)
            continue;
        if (errno == EAGAIN)
            return true;
        return errno == EIO ? HangUp(EIO) : FailErrno(errno);
    }
}

// The other end has gone: every read fails from now on, and the loop stops watching the line, which
// would otherwise stay readable for ever.
bool TtyDevice::HangUp(int errnum) {
    if (!m_hungUp) {
        CommWaitSet::Instance().Unwatch(m_fd);
        m_hungUp = true;
    }
    if (errnum != 0)
        return FailErrno(ERROR_DEVICE_NOT_CONNECTED, errnum);
    return FailText(ERROR_DEVICE_NOT_CONNECTED, "The line has hung up");
}

bool TtyDevice::Write(const void* buffer, DWORD length, DWORD& done, const Transfer&) {
    done = 0;
    if (length == 0)
        return true;
    for (;;) {
        ssize_t put = write(m_fd, buffer, length);
        if (put > 0) {
            done = static_cast<DWORD>(put);
            m_bytesOut += static_cast<std::uint64_t>(put);
            m_countsBehind = m_driverCounts;
            return true;
        }
        if (put < 0 && errno == EINTR)
            continue;
        // The driver cannot take a byte now (its buffer is full or flow control holds it).
        if (put == 0 || errno == EAGAIN)
            return FailErrno(ERROR_WRITE_FAULT, EAGAIN);
        return FailErrno(DeviceError(errno), errno);
    }
}

bool TtyDevice::GetState(DCB& dcb) {
    termios2 settings{};
    if (ioctl(m_fd, TCGETS2, &settings) != 0)
        return FailErrno(DeviceError(errno), errno);
    dcb = m_kept;
    TermiosToControlBlock(settings, dcb);
    // The driver may have settled on a speed close to the one asked for; report the one asked for.
    if (settings.c_ospeed == m_grantedSpeed)
        dcb.BaudRate = m_askedSpeed;
    return true;
}

bool TtyDevice::SetState(const DCB& dcb) {
    DWORD error = CheckControlBlock(dcb);
    if (error != ERROR_SUCCESS || !TermiosCanCarry(dcb))
        return Fail(error != ERROR_SUCCESS ? error : ERROR_INVALID_PARAMETER);
    termios2 before{};
    if (ioctl(m_fd, TCGETS2, &before) != 0)
        return FailErrno(DeviceError(errno), errno);
    if (!ApplySettings(dcb, before)) {
        ioctl(m_fd, TCSETS2, &before);
        return false;
    }
    ForgetReadings();
    return true;
}

// Writes the settings, reads them back (a driver that silently ignores a flag has refused it), then
// drives DTR and RTS as the block says.
bool TtyDevice::ApplySettings(const DCB& dcb, const termios2& before) {
    termios2 wanted = before;
    ControlBlockToTermios(dcb, wanted);
    termios2 held{};
    if (ioctl(m_fd, TCSETS2, &wanted) != 0 || ioctl(m_fd, TCGETS2, &held) != 0)
        return FailErrno(DeviceError(errno), errno);
    if (!SameLineSettings(wanted, held))
        return FailText(ERROR_INVALID_PARAMETER, "The device does not support these line settings");
    if (!DriveLinesFor(dcb))
        return false;
    m_kept = dcb;
    m_kept.DCBlength = sizeof(DCB);
    m_askedSpeed = dcb.BaudRate;
    m_grantedSpeed = held.c_ospeed;
    return true;
}

bool TtyDevice::SetTimeouts(const COMMTIMEOUTS& timeouts) {
    return ReadsReturnAtOnce(timeouts) || Fail(ERROR_NOT_SUPPORTED);
}

} // namespace platform
