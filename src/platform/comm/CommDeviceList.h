#pragma once
// The communications devices open in this process, for the message loop's questions: is any port
// open, has one received bytes, and how soon must one be looked at again.

#include <atomic>
#include <mutex>
#include <vector>

namespace platform {

class CommDevice;

class CommDeviceList {
public:
    static CommDeviceList& Instance() noexcept;
    constexpr CommDeviceList() = default;

    void Add(CommDevice* device);
    void Remove(CommDevice* device);
    bool AnyOpen() const { return m_count.load(std::memory_order_relaxed) > 0; }
    // True when a device has bytes for a read or news to report; each first takes what it has
    // received (CommDevice::ReadAhead). Asked before every idle turn: with one device open (the usual
    // case) it takes no lock.
    bool AnyReadAhead() {
        if (CommDevice* only = m_only.load(std::memory_order_acquire))
            return ReadAhead(only);
        return m_count.load(std::memory_order_relaxed) > 0 && AnyReadAheadLocked();
    }
    // The shortest WakeAfterMs of the open devices; -1 when none asks.
    int SoonestWake() const;

private:
    static bool ReadAhead(CommDevice* device);
    bool AnyReadAheadLocked();
    void Recount();

    mutable std::mutex m_mutex;
    std::vector<CommDevice*> m_devices;
    std::atomic<int> m_count{0};
    // The device while exactly one is open. Devices are used by one thread at a time, as handles
    // are; closing clears it before the device goes.
    std::atomic<CommDevice*> m_only{nullptr};
};

} // namespace platform
