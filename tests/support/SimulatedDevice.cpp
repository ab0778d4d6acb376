#include "support/SimulatedDevice.h"

#include <algorithm>
#include <utility>

#include "platform/comm/CommRules.h"
#include "platform/base/CommWakeEvent.h"
#include "platform/base/FileTypes.h"
#include "platform/base/LastError.h"
#include "support/SimulatedHandle.h"
#include "platform/comm/NamedDevices.h"

namespace platform {

std::shared_ptr<SimulatedDevice> SimulatedDevice::Register(const std::string& portName) {
    auto device = std::make_shared<SimulatedDevice>();
    NamedDevices::Register(portName, [device](const DeviceOpenRequest& request) {
        return device->Open(request.path, request.access, request.shareMode, request.disposition,
                            request.flags);
    });
    return device;
}

void SimulatedDevice::Unregister(const std::string& portName) {
    NamedDevices::Register(portName, {});
}

void SimulatedDevice::UnregisterAll() {
    NamedDevices::UnregisterAll();
}

SimulatedDevice::SimulatedDevice() : m_dcb(DefaultControlBlock()) {}

std::unique_ptr<CommDevice> SimulatedDevice::Open(const char* path, DWORD access, DWORD shareMode,
                                                  DWORD disposition, DWORD flags) {
    std::lock_guard lock(m_mutex);
    Record({.op = Op::CreateFile,
            .path = path,
            .access = access,
            .shareMode = shareMode,
            .disposition = disposition,
            .flags = flags});
    if (m_presence == Presence::Absent) {
        Fail(ERROR_FILE_NOT_FOUND);
        return nullptr;
    }
    if (m_presence == Presence::Busy || m_open) {
        Fail(ERROR_ACCESS_DENIED);
        return nullptr;
    }
    m_open = true;
    return std::make_unique<SimulatedHandle>(shared_from_this(), (flags & FILE_FLAG_OVERLAPPED) != 0);
}

void SimulatedDevice::SetPresence(Presence presence) {
    std::lock_guard lock(m_mutex);
    m_presence = presence;
}

void SimulatedDevice::Unplug() {
    std::lock_guard lock(m_mutex);
    m_unplugged = true;
    m_presence = Presence::Absent;
}

void SimulatedDevice::PlugIn() {
    std::lock_guard lock(m_mutex);
    m_unplugged = false;
    m_presence = Presence::Present;
    ++m_plugIns;
    m_dcb = DefaultControlBlock();
    m_timeouts = COMMTIMEOUTS{};
    m_dtr = m_rts = false;
}

void SimulatedDevice::SetFault(Fault fault, bool failing) {
    std::lock_guard lock(m_mutex);
    m_faults[static_cast<std::size_t>(fault)] = failing;
}

// A line change wakes a loop asleep on the port, as a real device's does.
void SimulatedDevice::SetLine(bool& line, bool on) {
    {
        std::lock_guard lock(m_mutex);
        if (line == on)
            return;
        line = on;
    }
    CommWakeEvent::Instance().Signal();
}

void SimulatedDevice::SetCts(bool on) {
    SetLine(m_cts, on);
}

void SimulatedDevice::SetDsr(bool on) {
    SetLine(m_dsr, on);
}

void SimulatedDevice::SetDcd(bool on) {
    SetLine(m_dcd, on);
}

void SimulatedDevice::SetRi(bool on) {
    SetLine(m_ri, on);
}

bool SimulatedDevice::Dtr() const {
    std::lock_guard lock(m_mutex);
    return m_dtr;
}

bool SimulatedDevice::Rts() const {
    std::lock_guard lock(m_mutex);
    return m_rts;
}

// Counts change as bytes move, which wakes a sleeping loop; so does setting them here.
void SimulatedDevice::SetStats(const SERIALPERF_STATS& stats) {
    {
        std::lock_guard lock(m_mutex);
        m_stats = stats;
    }
    CommWakeEvent::Instance().Signal();
}

void SimulatedDevice::SetDcb(const DCB& dcb) {
    std::lock_guard lock(m_mutex);
    m_dcb = dcb;
}

DCB SimulatedDevice::Dcb() const {
    std::lock_guard lock(m_mutex);
    return m_dcb;
}

void SimulatedDevice::Inject(std::string_view bytes) {
    {
        std::lock_guard lock(m_mutex);
        m_input.insert(m_input.end(), bytes.begin(), bytes.end());
    }
    CommWakeEvent::Instance().Signal();
}

std::string SimulatedDevice::TakeWritten() {
    std::lock_guard lock(m_mutex);
    return std::exchange(m_written, std::string());
}

bool SimulatedDevice::IsOpen() const {
    std::lock_guard lock(m_mutex);
    return m_open;
}

std::vector<SimulatedDevice::Call> SimulatedDevice::Calls() const {
    std::lock_guard lock(m_mutex);
    return m_calls;
}

std::size_t SimulatedDevice::CountOf(Op op) const {
    std::lock_guard lock(m_mutex);
    return static_cast<std::size_t>(
        std::count_if(m_calls.begin(), m_calls.end(), [op](const Call& call) { return call.op == op; }));
}

void SimulatedDevice::ClearCalls() {
    std::lock_guard lock(m_mutex);
    m_calls.clear();
}

// The caller holds m_mutex.
void SimulatedDevice::Record(Call call) {
    m_calls.push_back(std::move(call));
}

// The caller holds m_mutex. Handshaking and toggling leave the line to the driver, which raises it.
void SimulatedDevice::DriveLines(const DCB& dcb) {
    m_dtr = dcb.fDtrControl != DTR_CONTROL_DISABLE;
    m_rts = dcb.fRtsControl != RTS_CONTROL_DISABLE;
}

} // namespace platform
