#include "support/SimulatedHandle.h"

#include <algorithm>
#include <utility>

#include "platform/comm/CommRules.h"
#include "platform/base/LastError.h"

namespace platform {

namespace {

bool Simulated() {
    return Fail(ERROR_GEN_FAILURE);
}

} // namespace

// Made by SimulatedDevice::Open, which holds the device's mutex.
SimulatedHandle::SimulatedHandle(std::shared_ptr<SimulatedDevice> device, bool overlapped)
    : CommDevice(overlapped), m_device(std::move(device)), m_plugIns(m_device->m_plugIns) {
    Keep();
}

void SimulatedHandle::Keep() {
    m_dcb = m_device->m_dcb;
    m_timeouts = m_device->m_timeouts;
    m_dtr = m_device->m_dtr;
    m_rts = m_device->m_rts;
}

bool SimulatedHandle::Attached() {
    SimulatedDevice& device = *m_device;
    if (device.m_unplugged)
        return FailText(ERROR_DEVICE_NOT_CONNECTED, "The device has gone away");
    if (m_plugIns != device.m_plugIns) {
        m_plugIns = device.m_plugIns;
        device.m_dcb = m_dcb;
        device.m_timeouts = m_timeouts;
        device.m_dtr = m_dtr;
        device.m_rts = m_rts;
    }
    return true;
}

SimulatedHandle::~SimulatedHandle() {
    std::lock_guard lock(m_device->m_mutex);
    m_device->m_open = false;
}

void SimulatedHandle::Note(Op op) {
    SimulatedDevice::Call call{};
    call.op = op;
    m_device->Record(std::move(call));
}

bool SimulatedHandle::Read(void* buffer, DWORD length, DWORD& done, const Transfer& how) {
    done = 0;
    std::lock_guard lock(m_device->m_mutex);
    m_device->Record({.op = how.withCompletion ? Op::ReadFileEx : Op::ReadFile});
    if (m_device->Failing(Fault::Read))
        return Simulated();
    auto& input = m_device->m_input;
    // What the device was given before it went is read first.
    bool givenBefore = m_device->m_unplugged && !input.empty();
    if (!givenBefore && !Attached())
        return false;
    auto count = std::min<std::size_t>(length, input.size());
    std::copy_n(input.begin(), count, static_cast<char*>(buffer));
    input.erase(input.begin(), input.begin() + static_cast<std::ptrdiff_t>(count));
    done = static_cast<DWORD>(count);
    return true;
}

bool SimulatedHandle::Write(const void* buffer, DWORD length, DWORD& done, const Transfer& how) {
    done = 0;
    std::lock_guard lock(m_device->m_mutex);
    m_device->Record({.op = how.withCompletion ? Op::WriteFileEx : Op::WriteFile});
    if (m_device->Failing(Fault::Write))
        return Simulated();
    if (!Attached())
        return false;
    m_device->m_written.append(static_cast<const char*>(buffer), length);
    done = length;
    return true;
}

bool SimulatedHandle::Close() {
    std::lock_guard lock(m_device->m_mutex);
    Note(Op::CloseHandle);
    return true;
}

bool SimulatedHandle::GetState(DCB& dcb) {
    std::lock_guard lock(m_device->m_mutex);
    bool failing = m_device->Failing(Fault::GetCommState);
    if (!failing && !Attached()) {
        m_device->Record({.op = Op::GetCommState});
        return false;
    }
    if (!failing)
        dcb = m_device->m_dcb;
    m_device->Record({.op = Op::GetCommState, .dcb = failing ? DCB{} : dcb});
    return !failing || Simulated();
}

bool SimulatedHandle::SetState(const DCB& dcb) {
    std::lock_guard lock(m_device->m_mutex);
    m_device->Record({.op = Op::SetCommState, .dcb = dcb});
    if (!Attached())
        return false;
    m_device->m_dcb = dcb;
    m_device->DriveLines(dcb);
    Keep();
    return true;
}

bool SimulatedHandle::SetTimeouts(const COMMTIMEOUTS& timeouts) {
    std::lock_guard lock(m_device->m_mutex);
    m_device->Record({.op = Op::SetCommTimeouts, .timeouts = timeouts});
    if (m_device->Failing(Fault::SetCommTimeouts))
        return Simulated();
    if (!Attached())
        return false;
    m_device->m_timeouts = timeouts;
    Keep();
    return true;
}

bool SimulatedHandle::Escape(DWORD function) {
    std::lock_guard lock(m_device->m_mutex);
    m_device->Record({.op = Op::EscapeCommFunction, .code = function});
    if (!Attached())
        return false;
    if (LineHeldByHandshake(m_device->m_dcb, function))
        return Fail(ERROR_INVALID_PARAMETER);
    switch (function) {
    case SETRTS:
    case CLRRTS:
        m_device->m_rts = m_rts = function == SETRTS;
        return true;
    case SETDTR:
    case CLRDTR:
        m_device->m_dtr = m_dtr = function == SETDTR;
        return true;
    case SETXOFF:
    case SETXON:
    case SETBREAK:
    case CLRBREAK:
        return true;
    default:
        return Fail(ERROR_INVALID_PARAMETER);
    }
}

bool SimulatedHandle::ModemStatus(DWORD& status) {
    std::lock_guard lock(m_device->m_mutex);
    Note(Op::GetCommModemStatus);
    if (m_device->Failing(Fault::GetCommModemStatus))
        return Simulated();
    if (!Attached())
        return false;
    const SimulatedDevice& d = *m_device;
    status = (d.m_cts ? MS_CTS_ON : 0) | (d.m_dsr ? MS_DSR_ON : 0) | (d.m_ri ? MS_RING_ON : 0) |
             (d.m_dcd ? MS_RLSD_ON : 0);
    return true;
}

bool SimulatedHandle::IoControl(DWORD code, void* out, DWORD outSize, DWORD& returned) {
    {
        std::lock_guard lock(m_device->m_mutex);
        m_device->Record({.op = Op::DeviceIoControl, .code = code});
    }
    return CommDevice::IoControl(code, out, outSize, returned);
}

bool SimulatedHandle::DtrRts(DWORD& lines) {
    std::lock_guard lock(m_device->m_mutex);
    if (!Attached())
        return false;
    lines = (m_device->m_dtr ? SERIAL_DTR_STATE : 0) | (m_device->m_rts ? SERIAL_RTS_STATE : 0);
    return true;
}

bool SimulatedHandle::Stats(SERIALPERF_STATS& stats) {
    std::lock_guard lock(m_device->m_mutex);
    if (m_device->Failing(Fault::GetStats))
        return Simulated();
    if (!Attached())
        return false;
    stats = m_device->m_stats;
    return true;
}

bool SimulatedHandle::ReadAhead() {
    std::lock_guard lock(m_device->m_mutex);
    return !m_device->m_input.empty();
}

} // namespace platform
