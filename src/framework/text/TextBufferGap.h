#pragma once
// A gap buffer of trivially copyable elements: a sequence with a movable hole, so that a run of
// insertions or deletions at one place costs constant time per element whatever the size.
//
// Storage comes from malloc/realloc rather than std::vector: growing a large block with realloc lets
// the C library remap pages instead of copying them. The gap grows by a quarter of the capacity, not
// by doubling, so that a large text does not carry up to its own size again in slack. A large new gap
// is made resident in one go as it is made: text received a byte at a time would otherwise take a
// page fault every 4096 bytes, which costs more than the bytes themselves.

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <new>
#include <span>
#include <type_traits>
#include <utility>

#include "platform/base/MemoryHints.h"

namespace framework {

template <class T>
class TextBufferGap {
    static_assert(std::is_trivially_copyable_v<T>, "elements are moved with memmove");

public:
    TextBufferGap() = default;
    TextBufferGap(const TextBufferGap&) = delete;
    TextBufferGap& operator=(const TextBufferGap&) = delete;
    TextBufferGap(TextBufferGap&& other) noexcept
        : m_data(std::exchange(other.m_data, nullptr)), m_capacity(std::exchange(other.m_capacity, 0)),
          m_gapStart(std::exchange(other.m_gapStart, 0)), m_gapLength(std::exchange(other.m_gapLength, 0)) {}
    TextBufferGap& operator=(TextBufferGap&& other) noexcept {
        if (this != &other) {
            std::free(m_data);
            m_data = std::exchange(other.m_data, nullptr);
            m_capacity = std::exchange(other.m_capacity, 0);
            m_gapStart = std::exchange(other.m_gapStart, 0);
            m_gapLength = std::exchange(other.m_gapLength, 0);
        }
        return *this;
    }
    ~TextBufferGap() { std::free(m_data); }

    std::size_t Size() const { return m_capacity - m_gapLength; }
    std::size_t CapacityBytes() const { return m_capacity * sizeof(T); }

    const T& operator[](std::size_t i) const { return m_data[i < m_gapStart ? i : i + m_gapLength]; }
    T& operator[](std::size_t i) { return m_data[i < m_gapStart ? i : i + m_gapLength]; }

    // The elements [pos, pos + count) as at most two contiguous pieces (before and after the gap).
    std::array<std::span<const T>, 2> Spans(std::size_t pos, std::size_t count) const {
        const std::size_t end = pos + count;
        if (end <= m_gapStart)
            return {std::span<const T>(m_data + pos, count), std::span<const T>()};
        if (pos >= m_gapStart)
            return {std::span<const T>(m_data + pos + m_gapLength, count), std::span<const T>()};
        return {std::span<const T>(m_data + pos, m_gapStart - pos),
                std::span<const T>(m_data + m_gapStart + m_gapLength, end - m_gapStart)};
    }

    // True when p points into this buffer's storage (a caller copying our own elements back in).
    bool Owns(const T* p) const {
        return m_data != nullptr && std::less_equal<const T*>()(m_data, p) &&
               std::less<const T*>()(p, m_data + m_capacity);
    }

    void Insert(std::size_t pos, const T* source, std::size_t count) {
        if (count == 0)
            return;
        MakeRoom(pos, count);
        std::memcpy(m_data + m_gapStart, source, count * sizeof(T));
        m_gapStart += count;
        m_gapLength -= count;
    }

    // One element: where the last one went, with room left, it is a store and two counts (text
    // received a byte at a time lands here).
    void Insert(std::size_t pos, const T& value) {
        if (pos != m_gapStart || m_gapLength == 0) {
            Insert(pos, &value, 1);
            return;
        }
        m_data[pos] = value;
        m_gapStart = pos + 1;
        --m_gapLength;
        // The gap was made resident long ago and has left the cache since; asking for the line a
        // few ahead keeps each new line's first store from holding up the stores behind it.
        if (m_gapLength > kPrefetchAhead)
            __builtin_prefetch(m_data + pos + kPrefetchAhead, 1);
    }

    void Erase(std::size_t pos, std::size_t count) {
        if (count == 0)
            return;
        MoveGapTo(pos);
        m_gapLength += count;
        ShrinkIfSparse();
    }

    void Clear() {
        std::free(m_data);
        m_data = nullptr;
        m_capacity = m_gapStart = m_gapLength = 0;
    }

    void CopyOut(std::size_t pos, std::size_t count, T* out) const {
        for (const auto& piece : Spans(pos, count)) {
            if (!piece.empty())
                std::memcpy(out, piece.data(), piece.size_bytes());
            out += piece.size();
        }
    }

private:
    static constexpr std::size_t kMinimumGrowth = 4096 / sizeof(T) + 16;
    static constexpr std::size_t kShrinkAbove = (1u << 20) / sizeof(T);
    static constexpr std::size_t kPrepareAbove = 64 * 1024; // bytes
    static constexpr std::size_t kPrefetchAhead = 256 / sizeof(T);

    void MoveGapTo(std::size_t pos) {
        if (pos == m_gapStart)
            return;
        if (pos < m_gapStart) {
            const std::size_t n = m_gapStart - pos;
            std::memmove(m_data + pos + m_gapLength, m_data + pos, n * sizeof(T));
        } else if (pos > m_gapStart) {
            const std::size_t n = pos - m_gapStart;
            std::memmove(m_data + m_gapStart, m_data + m_gapStart + m_gapLength, n * sizeof(T));
        }
        m_gapStart = pos;
    }

    void MakeRoom(std::size_t pos, std::size_t count) {
        if (m_gapLength < count) {
            // Put the gap at the end first: realloc then only has to extend the block and the
            // elements after the gap need not be moved twice.
            MoveGapTo(Size());
            const std::size_t wanted = std::max(Size() + count, m_capacity + m_capacity / 4 + kMinimumGrowth);
            Reallocate(wanted);
        }
        MoveGapTo(pos);
    }

    // Gives back memory once most of it is gap (a large text emptied), keeping a quarter of slack.
    void ShrinkIfSparse() {
        if (m_capacity <= kShrinkAbove || m_gapLength <= m_capacity / 2)
            return;
        MoveGapTo(Size());
        Reallocate(Size() + Size() / 4 + kMinimumGrowth);
    }

    // The gap must be at the end.
    void Reallocate(std::size_t capacity) {
        void* grown = std::realloc(m_data, capacity * sizeof(T));
        if (grown == nullptr)
            throw std::bad_alloc();
        const std::size_t size = Size();
        m_data = static_cast<T*>(grown);
        m_capacity = capacity;
        m_gapLength = capacity - size;
        if (m_gapLength * sizeof(T) >= kPrepareAbove)
            platform::PrepareForWriting(m_data + size, m_gapLength * sizeof(T));
    }

    T* m_data = nullptr;
    std::size_t m_capacity = 0;
    std::size_t m_gapStart = 0;
    std::size_t m_gapLength = 0;
};

} // namespace framework
