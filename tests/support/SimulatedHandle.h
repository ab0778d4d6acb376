#pragma once
// An open handle on a SimulatedDevice: records each call on the device and answers it from the
// device's state, failing where the test asked for a failure.

#include <memory>

#include "platform/comm/CommDevice.h"
#include "support/SimulatedDevice.h"

namespace platform {

class SimulatedHandle final : public CommDevice {
public:
    SimulatedHandle(std::shared_ptr<SimulatedDevice> device, bool overlapped);
    ~SimulatedHandle() override;

    bool Read(void* buffer, DWORD length, DWORD& done, const Transfer& how) override;
    bool Write(const void* buffer, DWORD length, DWORD& done, const Transfer& how) override;
    bool Close() override;

    bool GetState(DCB& dcb) override;
    bool SetState(const DCB& dcb) override;
    bool SetTimeouts(const COMMTIMEOUTS& timeouts) override;
    bool Escape(DWORD function) override;
    bool ModemStatus(DWORD& status) override;
    bool DtrRts(DWORD& lines) override;
    bool Stats(SERIALPERF_STATS& stats) override;
    bool IoControl(DWORD code, void* out, DWORD outSize, DWORD& returned) override;
    bool ReadAhead() override;

private:
    using Op = SimulatedDevice::Op;
    using Fault = SimulatedDevice::Fault;

    // Records a call that carries nothing but its kind.
    void Note(Op op);
    // The caller holds the device's mutex. False after recording ERROR_DEVICE_NOT_CONNECTED while
    // the device is unplugged; once it is back, first gives it this handle's settings and lines.
    bool Attached();
    // Remembers what the device holds now, to give it back after it has been plugged in again.
    void Keep();

    std::shared_ptr<SimulatedDevice> m_device;
    unsigned m_plugIns;
    DCB m_dcb{};
    COMMTIMEOUTS m_timeouts{};
    bool m_dtr = false;
    bool m_rts = false;
};

} // namespace platform
