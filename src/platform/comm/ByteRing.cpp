#include "platform/comm/ByteRing.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace platform {

ByteRing::ByteRing(std::size_t capacity)
    : m_data(new BYTE[std::bit_ceil(std::max<std::size_t>(capacity, 2))]),
      m_mask(std::bit_ceil(std::max<std::size_t>(capacity, 2)) - 1) {}

std::size_t ByteRing::Push(const BYTE* data, std::size_t length) {
    std::size_t tail = m_tail.load(std::memory_order_relaxed);
    std::size_t head = m_head.load(std::memory_order_acquire);
    std::size_t count = std::min(length, Capacity() - (tail - head));
    std::size_t start = tail & m_mask;
    std::size_t first = std::min(count, Capacity() - start);
    std::memcpy(m_data.get() + start, data, first);
    std::memcpy(m_data.get(), data + first, count - first);
    m_tail.store(tail + count, std::memory_order_release);
    return count;
}

std::size_t ByteRing::Pop(BYTE* out, std::size_t length) {
    std::size_t head = m_head.load(std::memory_order_relaxed);
    std::size_t tail = m_tail.load(std::memory_order_acquire);
    std::size_t count = std::min(length, tail - head);
    if (count == 0)
        return 0;
    std::size_t start = head & m_mask;
    if (count == 1) {
        *out = m_data[start];
    } else {
        std::size_t first = std::min(count, Capacity() - start);
        std::memcpy(out, m_data.get() + start, first);
        std::memcpy(out + first, m_data.get(), count - first);
    }
    m_head.store(head + count, std::memory_order_release);
    return count;
}

void ByteRing::Clear() {
    m_head.store(m_tail.load(std::memory_order_acquire), std::memory_order_release);
}

std::size_t ByteRing::Size() const {
    // Head first: it never passes the tail, so a tail read afterwards is never behind it.
    std::size_t head = m_head.load(std::memory_order_acquire);
    return m_tail.load(std::memory_order_acquire) - head;
}

} // namespace platform
