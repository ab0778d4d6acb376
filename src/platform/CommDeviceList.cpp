#include "platform/CommDeviceList.h"

#include <algorithm>

#include "platform/CommDevice.h"
#include "platform/CommWaitSet.h"

namespace platform {

CommDeviceList& CommDeviceList::Instance() {
    static CommDeviceList list;
    return list;
}

void CommDeviceList::Add(CommDevice* device) {
    CommWaitSet::Instance().Watch(device->WaitDescriptor());
    std::lock_guard lock(m_mutex);
    m_devices.push_back(device);
    m_count.store(static_cast<int>(m_devices.size()), std::memory_order_relaxed);
}

void CommDeviceList::Remove(CommDevice* device) {
    {
        std::lock_guard lock(m_mutex);
        std::erase(m_devices, device);
        m_count.store(static_cast<int>(m_devices.size()), std::memory_order_relaxed);
    }
    CommWaitSet::Instance().Unwatch(device->WaitDescriptor());
}

bool CommDeviceList::AnyBufferedInput() const {
    std::lock_guard lock(m_mutex);
    return std::any_of(m_devices.begin(), m_devices.end(),
                       [](const CommDevice* device) { return device->HasBufferedInput(); });
}

} // namespace platform
