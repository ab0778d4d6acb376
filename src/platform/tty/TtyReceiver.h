#pragma once
// Reads a tty whatever the rest of the program is doing, as a serial driver receives into its own
// buffer: a thread waits on the descriptor and moves what arrives into the handle's ReceiveQueue at
// once, so that a modal dialog or a busy user interface thread loses nothing that the line sends.
// The message loop is woken (through the comm wake event) when the queue goes from empty, as its
// reader saw it, to holding bytes, and when the device goes away (end of file, EIO, ENXIO). While
// bytes stream in it is woken at most once per kWakeInterval, the pace at which the window draws
// streaming text: the first bytes after a quiet spell wake it at once (a typed character's echo
// shows without delay), later ones wait for the interval's end, so that a line arriving every few
// milliseconds costs the window one wake-up per frame rather than one per line. At the queue's cap
// the thread stops reading until the reader has made room.
//
// The descriptor belongs to the device, which stops the receiver before it closes it. Nothing above
// the platform layer sees the thread.

#include <atomic>
#include <chrono>
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
    // The shortest time between two wake-ups of the loop while bytes stream in: a frame of
    // streaming text.
    static constexpr std::chrono::milliseconds kWakeInterval{33};

private:
    using Clock = std::chrono::steady_clock;

    // A line that would send fewer bytes than this before a deferred wake-up is due trickles: what
    // it sends may wait in the kernel until then (a 115200-baud line sends about 400 bytes in an
    // interval; a pseudo-terminal holds about 20 KB, a UART's driver more).
    static constexpr std::size_t kTrickle = 4096;

    void Run();
    // Reads what the kernel holds into the queue: one read, or, when `all`, until nothing is left
    // or the queue is at its cap. False once the device has gone.
    bool ReadLine(BYTE* scratch, bool all);
    // The line at its present pace would send little in `span`.
    bool TricklesFor(Clock::duration span) const;
    void LookAgainIfTrickling(std::uint64_t receivedBefore);
    void NoteRate(std::size_t bytes);
    // How long the next wait may last: until a deferred wake-up is due, or for ever.
    int WaitMs() const;
    void Deliver(const BYTE* bytes, std::size_t count);
    // The reader ran dry and bytes came: it is woken now or, within an interval of its last visit,
    // at the interval's end.
    void WakeReader();
    void WakeIfStillOwed();
    void Signal();
    void Finish(int errnum);
    bool DsrUp() const;

    int m_fd;
    ReceiveQueue& m_queue;
    int m_wake; // an eventfd that ends the thread's wait when it must stop
    std::atomic<bool> m_stop{false};
    std::atomic<bool> m_dsrSensitive;
    // The thread's own: when the loop was last woken, and when the line is next looked at and the
    // loop woken if it is owed a wake-up (max: whenever the line has something).
    Clock::time_point m_lastWake{};
    Clock::time_point m_wakeDue = Clock::time_point::max();
    Clock::time_point m_paceFrom{}; // the interval under way for the line's pace ...
    std::size_t m_paceBytes = 0;     // ... the bytes read in it ...
    Clock::time_point m_lastRead{};  // ... and the read that last found some
    double m_lastPace = 0;           // bytes per second over the last whole interval
    double m_bytesPerSecond = 0;     // the line's pace, as NoteRate last found it
    unsigned m_paceReads = 0;        // reads that found bytes since the line was last quiet
    std::thread m_thread;
};

} // namespace platform
