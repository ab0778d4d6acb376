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
    while (m_queue.WaitForRoom(m_stop)) {
        if (poll(waits, 2, -1) < 0 && errno != EINTR) {
            Finish(errno);
            return;
        }
        if (m_stop.load(std::memory_order_relaxed))
            return;
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

void TtyReceiver::Deliver(const BYTE* bytes, std::size_t count) {
    if (m_dsrSensitive.load(std::memory_order_relaxed) && !DsrUp()) {
        m_queue.Discarded(count);
        return;
    }
    if (m_queue.Append(bytes, count))
        CommWakeEvent::Instance().Signal();
}

void TtyReceiver::Finish(int errnum) {
    if (m_queue.End(errnum))
        CommWakeEvent::Instance().Signal();
}

bool TtyReceiver::DsrUp() const {
    int bits = 0;
    return ioctl(m_fd, TIOCMGET, &bits) == 0 && (bits & TIOCM_DSR) != 0;
}

} // namespace platform
