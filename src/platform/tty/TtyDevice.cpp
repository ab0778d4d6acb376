#include "platform/tty/TtyDevice.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

#include "platform/base/Check.h"
#include "platform/comm/CommRules.h"
#include "platform/tty/DeviceIdentity.h"
#include "platform/tty/DeviceOpeners.h"
#include "platform/tty/PortProbeScope.h"
#include "platform/base/LastError.h"
#include "platform/tty/TermiosMapping.h"
#include "platform/tty/TtyOpen.h"

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

std::string NodeName(const std::string& path) {
    return path.substr(path.find_last_of('/') + 1);
}

} // namespace

// Lock files are named after the device's own node ("ttyUSB0"), also when it is reached through a
// link such as /dev/serial/by-id/....
std::string TtyDevice::LockName(const std::string& path) {
    std::unique_ptr<char, decltype(&std::free)> real(realpath(path.c_str(), nullptr), &std::free);
    return NodeName(real ? std::string(real.get()) : path);
}

namespace {

// Another program uses the port: it holds a live lock file for it, or has it open without locking.
bool InUseElsewhere(const std::string& path, int fd) {
    if (UucpLock::HeldElsewhere(TtyDevice::LockName(path)))
        return true;
    struct stat info {};
    return fstat(fd, &info) == 0 && S_ISCHR(info.st_mode) && DeviceOpeners::OpenElsewhere(info.st_rdev);
}

} // namespace

std::unique_ptr<CommDevice> OpenTty(const std::string& path, bool overlapped) {
    return TtyDevice::Open(path, overlapped);
}

int TtyDevice::Acquire(const std::string& path, termios2& found) {
    // Non-blocking, so that a port without carrier opens at once and no read or write ever waits.
    int fd = open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        FailOpen(errno);
        return -1;
    }
    // A port is held by one program at a time, whatever the share mode, as serial drivers do.
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        int error = errno;
        close(fd);
        FailOpen(error);
        return -1;
    }
    if (ioctl(fd, TCGETS2, &found) != 0) {
        close(fd);
        FailErrno(ERROR_FILE_NOT_FOUND, ENOTTY);
        return -1;
    }
    // Only now that it is known to be a tty: a file such as /dev/null is open everywhere.
    if (InUseElsewhere(path, fd)) {
        close(fd);
        FailText(ERROR_ACCESS_DENIED, "The port is in use by another program");
        return -1;
    }
    return fd;
}

std::unique_ptr<TtyDevice> TtyDevice::Open(const std::string& path, bool overlapped) {
    termios2 found{};
    int fd = Acquire(path, found);
    if (fd < 0)
        return nullptr;
    std::unique_ptr<TtyDevice> device(new TtyDevice(fd, overlapped, path, found));
    if (!device->m_lock.Take(LockName(path))) {
        FailText(ERROR_ACCESS_DENIED, "The port is in use by another program");
        return nullptr;
    }
    if (!device->TakeOver())
        return nullptr;
    // A probe opens every port only to close it again; a port opened for use is read from now on.
    if (!PortProbeScope::Active())
        device->StartReceiver();
    return device;
}

TtyDevice::TtyDevice(int fd, bool overlapped, std::string path, const termios2& found)
    : CommDevice(overlapped), m_fd(fd), m_path(std::move(path)), m_identity(UsbIdentity(NodeName(m_path))),
      m_found(found), m_kept(DefaultControlBlock()) {}

TtyDevice::~TtyDevice() {
    if (!m_closed)
        Close();
}

bool TtyDevice::TakeOver() {
    // TIOCEXCL keeps other programs out even when they do not lock (root is not kept out by it).
    ioctl(m_fd, TIOCEXCL);
    termios2 raw = m_found;
    MakeRaw(raw);
    if (ioctl(m_fd, TCSETS2, &raw) != 0)
        return Failed(errno);
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

// Puts the port back as it was found, so that probing a port leaves no trace. Output still held
// (the peer sent XOFF, CTS is low) is thrown away first: the driver would otherwise make close()
// wait for it for up to its closing wait, 30 s by default, with the user interface frozen. (The
// closing wait itself is a setting of the port, kept across opens, so it is left alone.)
bool TtyDevice::Close() {
    m_closed = true;
    // The helpers go before the descriptor they wait on.
    m_receiver.reset();
    m_watcher.reset();
    m_lock.Release();
    if (m_fd < 0)
        return true;
    ioctl(m_fd, TCFLSH, TCOFLUSH);
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
    if (m_readPos == m_block.size && length > 0 && !Refill())
        return false;
    MT_CHECK(m_readPos <= m_block.size);
    const auto count = static_cast<DWORD>(std::min<std::size_t>(length, m_block.size - m_readPos));
    if (count == 1)
        *static_cast<BYTE*>(buffer) = m_block.bytes[m_readPos];
    else if (count > 1)
        std::memcpy(buffer, m_block.bytes.get() + m_readPos, count);
    m_readPos += count;
    done = count;
    return true;
}

// What was received is served first, also after the device has gone; only then is its going
// reported, or its return looked for.
bool TtyDevice::Refill() {
    m_readPos = m_block.size = 0;
    if (TakeReceived())
        return true;
    if (m_gone)
        return Present();
    int errnum = 0;
    if (m_queue.Ended(errnum))
        return Lost(errnum);
    return true;
}

bool TtyDevice::TakeReceived() {
    StartReceiver();
    AgeReadings();
    if (!m_queue.Take(m_block))
        return false;
    m_readPos = 0;
    m_countsBehind = m_driverCounts;
    return true;
}

void TtyDevice::StartReceiver() {
    if (m_receiver == nullptr && !m_gone && m_fd >= 0)
        m_receiver = std::make_unique<TtyReceiver>(m_fd, m_queue, m_kept.fDsrSensitivity != 0);
}

// Only bytes are taken here. A hang-up is left for the next read to report, as it would have found
// it without this look; the loop runs its idle step for it.
bool TtyDevice::ReadAhead() {
    if (m_readPos < m_block.size)
        return true;
    if (m_gone || m_fd < 0)
        return false;
    if (TakeReceived())
        return true;
    int errnum = 0;
    return m_queue.Ended(errnum);
}

bool TtyDevice::Write(const void* buffer, DWORD length, DWORD& done, const Transfer&) {
    done = 0;
    if (!Present())
        return false;
    if (length == 0)
        return true;
    for (;;) {
        ssize_t put = write(m_fd, buffer, length);
        if (put > 0) {
            done = static_cast<DWORD>(put);
            m_bytesOut += static_cast<std::uint64_t>(put);
            m_statsStale = true;
            m_countsBehind = m_driverCounts;
            return true;
        }
        if (put < 0 && errno == EINTR)
            continue;
        // The driver cannot take a byte now (its buffer is full or flow control holds it).
        if (put == 0 || errno == EAGAIN)
            return FailErrno(ERROR_WRITE_FAULT, EAGAIN);
        return Failed(errno);
    }
}

bool TtyDevice::GetState(DCB& dcb) {
    if (!Present())
        return false;
    termios2 settings{};
    if (ioctl(m_fd, TCGETS2, &settings) != 0)
        return Failed(errno);
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
    if (!Present())
        return false;
    termios2 before{};
    if (ioctl(m_fd, TCGETS2, &before) != 0)
        return Failed(errno);
    if (!ApplySettings(dcb, before)) {
        if (m_fd >= 0)
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
        return Failed(errno);
    if (!SameLineSettings(wanted, held))
        return FailText(ERROR_INVALID_PARAMETER, "The device does not support these line settings");
    if (!DriveLinesFor(dcb))
        return false;
    m_kept = dcb;
    m_kept.DCBlength = sizeof(DCB);
    if (m_receiver != nullptr)
        m_receiver->DiscardWhileDsrLow(dcb.fDsrSensitivity != 0);
    m_askedSpeed = dcb.BaudRate;
    m_grantedSpeed = held.c_ospeed;
    return true;
}

bool TtyDevice::SetTimeouts(const COMMTIMEOUTS& timeouts) {
    return ReadsReturnAtOnce(timeouts) || Fail(ERROR_NOT_SUPPORTED);
}

} // namespace platform
