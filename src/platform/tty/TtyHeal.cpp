// A tty whose device goes away and comes back: the handle lets the device go, looks for it now and
// then while calls are made, and reopens it as this handle had it.

#include <cerrno>
#include <sys/ioctl.h>
#include <unistd.h>

#include "platform/base/CoarseClock.h"
#include "platform/tty/DeviceIdentity.h"
#include "platform/base/LastError.h"
#include "platform/tty/TermiosMapping.h"
#include "platform/tty/TtyDevice.h"

namespace platform {

namespace {

// What a tty answers once its device has gone (unplugged, hung up) or is no longer there.
bool DeviceGone(int errnum) {
    return errnum == EIO || errnum == ENODEV || errnum == ENXIO;
}

} // namespace

bool TtyDevice::Failed(int errnum) {
    if (DeviceGone(errnum))
        return Lost(errnum);
    return FailErrno(ErrorFromErrno(errnum), errnum);
}

bool TtyDevice::Lost(int errnum) {
    Drop();
    if (errnum != 0)
        return FailErrno(ERROR_DEVICE_NOT_CONNECTED, errnum);
    return FailText(ERROR_DEVICE_NOT_CONNECTED, "The line has hung up");
}

// The descriptor goes at once: kept open, it would keep the old device's node alive, and an adapter
// plugged in again would come back under another name. A dead line also stops waking the loop.
void TtyDevice::Drop() {
    m_receiver.reset();
    m_watcher.reset();
    if (m_fd >= 0)
        close(m_fd);
    m_fd = -1;
    m_gone = true;
    m_nextLook = CoarseNow() + kLookInterval;
}

bool TtyDevice::Present() {
    if (!m_gone)
        return true;
    std::uint64_t now = CoarseNow();
    if (now >= m_nextLook) {
        m_nextLook = now + kLookInterval;
        if (Reopen())
            return true;
    }
    return FailText(ERROR_DEVICE_NOT_CONNECTED, "The device has gone away");
}

// The same device at the same path: the node is there and, for a USB device, the adapter behind it
// is the one that went away. It is opened as any port is (never from under another program), then
// given this handle's settings and line states; the counters go on from where they were.
bool TtyDevice::Reopen() {
    if (access(m_path.c_str(), F_OK) != 0)
        return false;
    if (!m_identity.empty() && UsbIdentity(m_path.substr(m_path.find_last_of('/') + 1)) != m_identity)
        return false;
    termios2 found{};
    int fd = Acquire(m_path, found);
    if (fd < 0)
        return false;
    // A node reached through a link may lead elsewhere now; the lock follows it.
    if (!m_lock.Take(LockName(m_path))) {
        close(fd);
        return false;
    }
    ioctl(fd, TIOCEXCL);
    m_fd = fd;
    m_gone = false;
    m_found = found;
    int lines = m_drivenLines;
    termios2 raw = found;
    MakeRaw(raw);
    if (!ApplySettings(m_kept, raw) || !RestoreLines(lines)) {
        if (!m_gone) {
            ioctl(m_fd, TCSETS2, &found); // left as it was found
            Drop();
        }
        return false;
    }
    m_countsBefore = Sum(m_countsBefore, DescriptorCounts());
    m_driverCounts = ioctl(m_fd, TIOCGICOUNT, &m_countsAtOpen) == 0;
    m_counts = m_countsAtOpen;
    ForgetReadings();
    WatchLines();
    // What the device sends now is read after what it sent before it went.
    m_queue.Restart();
    StartReceiver();
    return true;
}

// DTR and RTS as they were last driven, by the block or by hand; a line in handshake mode is the
// driver's.
bool TtyDevice::RestoreLines(int lines) {
    if (m_kept.fDtrControl != DTR_CONTROL_HANDSHAKE && !Drive(TIOCM_DTR, (lines & TIOCM_DTR) != 0))
        return false;
    return m_kept.fRtsControl == RTS_CONTROL_HANDSHAKE || Drive(TIOCM_RTS, (lines & TIOCM_RTS) != 0);
}

} // namespace platform
