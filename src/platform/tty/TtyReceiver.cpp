#include "platform/tty/TtyReceiver.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <memory>
#include <poll.h>
#include <pthread.h>
#include <sys/eventfd.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include "platform/base/CommWakeEvent.h"

namespace platform {

TtyReceiver::TtyReceiver(int fd, ReceiveQueue& queue, bool discardWhileDsrLow)
    : m_fd(fd), m_queue(queue), m_wake(eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)), m_dsrSensitive(discardWhileDsrLow) {
    m_thread = std::thread([this] { Run(); });
    pthread_setname_np(m_thread.native_handle(), kThreadName);
}

TtyReceiver::~TtyReceiver() {
    m_stop.store(true, std::memory_order_relaxed);
    m_queue.Interrupt();
    std::uint64_t one = 1;
    [[maybe_unused]] auto written = write(m_wake, &one, sizeof one);
    m_thread.join();
    close(m_wake);
}

void TtyReceiver::Run() {
    auto scratch = std::make_unique<BYTE[]>(ReceiveQueue::kBlockSize);
    pollfd waits[2] = {{m_fd, POLLIN, 0}, {m_wake, POLLIN, 0}};
    for (;;) {
        // A reader still waiting to be woken must be woken before this thread waits for it.
        if (m_wakeDue != Clock::time_point::max() && m_queue.Room() == 0)
            WakeIfStillOwed();
        if (!m_queue.WaitForRoom(m_stop))
            return;
        // While the reader is not to be woken before the interval's end anyway and the line only
        // trickles, what arrives meanwhile is left to the kernel, which holds far more than a slow
        // line sends in that time, and read at the end in one go: one wake-up of this thread per
        // interval rather than one per morsel the driver hands over.
        const bool lazy = m_wakeDue != Clock::time_point::max() && TricklesFor(m_wakeDue - Clock::now());
        waits[0].fd = lazy ? -1 : m_fd;
        waits[0].revents = 0;
        if (poll(waits, 2, WaitMs()) < 0 && errno != EINTR) {
            Finish(errno);
            return;
        }
        if (m_stop.load(std::memory_order_relaxed))
            return;
        if (m_wakeDue != Clock::time_point::max() && Clock::now() >= m_wakeDue) {
            m_wakeDue = Clock::time_point::max();
            const std::uint64_t before = m_queue.Received();
            if (!ReadLine(scratch.get(), true))
                return;
            if (m_wakeDue == Clock::time_point::max())
                WakeIfStillOwed();
            LookAgainIfTrickling(before);
        } else if (waits[0].revents != 0) {
            const std::uint64_t before = m_queue.Received();
            if (!ReadLine(scratch.get(), false))
                return;
            LookAgainIfTrickling(before);
        }
    }
}

// A line that trickles is looked at again an interval from now, not at its every morsel, whether
// or not its reader waits (one in a modal dialog takes nothing for a while); one that fell silent is
// waited for, and its next byte is read, and wakes the reader, at once.
void TtyReceiver::LookAgainIfTrickling(std::uint64_t receivedBefore) {
    if (m_wakeDue == Clock::time_point::max() && m_queue.Received() != receivedBefore &&
        TricklesFor(kWakeInterval))
        m_wakeDue = Clock::now() + kWakeInterval;
}

// A pace needs two reads to be known; until then the line may be anything.
bool TtyReceiver::TricklesFor(Clock::duration span) const {
    return m_paceReads >= 2 &&
           m_bytesPerSecond * std::chrono::duration<double>(span).count() < static_cast<double>(kTrickle);
}

bool TtyReceiver::ReadLine(BYTE* scratch, bool all) {
    for (;;) {
        // Never past the cap: what does not fit stays in the kernel, under its flow control.
        const std::size_t room = std::min(ReceiveQueue::kBlockSize, m_queue.Room());
        if (room == 0)
            return true;
        const ssize_t got = read(m_fd, scratch, room);
        if (got > 0) {
            NoteRate(static_cast<std::size_t>(got));
            Deliver(scratch, static_cast<std::size_t>(got));
            if (!all)
                return true;
        } else if (got == 0) {
            Finish(0); // the line has hung up
            return false;
        } else if (errno == EAGAIN) {
            return true;
        } else if (errno != EINTR) {
            Finish(errno);
            return false;
        }
    }
}

// The line's pace: the faster of the last whole interval's and the one under way. What a read
// finds arrived since the read before it, so an interval starts at a read and ends at a later one;
// one still under way counts as at least a millisecond long, so that a burst is seen as one at once.
// After a quiet spell the pace is learnt afresh: the first bytes may begin a burst.
void TtyReceiver::NoteRate(std::size_t bytes) {
    const Clock::time_point now = Clock::now();
    if (now - m_lastRead > 2 * kWakeInterval) {
        m_paceFrom = now;
        m_paceBytes = 0;
        m_lastPace = 0;
        m_paceReads = 0;
    } else if (now - m_paceFrom >= kWakeInterval) {
        const double span = std::chrono::duration<double>(m_lastRead - m_paceFrom).count();
        m_lastPace = span > 0 ? static_cast<double>(m_paceBytes) / span : 0;
        m_paceFrom = m_lastRead;
        m_paceBytes = 0;
    }
    m_paceBytes += bytes;
    ++m_paceReads;
    m_lastRead = now;
    const double span = std::max(1e-3, std::chrono::duration<double>(now - m_paceFrom).count());
    m_bytesPerSecond = std::max(m_lastPace, static_cast<double>(m_paceBytes) / span);
}

int TtyReceiver::WaitMs() const {
    if (m_wakeDue == Clock::time_point::max())
        return -1;
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(m_wakeDue - Clock::now()).count();
    return static_cast<int>(std::max<decltype(left)>(0, left));
}

void TtyReceiver::Deliver(const BYTE* bytes, std::size_t count) {
    if (m_dsrSensitive.load(std::memory_order_relaxed) && !DsrUp()) {
        m_queue.Discarded(count);
        return;
    }
    if (m_queue.Append(bytes, count))
        WakeReader();
}

// An interval counts from the reader's last visit, whether this thread woke it or it came by itself.
void TtyReceiver::WakeReader() {
    const Clock::time_point visited = std::max(m_lastWake, Clock::time_point(Clock::duration(m_queue.LastTaken())));
    if (Clock::now() - visited >= kWakeInterval) {
        m_queue.WakeStillOwed();
        Signal();
    } else if (m_wakeDue == Clock::time_point::max()) {
        m_wakeDue = visited + kWakeInterval;
    }
}

// The loop may have come for the bytes by itself meanwhile (a frame to draw, a key pressed); then
// waking it again would find nothing.
void TtyReceiver::WakeIfStillOwed() {
    m_wakeDue = Clock::time_point::max();
    if (m_queue.WakeStillOwed())
        Signal();
}

void TtyReceiver::Signal() {
    m_wakeDue = Clock::time_point::max();
    m_lastWake = Clock::now();
    CommWakeEvent::Instance().Signal();
}

// The loss is reported at once, with any bytes still waiting for their wake-up.
void TtyReceiver::Finish(int errnum) {
    if (m_queue.End(errnum) || m_wakeDue != Clock::time_point::max())
        Signal();
}

bool TtyReceiver::DsrUp() const {
    int bits = 0;
    return ioctl(m_fd, TIOCMGET, &bits) == 0 && (bits & TIOCM_DSR) != 0;
}

} // namespace platform
