// The modem lines, driver counters and escape functions of a tty.

#include <cerrno>
#include <sys/ioctl.h>

#include "platform/base/CoarseClock.h"
#include "platform/comm/CommRules.h"
#include "platform/base/LastError.h"
#include "platform/tty/TtyDevice.h"

namespace platform {

namespace {

// Readings are kept at least 10 ms: the coarse clock runs a tick behind, so the tick is added.
std::uint64_t ReadingLifetime() {
    return 10000000u + CoarseTick();
}

bool NoSuchLines(int errnum) {
    return errnum == ENOTTY || errnum == EINVAL;
}

DWORD Since(int now, int atOpen) {
    return static_cast<DWORD>(now) - static_cast<DWORD>(atOpen);
}

// How long a counts reading may stand while bytes still move, before the loop looks once more.
constexpr int kCountsCatchUpMs = 12;

} // namespace

// A device with lines gets a thread that reports their changes; a device without needs none.
void TtyDevice::WatchLines() {
    m_watcher.reset();
    if (!m_noModemLines)
        m_watcher = std::make_unique<LineWatcher>(m_fd);
}

int TtyDevice::WakeAfterMs() const {
    if (m_gone)
        return static_cast<int>(kLookInterval / 1000000);
    if (m_countsBehind)
        return kCountsCatchUpMs;
    if (!m_noModemLines && (m_watcher == nullptr || !m_watcher->Supported()))
        return kLinePollMs;
    return -1;
}

void TtyDevice::AgeReadings() {
    if (m_noModemLines && !m_driverCounts)
        return;
    std::uint64_t now = CoarseNow();
    if (now < m_readingsExpire)
        return;
    // Input lines whose changes are reported need no reading by age; polled lines, counts and the
    // output lines a driver drives itself for handshaking do.
    const bool driverDrives =
        m_kept.fRtsControl == RTS_CONTROL_HANDSHAKE || m_kept.fDtrControl == DTR_CONTROL_HANDSHAKE;
    if (m_watcher == nullptr || !m_watcher->Watching() || driverDrives)
        m_linesStale = true;
    m_countsStale = true;
    m_readingsExpire = now + ReadingLifetime();
}

// Devices without modem-control lines report their input lines off and DTR and RTS as last driven.
bool TtyDevice::RefreshLines() {
    const bool changed = LinesChangedUnseen();
    if (!m_linesStale && !changed)
        return true;
    int bits = 0;
    if (ioctl(m_fd, TIOCMGET, &bits) == 0) {
        m_noModemLines = false;
    } else if (NoSuchLines(errno)) {
        m_noModemLines = true;
        bits = m_drivenLines;
    } else {
        return Failed(errno);
    }
    m_lineBits = bits;
    m_linesStale = false;
    return true;
}

bool TtyDevice::ModemStatus(DWORD& status) {
    if (!Present() || !RefreshLines())
        return false;
    status = ((m_lineBits & TIOCM_CTS) ? MS_CTS_ON : 0) | ((m_lineBits & TIOCM_DSR) ? MS_DSR_ON : 0) |
             ((m_lineBits & TIOCM_RNG) ? MS_RING_ON : 0) | ((m_lineBits & TIOCM_CD) ? MS_RLSD_ON : 0);
    return true;
}

bool TtyDevice::DtrRts(DWORD& lines) {
    if (!Present() || !RefreshLines())
        return false;
    lines =
        ((m_lineBits & TIOCM_DTR) ? SERIAL_DTR_STATE : 0) | ((m_lineBits & TIOCM_RTS) ? SERIAL_RTS_STATE : 0);
    return true;
}

bool TtyDevice::Drive(int line, bool on) {
    if (ioctl(m_fd, on ? TIOCMBIS : TIOCMBIC, &line) != 0 && !NoSuchLines(errno))
        return Failed(errno);
    m_drivenLines = on ? (m_drivenLines | line) : (m_drivenLines & ~line);
    return true;
}

// DTR and RTS follow the block as it is written. With handshaking RTS is raised, as the receiver has
// room; from then on the kernel drops and raises it as its buffer fills and drains (a port that was
// left with RTS low would otherwise never hear from a peer that respects CTS).
bool TtyDevice::DriveLinesFor(const DCB& dcb) {
    if (!Drive(TIOCM_DTR, dcb.fDtrControl == DTR_CONTROL_ENABLE))
        return false;
    return Drive(TIOCM_RTS, dcb.fRtsControl == RTS_CONTROL_ENABLE || dcb.fRtsControl == RTS_CONTROL_HANDSHAKE);
}

bool TtyDevice::Escape(DWORD function) {
    if (!Present())
        return false;
    ForgetReadings();
    if (LineHeldByHandshake(m_kept, function))
        return Fail(ERROR_INVALID_PARAMETER);
    int result = 0;
    switch (function) {
    case SETRTS:
    case CLRRTS:
        return Drive(TIOCM_RTS, function == SETRTS);
    case SETDTR:
    case CLRDTR:
        return Drive(TIOCM_DTR, function == SETDTR);
    case SETBREAK:
    case CLRBREAK:
        result = ioctl(m_fd, function == SETBREAK ? TIOCSBRK : TIOCCBRK);
        break;
    case SETXOFF:
    case SETXON:
        // As if the peer had sent XOFF or XON: output stops or resumes.
        result = ioctl(m_fd, TCXONC, function == SETXOFF ? TCOOFF : TCOON);
        break;
    default:
        return Fail(ERROR_INVALID_PARAMETER);
    }
    return result == 0 || Failed(errno);
}

// A reading that finds the counts as they were ends the catching up: the line has settled.
bool TtyDevice::RefreshCounts() {
    if (!m_countsStale || !m_driverCounts)
        return true;
    serial_icounter_struct counts{};
    if (ioctl(m_fd, TIOCGICOUNT, &counts) == 0) {
        m_countsBehind = counts.rx != m_counts.rx || counts.tx != m_counts.tx;
        m_counts = counts;
    } else if (NoSuchLines(errno)) {
        m_driverCounts = false;
        m_countsBehind = false;
    } else {
        return Failed(errno);
    }
    m_countsStale = false;
    m_statsStale = true;
    return true;
}

// The driver's counts on the present descriptor, from its open.
SERIALPERF_STATS TtyDevice::DescriptorCounts() const {
    SERIALPERF_STATS counts{};
    counts.ReceivedCount = Since(m_counts.rx, m_countsAtOpen.rx);
    counts.TransmittedCount = Since(m_counts.tx, m_countsAtOpen.tx);
    counts.FrameErrorCount = Since(m_counts.frame, m_countsAtOpen.frame);
    counts.SerialOverrunErrorCount = Since(m_counts.overrun, m_countsAtOpen.overrun);
    counts.BufferOverrunErrorCount = Since(m_counts.buf_overrun, m_countsAtOpen.buf_overrun);
    counts.ParityErrorCount = Since(m_counts.parity, m_countsAtOpen.parity);
    return counts;
}

// Counts from the open of the handle, across any reopening. Where the driver keeps no counts, or
// its byte counts stay at zero while bytes move (cdc-acm), the bytes moved through this handle are
// counted instead.
bool TtyDevice::Stats(SERIALPERF_STATS& stats) {
    if (!Present() || !RefreshCounts())
        return false;
    if (const std::uint64_t received = m_queue.Received(); received != m_bytesIn) {
        m_bytesIn = received;
        m_statsStale = true;
    }
    if (m_statsStale) {
        m_stats = CountsNow();
        m_statsStale = false;
    }
    stats = m_stats;
    return true;
}

SERIALPERF_STATS TtyDevice::CountsNow() const {
    SERIALPERF_STATS stats = Sum(m_countsBefore, DescriptorCounts());
    const std::uint64_t bytesIn = m_queue.Received();
    bool driverSilent = stats.ReceivedCount == 0 && stats.TransmittedCount == 0 && (bytesIn || m_bytesOut);
    if (!m_driverCounts || driverSilent) {
        stats.ReceivedCount = static_cast<DWORD>(bytesIn);
        stats.TransmittedCount = static_cast<DWORD>(m_bytesOut);
    }
    return stats;
}

SERIALPERF_STATS TtyDevice::Sum(const SERIALPERF_STATS& a, const SERIALPERF_STATS& b) {
    SERIALPERF_STATS sum{};
    sum.ReceivedCount = a.ReceivedCount + b.ReceivedCount;
    sum.TransmittedCount = a.TransmittedCount + b.TransmittedCount;
    sum.FrameErrorCount = a.FrameErrorCount + b.FrameErrorCount;
    sum.SerialOverrunErrorCount = a.SerialOverrunErrorCount + b.SerialOverrunErrorCount;
    sum.BufferOverrunErrorCount = a.BufferOverrunErrorCount + b.BufferOverrunErrorCount;
    sum.ParityErrorCount = a.ParityErrorCount + b.ParityErrorCount;
    return sum;
}

} // namespace platform
