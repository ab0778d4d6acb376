#include "platform/base/HandleTable.h"

namespace platform {

namespace {

constexpr std::uint32_t kIndexBits = 16;
constexpr std::uint32_t kIndexMask = (1u << kIndexBits) - 1;
constexpr std::uint32_t kGenerations = 0x7FFF; // keeps every handle below 2^31: never -1, never 0

constinit HandleTable g_table;

} // namespace

HandleTable& HandleTable::Instance() noexcept {
    return g_table;
}

bool HandleTable::Decode(HANDLE handle, std::uint32_t& index, std::uint32_t& generation) noexcept {
    auto value = reinterpret_cast<std::uintptr_t>(handle);
    if (value == 0 || value > 0x7FFFFFFFu)
        return false;
    std::uint32_t slot = static_cast<std::uint32_t>(value) & kIndexMask;
    if (slot == 0 || slot > kCapacity)
        return false;
    index = slot - 1;
    generation = static_cast<std::uint32_t>(value) >> kIndexBits;
    return true;
}

HANDLE HandleTable::Insert(std::unique_ptr<HandleObject>& object) {
    std::lock_guard lock(m_mutex);
    std::uint32_t index;
    if (m_freeCount > 0)
        index = m_freeSlots[--m_freeCount];
    else if (m_neverUsed < kCapacity)
        index = m_neverUsed++;
    else
        return INVALID_HANDLE_VALUE;
    Slot& slot = m_slots[index];
    std::uint32_t generation = slot.generation.load(std::memory_order_relaxed);
    slot.object.store(object.release(), std::memory_order_release);
    auto value = (static_cast<std::uintptr_t>(generation) << kIndexBits) | (index + 1);
    return reinterpret_cast<HANDLE>(value);
}

HandleObject* HandleTable::Find(HANDLE handle) const noexcept {
    std::uint32_t index = 0;
    std::uint32_t generation = 0;
    if (!Decode(handle, index, generation))
        return nullptr;
    const Slot& slot = m_slots[index];
    if (slot.generation.load(std::memory_order_acquire) != generation)
        return nullptr;
    return slot.object.load(std::memory_order_acquire);
}

std::unique_ptr<HandleObject> HandleTable::Remove(HANDLE handle) {
    std::uint32_t index = 0;
    std::uint32_t generation = 0;
    if (!Decode(handle, index, generation))
        return nullptr;
    std::lock_guard lock(m_mutex);
    Slot& slot = m_slots[index];
    HandleObject* object = slot.object.load(std::memory_order_relaxed);
    if (object == nullptr || slot.generation.load(std::memory_order_relaxed) != generation)
        return nullptr;
    slot.object.store(nullptr, std::memory_order_release);
    slot.generation.store(generation % kGenerations + 1, std::memory_order_release);
    m_freeSlots[m_freeCount++] = index;
    return std::unique_ptr<HandleObject>(object);
}

} // namespace platform
