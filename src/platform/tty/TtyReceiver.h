#pragma once
// Reads a tty whatever the rest of the program is doing, as a serial driver receives into its own
// buffer: a thread waits on the descriptor and moves what arrives into the handle's ReceiveQueue at
// once, so that a modal dialog or a busy user interface thread loses nothing that the line sends.
// The message loop is woken (through the comm wake event) when the queue goes from empty, as its
// reader saw it, to holding bytes, and when the device goes away (end of file, EIO, ENXIO). At the
// queue's cap the thread stops reading until the reader has made room.
//
// The descriptor belongs to the device, which stops the receiver before it closes it. Nothing above
// the platform layer sees the thread.

#include <atomic>
#include <thread>

#include "platform/tty/ReceiveQueue.h"

namespace platform {

class TtyReceiver {
public:
    TtyReceiver(int fd, ReceiveQueue& queue, bool discardWhileDsrLow);
    // Stops the thread and joins it; the descriptor stays open.
    ~TtyReceiver();
    TtyReceiver(const TtyReceiver&) = delete;
    TtyReceiver& operator=(const TtyReceiver&) = delete;

    // A DSR-sensitive receiver throws away what arrives while DSR is low (a device without modem
    // lines never raises it).
    void DiscardWhileDsrLow(bool on) { m_dsrSensitive.store(on, std::memory_order_relaxed); }

    // The name the thread carries, so that a profile or a benchmark can tell its cost apart.
    static constexpr const char* kThreadName = "martool-rx";

private:
    void Run();
    void Deliver(const BYTE* bytes, std::size_t count);
    void Finish(int errnum);
    bool DsrUp() const;

    int m_fd;
    ReceiveQueue& m_queue;
    int m_wake; // an eventfd that ends the thread's wait when it must stop
    std::atomic<bool> m_stop{false};
    std::atomic<bool> m_dsrSensitive;
    std::thread m_thread;
};

} // namespace platform
