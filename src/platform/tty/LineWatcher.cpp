#include "platform/tty/LineWatcher.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <linux/serial.h>
#include <pthread.h>
#include <sys/ioctl.h>

#include "platform/base/CommWakeEvent.h"

namespace platform {

namespace {

// The signal that interrupts a watcher's wait when its port closes. Its handler does nothing; it is
// installed without SA_RESTART, so the blocked ioctl returns EINTR.
int InterruptSignal() {
    static const int signal = [] {
        int chosen = SIGRTMIN + 5;
        struct sigaction action {};
        action.sa_handler = [](int) {};
        sigemptyset(&action.sa_mask);
        action.sa_flags = 0;
        sigaction(chosen, &action, nullptr);
        return chosen;
    }();
    return signal;
}

bool Refused(int errnum) {
    return errnum == ENOTTY || errnum == EINVAL || errnum == EOPNOTSUPP;
}

} // namespace

int LineWatcher::WaitForChange(int fd) {
    return ioctl(fd, TIOCMIWAIT, TIOCM_CTS | TIOCM_DSR | TIOCM_CD | TIOCM_RNG) == 0 ? 0 : errno;
}

std::uint64_t LineWatcher::ReadLineState(int fd) {
    constexpr std::uint64_t kFromLines = std::uint64_t{1} << 63;
    serial_icounter_struct counts{};
    if (ioctl(fd, TIOCGICOUNT, &counts) == 0)
        return static_cast<std::uint64_t>(static_cast<unsigned>(counts.cts)) +
               static_cast<unsigned>(counts.dsr) + static_cast<unsigned>(counts.rng) +
               static_cast<unsigned>(counts.dcd);
    int bits = 0;
    if (ioctl(fd, TIOCMGET, &bits) == 0)
        return kFromLines | static_cast<unsigned>(bits & (TIOCM_CTS | TIOCM_DSR | TIOCM_CD | TIOCM_RNG));
    return 0;
}

LineWatcher::LineWatcher(int fd, WaitFunction wait, StateFunction state) : m_fd(fd), m_wait(wait), m_state(state) {
    InterruptSignal();
    m_thread = std::thread([this] { Run(); });
}

LineWatcher::~LineWatcher() {
    m_stop.store(true);
    // A signal that lands just before the thread enters its wait is lost, so it is sent again until
    // the thread is out.
    while (!m_exited.load(std::memory_order_acquire)) {
        pthread_kill(m_thread.native_handle(), InterruptSignal());
        std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
    m_thread.join();
}

void LineWatcher::Run() {
    std::uint64_t reported = m_state(m_fd);
    while (!m_stop.load()) {
        // What changed since the last report, while no wait was there to notice it, is reported now.
        const std::uint64_t now = m_state(m_fd);
        if (now != reported) {
            reported = now;
            Report();
        }
        int result = m_wait(m_fd);
        if (m_stop.load())
            break;
        if (result == EINTR)
            continue;
        if (result != 0) {
            // Refused, or the device has gone (EIO): the lines are read afresh and, if refused,
            // polled from now on; a device that is gone fails its next call.
            if (Refused(result))
                m_supported.store(false, std::memory_order_relaxed);
            Report();
            break;
        }
        reported = m_state(m_fd);
        Report();
    }
    m_exited.store(true, std::memory_order_release);
}

void LineWatcher::Report() {
    m_changed.store(true, std::memory_order_release);
    CommWakeEvent::Instance().Signal();
}

} // namespace platform
