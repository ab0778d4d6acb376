#include "platform/hardware/RegistryHandles.h"

namespace {

// Handle values step by 16 from here; far below the predefined keys' values and never zero.
constexpr std::uintptr_t kHandleStep = 0x10;

} // namespace

RegistryHandles& RegistryHandles::Instance() {
    static RegistryHandles handles;
    return handles;
}

HKEY RegistryHandles::Add(std::shared_ptr<const RegistryKey> key, REGSAM access) {
    std::lock_guard lock(m_mutex);
    const auto value = m_next;
    m_next += kHandleStep;
    m_open.emplace(value, OpenKey{std::move(key), access});
    return reinterpret_cast<HKEY>(value);
}

std::optional<RegistryHandles::OpenKey> RegistryHandles::Find(HKEY handle) const {
    std::lock_guard lock(m_mutex);
    const auto found = m_open.find(reinterpret_cast<std::uintptr_t>(handle));
    if (found == m_open.end()) {
        return std::nullopt;
    }
    return found->second;
}

bool RegistryHandles::Remove(HKEY handle) {
    std::lock_guard lock(m_mutex);
    return m_open.erase(reinterpret_cast<std::uintptr_t>(handle)) != 0;
}

std::size_t RegistryHandles::Count() const {
    std::lock_guard lock(m_mutex);
    return m_open.size();
}
