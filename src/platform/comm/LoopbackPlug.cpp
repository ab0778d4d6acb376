#include "platform/comm/LoopbackPlug.h"

#include "platform/comm/CommRules.h"
#include "platform/base/CommWakeEvent.h"
#include "platform/base/LastError.h"

namespace platform {

std::atomic<bool> LoopbackPlug::s_held{false};

std::unique_ptr<LoopbackPlug> LoopbackPlug::Open(bool overlapped) {
    if (s_held.exchange(true)) {
        Fail(ERROR_ACCESS_DENIED);
        return nullptr;
    }
    return std::unique_ptr<LoopbackPlug>(new LoopbackPlug(overlapped));
}

LoopbackPlug::LoopbackPlug(bool overlapped)
    : CommDevice(overlapped), m_received(kReceiveBufferSize), m_dcb(DefaultControlBlock()) {}

LoopbackPlug::~LoopbackPlug() {
    s_held.store(false);
}

bool LoopbackPlug::Read(void* buffer, DWORD length, DWORD& done, const Transfer&) {
    done = static_cast<DWORD>(m_received.Pop(static_cast<BYTE*>(buffer), length));
    return true;
}

// CTS comes from our own RTS and DSR from our own DTR, so output flow control follows them.
bool LoopbackPlug::TransmitterBlocked() const {
    if (m_transmitHeld.load())
        return true;
    if (m_dcb.fOutxCtsFlow && !m_rts.load())
        return true;
    return m_dcb.fOutxDsrFlow && !m_dtr.load();
}

bool LoopbackPlug::Write(const void* buffer, DWORD length, DWORD& done, const Transfer&) {
    done = 0;
    if (length == 0)
        return true;
    std::lock_guard lock(m_mutex);
    if (TransmitterBlocked())
        return FailText(ERROR_WRITE_FAULT, "Output is held by flow control");
    // What arrives while DSR is low is thrown away by a DSR-sensitive receiver, yet it was received.
    bool discard = m_dcb.fDsrSensitivity && !m_dtr.load();
    DWORD taken =
        discard ? length : static_cast<DWORD>(m_received.Push(static_cast<const BYTE*>(buffer), length));
    if (taken == 0)
        return FailText(ERROR_WRITE_FAULT, "Receive buffer full");
    m_transmittedCount.fetch_add(taken);
    m_receivedCount.fetch_add(taken);
    done = taken;
    if (!discard)
        CommWakeEvent::Instance().Signal();
    return true;
}

bool LoopbackPlug::GetState(DCB& dcb) {
    std::lock_guard lock(m_mutex);
    dcb = m_dcb;
    return true;
}

bool LoopbackPlug::SetState(const DCB& dcb) {
    DWORD error = CheckControlBlock(dcb);
    if (error == ERROR_SUCCESS && (dcb.BaudRate < kLowestSpeed || dcb.BaudRate > kHighestSpeed))
        error = ERROR_INVALID_PARAMETER;
    if (error != ERROR_SUCCESS)
        return Fail(error);
    std::lock_guard lock(m_mutex);
    m_dcb = dcb;
    m_dcb.DCBlength = sizeof(DCB);
    Drive(m_dtr, dcb.fDtrControl != DTR_CONTROL_DISABLE);
    // With handshaking the receiver raises RTS while it has room; toggling raises it only to send.
    Drive(m_rts, dcb.fRtsControl == RTS_CONTROL_ENABLE || dcb.fRtsControl == RTS_CONTROL_HANDSHAKE);
    return true;
}

bool LoopbackPlug::SetTimeouts(const COMMTIMEOUTS& timeouts) {
    return ReadsReturnAtOnce(timeouts) || Fail(ERROR_NOT_SUPPORTED);
}

// The plug's input lines follow its output lines; a loop asleep on the port must see them change as
// it would see a real device's, whichever thread drove them.
void LoopbackPlug::Drive(std::atomic<bool>& line, bool on) {
    if (line.exchange(on) != on)
        CommWakeEvent::Instance().Signal();
}

bool LoopbackPlug::Escape(DWORD function) {
    {
        std::lock_guard lock(m_mutex);
        if (LineHeldByHandshake(m_dcb, function))
            return Fail(ERROR_INVALID_PARAMETER);
    }
    switch (function) {
    case SETRTS:
    case CLRRTS:
        Drive(m_rts, function == SETRTS);
        return true;
    case SETDTR:
    case CLRDTR:
        Drive(m_dtr, function == SETDTR);
        return true;
    case SETXOFF:
    case SETXON:
        m_transmitHeld.store(function == SETXOFF);
        return true;
    case SETBREAK:
    case CLRBREAK:
        return true;
    default:
        return Fail(ERROR_INVALID_PARAMETER);
    }
}

bool LoopbackPlug::ModemStatus(DWORD& status) {
    status = (m_rts.load() ? MS_CTS_ON : 0) | (m_dtr.load() ? MS_DSR_ON | MS_RLSD_ON : 0);
    return true;
}

bool LoopbackPlug::DtrRts(DWORD& lines) {
    lines = (m_dtr.load() ? SERIAL_DTR_STATE : 0) | (m_rts.load() ? SERIAL_RTS_STATE : 0);
    return true;
}

bool LoopbackPlug::Stats(SERIALPERF_STATS& stats) {
    stats = SERIALPERF_STATS{};
    stats.ReceivedCount = m_receivedCount.load();
    stats.TransmittedCount = m_transmittedCount.load();
    return true;
}

} // namespace platform
