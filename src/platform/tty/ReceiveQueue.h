#pragma once
// What a tty's receiver has taken off the line and the program has not read yet: the receive buffer
// a serial driver keeps whatever its program does. One receiver thread appends, the handle's user
// reads; the queue outlives receivers, so bytes taken before a device went away are still read ahead
// of those its return brings.
//
// It grows a block at a time up to a cap. At the cap the receiver waits for room, leaving what
// arrives in the kernel, whose flow control then holds the sender; it goes on once the reader has
// taken a quarter of the cap. The reader is woken once each time it ran dry, not once per append.

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>

#include "platform/base/WinTypes.h"

namespace platform {

class ReceiveQueue {
public:
    static constexpr std::size_t kBlockSize = 64 * 1024;

    // A run of received bytes as the reader holds it.
    struct Block {
        std::unique_ptr<BYTE[]> bytes;
        std::size_t size = 0;
    };

    // The cap a new queue gets: 256 MiB, or an eighth of physical memory if that is less.
    static std::size_t DefaultCap();
    // Tests make it small (0 puts the default back); queues made afterwards take it.
    static void SetCapForTests(std::size_t bytes);

    ReceiveQueue();
    ReceiveQueue(const ReceiveQueue&) = delete;
    ReceiveQueue& operator=(const ReceiveQueue&) = delete;

    // Receiver side.
    // Blocks while the queue is at its cap; false once `stopping` holds (see Interrupt).
    bool WaitForRoom(const std::atomic<bool>& stopping);
    // How many bytes may be appended now without passing the cap.
    std::size_t Room() const;
    // Appends the bytes; true when the reader ran dry since it last took and must be woken.
    bool Append(const BYTE* bytes, std::size_t count);
    // True, once, when the reader that Append found dry has taken nothing since: a wake-up put off
    // is still owed. A reader that came by itself (woken for something else) is owed none.
    bool WakeStillOwed();
    // Bytes that arrived and were thrown away (a DSR-sensitive receiver while DSR is low): counted
    // as received all the same, as a driver counts them.
    void Discarded(std::size_t count) { m_received.fetch_add(count, std::memory_order_relaxed); }
    // The device has gone (errnum 0: end of file); true when the reader must be woken to hear it.
    bool End(int errnum);
    // Wakes a receiver waiting for room so that it sees its `stopping`.
    void Interrupt();

    // Reader side.
    // Hands the oldest block to `block`, whose spent storage is kept for reuse; false when nothing
    // is waiting, and the next append then wakes the reader.
    bool Take(Block& block);
    // When the reader last took a block (steady clock, in its own ticks; 0 before the first).
    std::int64_t LastTaken() const { return m_lastTaken.load(std::memory_order_relaxed); }
    // True once the receiver ended and everything before the end has been taken; errnum says why.
    bool Ended(int& errnum) const;
    // A new receiver starts on the device that came back: the end is forgotten.
    void Restart();
    // Every byte the receivers have taken off the line since the queue was made.
    std::uint64_t Received() const { return m_received.load(std::memory_order_relaxed); }
    std::size_t Cap() const { return m_cap; }

private:
    // The storage for a new block: the spare one if there is one.
    Block NewBlock();

    const std::size_t m_cap;
    mutable std::mutex m_mutex;
    std::condition_variable m_roomMade;
    std::deque<Block> m_blocks; // oldest first; only the last one is still filling
    Block m_spare;              // storage the reader gave back
    bool m_readerDry = true;    // the reader found nothing and waits to be woken
    bool m_wakeOwed = false;    // bytes came to a dry reader, which has not taken them yet
    bool m_full = false;        // the receiver waits for room
    int m_end = -1;             // errnum once the receiver ended; -1 while it runs
    std::atomic<std::size_t> m_queued{0};
    std::atomic<std::uint64_t> m_received{0};
    std::atomic<std::int64_t> m_lastTaken{0};
};

} // namespace platform
