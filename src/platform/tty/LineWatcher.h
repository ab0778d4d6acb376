#pragma once
// Waits, in a thread of its own, for a change of a tty's input modem lines (CTS, DSR, DCD, RI) and
// wakes the message loop when one comes: a silent line then costs nothing, and a change still shows
// at once. The thread blocks in TIOCMIWAIT; a driver that refuses it makes Supported() false, and
// its lines must then be polled. Nothing above the platform layer sees the thread.

#include <atomic>
#include <thread>

namespace platform {

class LineWatcher {
public:
    // Blocks until an input line changes: 0 then, otherwise an errno value (EINTR when a signal
    // interrupted the wait).
    using WaitFunction = int (*)(int fd);
    static int WaitForChange(int fd);

    // Starts watching fd. Tests pass their own wait.
    explicit LineWatcher(int fd, WaitFunction wait = &WaitForChange);
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
    std::atomic<bool> m_stop{false};
    std::atomic<bool> m_exited{false};
    std::atomic<bool> m_changed{false};
    std::atomic<bool> m_supported{true};
    std::thread m_thread;
};

} // namespace platform
