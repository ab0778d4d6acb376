#include "platform/tty/ReceiveQueue.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <unistd.h>
#include <utility>

#include "platform/base/Check.h"

namespace platform {

namespace {

constexpr std::size_t kLargestCap = std::size_t{256} << 20;
std::atomic<std::size_t> g_capForTests{0};

} // namespace

std::size_t ReceiveQueue::DefaultCap() {
    if (std::size_t forTests = g_capForTests.load(std::memory_order_relaxed))
        return forTests;
    const long pages = sysconf(_SC_PHYS_PAGES);
    const long pageSize = sysconf(_SC_PAGESIZE);
    if (pages <= 0 || pageSize <= 0)
        return kLargestCap;
    const auto eighth = static_cast<std::size_t>(pages) / 8 * static_cast<std::size_t>(pageSize);
    return std::max(kBlockSize, std::min(kLargestCap, eighth));
}

void ReceiveQueue::SetCapForTests(std::size_t bytes) {
    g_capForTests.store(bytes, std::memory_order_relaxed);
}

ReceiveQueue::ReceiveQueue() : m_cap(DefaultCap()) {}

bool ReceiveQueue::WaitForRoom(const std::atomic<bool>& stopping) {
    std::unique_lock lock(m_mutex);
    if (m_queued.load(std::memory_order_relaxed) >= m_cap) {
        m_full = true;
        // Going on at once would take a byte at a time off the line; a quarter of the cap is room
        // enough to read in blocks again.
        const std::size_t resumeAt = m_cap - m_cap / 4;
        m_roomMade.wait(lock, [&] {
            return stopping.load(std::memory_order_relaxed) || m_queued.load(std::memory_order_relaxed) <= resumeAt;
        });
        m_full = false;
    }
    return !stopping.load(std::memory_order_relaxed);
}

std::size_t ReceiveQueue::Room() const {
    const std::size_t queued = m_queued.load(std::memory_order_relaxed);
    return queued < m_cap ? m_cap - queued : 0;
}

ReceiveQueue::Block ReceiveQueue::NewBlock() {
    Block block;
    block.bytes = m_spare.bytes ? std::move(m_spare.bytes) : std::make_unique<BYTE[]>(kBlockSize);
    return block;
}

bool ReceiveQueue::Append(const BYTE* bytes, std::size_t count) {
    std::lock_guard lock(m_mutex);
    for (std::size_t left = count; left > 0;) {
        if (m_blocks.empty() || m_blocks.back().size == kBlockSize)
            m_blocks.push_back(NewBlock());
        Block& last = m_blocks.back();
        const std::size_t part = std::min(left, kBlockSize - last.size);
        std::memcpy(last.bytes.get() + last.size, bytes, part);
        last.size += part;
        bytes += part;
        left -= part;
    }
    m_queued.fetch_add(count, std::memory_order_relaxed);
    m_received.fetch_add(count, std::memory_order_relaxed);
    const bool wake = m_readerDry && count > 0;
    if (wake) {
        m_readerDry = false;
        m_wakeOwed = true;
    }
    return wake;
}

bool ReceiveQueue::WakeStillOwed() {
    std::lock_guard lock(m_mutex);
    return std::exchange(m_wakeOwed, false);
}

bool ReceiveQueue::End(int errnum) {
    std::lock_guard lock(m_mutex);
    m_end = errnum;
    const bool wake = m_readerDry;
    m_readerDry = false;
    return wake;
}

void ReceiveQueue::Interrupt() {
    std::lock_guard lock(m_mutex);
    m_roomMade.notify_all();
}

bool ReceiveQueue::Take(Block& block) {
    std::lock_guard lock(m_mutex);
    if (m_blocks.empty()) {
        m_readerDry = true;
        return false;
    }
    m_wakeOwed = false;
    m_lastTaken.store(std::chrono::steady_clock::now().time_since_epoch().count(), std::memory_order_relaxed);
    if (block.bytes && !m_spare.bytes)
        m_spare.bytes = std::move(block.bytes);
    block = std::move(m_blocks.front());
    m_blocks.pop_front();
    // A block is made only for bytes to go into it; the reader takes an empty one for "nothing".
    MT_CHECK(block.size > 0 && block.size <= m_queued.load(std::memory_order_relaxed));
    const std::size_t left = m_queued.fetch_sub(block.size, std::memory_order_relaxed) - block.size;
    if (m_full && left <= m_cap - m_cap / 4)
        m_roomMade.notify_all();
    return true;
}

bool ReceiveQueue::Ended(int& errnum) const {
    std::lock_guard lock(m_mutex);
    if (m_end < 0 || !m_blocks.empty())
        return false;
    errnum = m_end;
    return true;
}

void ReceiveQueue::Restart() {
    std::lock_guard lock(m_mutex);
    m_end = -1;
}

} // namespace platform
