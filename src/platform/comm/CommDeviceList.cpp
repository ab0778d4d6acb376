#include "platform/comm/CommDeviceList.h"

#include <algorithm>

#include "platform/comm/CommDevice.h"

namespace platform {

namespace {
constinit CommDeviceList g_list;
}

CommDeviceList& CommDeviceList::Instance() noexcept {
    return g_list;
}

bool CommDeviceList::ReadAhead(CommDevice* device) {
    return device->ReadAhead();
}

bool CommDeviceList::AnyReadAheadLocked() {
    std::lock_guard lock(m_mutex);
    bool any = false;
    for (CommDevice* device : m_devices)
        any = device->ReadAhead() || any;
    return any;
}

// Under the lock.
void CommDeviceList::Recount() {
    m_count.store(static_cast<int>(m_devices.size()), std::memory_order_relaxed);
    m_only.store(m_devices.size() == 1 ? m_devices.front() : nullptr, std::memory_order_release);
}

void CommDeviceList::Add(CommDevice* device) {
    std::lock_guard lock(m_mutex);
    m_devices.push_back(device);
    Recount();
}

void CommDeviceList::Remove(CommDevice* device) {
    std::lock_guard lock(m_mutex);
    std::erase(m_devices, device);
    Recount();
}

int CommDeviceList::SoonestWake() const {
    std::lock_guard lock(m_mutex);
    int soonest = -1;
    for (const CommDevice* device : m_devices) {
        int wake = device->WakeAfterMs();
        if (wake >= 0 && (soonest < 0 || wake < soonest))
            soonest = wake;
    }
    return soonest;
}

} // namespace platform
