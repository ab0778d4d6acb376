#pragma once
// Waits, in a thread of its own, for a change of a tty's input modem lines (CTS, DSR, DCD, RI) and
// wakes the message loop when one comes: a silent line then costs nothing, and a change still shows
// at once. The thread blocks in TIOCMIWAIT; a driver that refuses it makes Supported() false, and
// its lines must then be polled. Nothing above the platform layer sees the thread.
//
// The driver's wait only notices changes made after it was entered, so a change that lands while the
// thread is between two waits would go unreported until some later change. The thread therefore
// notes the lines' state (their transition counts, or the lines themselves) when it reports a change,
// and again just before waiting once more; a difference is reported at once.

#include <atomic>
#include <cstdint>
#include <thread>

namespace platform {

class LineWatcher {
public:
    // Blocks until an input line changes: 0 then, otherwise an errno value (EINTR when a signal
    // interrupted the wait).
    using WaitFunction = int (*)(int fd);
    static int WaitForChange(int fd);
    // A value that differs whenever an input line has changed in between: the sum of the driver's
    // transition counts, or, where it keeps none, the input lines themselves.
    using StateFunction = std::uint64_t (*)(int fd);
    static std::uint64_t ReadLineState(int fd);

    // Starts watching fd. Tests pass their own wait and state.
    explicit LineWatcher(int fd, WaitFunction wait = &WaitForChange, StateFunction state = &ReadLineState);
    // Stops the thread (a signal interrupts its wait) and joins it.
    ~LineWatcher();
    LineWatcher(const LineWatcher&) = delete;
    LineWatcher& operator=(const LineWatcher&) = delete;

    // False once the driver has refused to report changes.
    bool Supported() const { return m_supported.load(std::memory_order_relaxed); }
    // False once the thread has stopped: the driver refused, or the device went away (EIO).
    bool Watching() const { return !m_exited.load(std::memory_order_acquire); }
    // True once after each change (and after the thread stopped): the lines must be read afresh.
    bool TakeChanged() {
        return m_changed.load(std::memory_order_relaxed) && m_changed.exchange(false, std::memory_order_acquire);
    }

private:
    void Run();
    void Report();

    int m_fd;
    WaitFunction m_wait;
    StateFunction m_state;
    std::atomic<bool> m_stop{false};
    std::atomic<bool> m_exited{false};
    std::atomic<bool> m_changed{false};
    std::atomic<bool> m_supported{true};
    std::thread m_thread;
};

} // namespace platform
