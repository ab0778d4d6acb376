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
        if (poll(waits, 2, WaitMs()) < 0 && errno != EINTR) {
            Finish(errno);
            return;
        }
        if (m_stop.load(std::memory_order_relaxed))
            return;
        if (m_wakeDue != Clock::time_point::max() && Clock::now() >= m_wakeDue)
            WakeIfStillOwed();
        if (waits[0].revents == 0)
            continue;
        // Never past the cap: what does not fit stays in the kernel, under its flow control.
        const std::size_t room = std::min(ReceiveQueue::kBlockSize, m_queue.Room());
        const ssize_t got = read(m_fd, scratch.get(), room);
        if (got > 0) {
            Deliver(scratch.get(), static_cast<std::size_t>(got));
        } else if (got == 0) {
            Finish(0); // the line has hung up
            return;
        } else if (errno != EAGAIN && errno != EINTR) {
            Finish(errno);
            return;
        }
    }
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

// A frame counts from the reader's last visit, whether this thread woke it or it came by itself.
void TtyReceiver::WakeReader() {
    const Clock::time_point visited = std::max(m_lastWake, Clock::time_point(Clock::duration(m_queue.LastTaken())));
    if (Clock::now() - visited >= kWakeInterval)
        SignalNow();
    else
        m_wakeDue = visited + kWakeInterval;
}

// The loop may have come for the bytes by itself meanwhile (a frame to draw, a key pressed); then
// waking it again would find nothing.
void TtyReceiver::WakeIfStillOwed() {
    m_wakeDue = Clock::time_point::max();
    if (m_queue.WakeStillOwed())
        SignalNow();
}

void TtyReceiver::SignalNow() {
    m_wakeDue = Clock::time_point::max();
    m_lastWake = Clock::now();
    CommWakeEvent::Instance().Signal();
}

// The loss is reported at once, with any bytes still waiting for their wake-up.
void TtyReceiver::Finish(int errnum) {
    if (m_queue.End(errnum) || m_wakeDue != Clock::time_point::max())
        SignalNow();
}

bool TtyReceiver::DsrUp() const {
    int bits = 0;
    return ioctl(m_fd, TIOCMGET, &bits) == 0 && (bits & TIOCM_DSR) != 0;
}

} // namespace platform
