#pragma once
// The communications devices open in this process, for the message loop's questions: is any port
// open, and does one hold bytes already.

#include <atomic>
#include <mutex>
#include <vector>

namespace platform {

class CommDevice;

class CommDeviceList {
public:
    static CommDeviceList& Instance();

    // Adds the device and puts its descriptor (if any) in the wait set.
    void Add(CommDevice* device);
    void Remove(CommDevice* device);
    bool AnyOpen() const { return m_count.load(std::memory_order_relaxed) > 0; }
    bool AnyBufferedInput() const;

private:
    mutable std::mutex m_mutex;
    std::vector<CommDevice*> m_devices;
    std::atomic<int> m_count{0};
};

} // namespace platform
