#pragma once
// The table of open registry keys. A handle value is never given out twice in a process, so a key
// used after it was closed is always recognised as closed rather than mistaken for a newer key.

#include "platform/hardware/Registry.h"
#include "platform/hardware/RegistryKey.h"

#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <unordered_map>

class RegistryHandles {
public:
    struct OpenKey {
        std::shared_ptr<const RegistryKey> key;
        REGSAM access;
    };

    static RegistryHandles& Instance();

    HKEY Add(std::shared_ptr<const RegistryKey> key, REGSAM access);
    std::optional<OpenKey> Find(HKEY handle) const;
    bool Remove(HKEY handle);
    std::size_t Count() const;

private:
    mutable std::mutex m_mutex;
    std::unordered_map<std::uintptr_t, OpenKey> m_open;
    std::uintptr_t m_next = 0x1000;
};
