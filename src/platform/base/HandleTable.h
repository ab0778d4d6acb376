#pragma once
// The process's handles. A handle is a small integer: a slot number in the low 16 bits and the
// slot's generation above it, so a closed handle stays invalid when its slot is reused. Lookup is
// two atomic loads and never allocates; inserting and removing take a lock.

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>

#include "platform/base/HandleObject.h"

namespace platform {

class HandleTable {
public:
    static constexpr std::uint32_t kCapacity = 4096;

    static HandleTable& Instance() noexcept;

    // A new handle for the object, which the table then owns; INVALID_HANDLE_VALUE when every slot
    // is taken, and the object stays with the caller.
    HANDLE Insert(std::unique_ptr<HandleObject>& object);
    // The object a handle names, nullptr for anything that is not an open handle.
    HandleObject* Find(HANDLE handle) const noexcept;
    // Takes the object out of the table; the handle is invalid from then on.
    std::unique_ptr<HandleObject> Remove(HANDLE handle);

    constexpr HandleTable() = default;

private:
    struct Slot {
        std::atomic<HandleObject*> object{nullptr};
        std::atomic<std::uint32_t> generation{1};
    };

    static bool Decode(HANDLE handle, std::uint32_t& index, std::uint32_t& generation) noexcept;

    std::mutex m_mutex;
    Slot m_slots[kCapacity];
    std::uint32_t m_freeSlots[kCapacity] = {};
    std::uint32_t m_freeCount = 0;
    std::uint32_t m_neverUsed = 0; // slots from here on have not been handed out yet
};

} // namespace platform
