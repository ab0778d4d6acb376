#pragma once
// A fixed ring of bytes for one reader and one writer at a time, without locks: the in-process
// devices keep their received bytes here so that reading one byte costs a few loads and stores.

#include <atomic>
#include <cstddef>
#include <memory>

#include "platform/base/WinTypes.h"

namespace platform {

class ByteRing {
public:
    // capacity is rounded up to a power of two.
    explicit ByteRing(std::size_t capacity);

    // Writer side: appends what fits and returns how many bytes that was.
    std::size_t Push(const BYTE* data, std::size_t length);
    // Reader side: takes up to length bytes and returns how many it took.
    std::size_t Pop(BYTE* out, std::size_t length);
    // Reader side: drops everything held.
    void Clear();

    std::size_t Size() const;
    bool Empty() const { return Size() == 0; }
    std::size_t Capacity() const { return m_mask + 1; }

private:
    std::unique_ptr<BYTE[]> m_data;
    std::size_t m_mask;
    alignas(64) std::atomic<std::size_t> m_head{0}; // next byte to read
    alignas(64) std::atomic<std::size_t> m_tail{0}; // next place to write
};

} // namespace platform
