#pragma once
// The built-in loopback plug (COM255), wired like a technician's test plug: every byte written comes
// back to be read, RTS drives CTS, DTR drives DSR and DCD, RI stays off. It checks control blocks as a
// UART does and keeps counters. One open at a time in this process; it is free otherwise.
//
// Bytes that come back wait in a 1 MiB receive buffer; a write takes what fits and fails only when
// nothing fits, as a driver whose buffer is full. Reading is lock-free, so one-byte reads are cheap;
// writes may come from any thread and wake the message loop.

#include <atomic>
#include <memory>
#include <mutex>

#include "platform/comm/ByteRing.h"
#include "platform/comm/CommDevice.h"

namespace platform {

class LoopbackPlug final : public CommDevice {
public:
    static constexpr DWORD kLowestSpeed = 50;
    static constexpr DWORD kHighestSpeed = 4000000;
    static constexpr std::size_t kReceiveBufferSize = std::size_t{1} << 20;

    // nullptr with ERROR_ACCESS_DENIED while the plug is held.
    static std::unique_ptr<LoopbackPlug> Open(bool overlapped);
    ~LoopbackPlug() override;

    bool Read(void* buffer, DWORD length, DWORD& done, const Transfer& how) override;
    bool Write(const void* buffer, DWORD length, DWORD& done, const Transfer& how) override;
    bool Close() override { return true; }

    bool GetState(DCB& dcb) override;
    bool SetState(const DCB& dcb) override;
    bool SetTimeouts(const COMMTIMEOUTS& timeouts) override;
    bool Escape(DWORD function) override;
    bool ModemStatus(DWORD& status) override;
    bool DtrRts(DWORD& lines) override;
    bool Stats(SERIALPERF_STATS& stats) override;
    bool ReadAhead() override { return !m_received.Empty(); }

private:
    explicit LoopbackPlug(bool overlapped);
    bool TransmitterBlocked() const;
    void Drive(std::atomic<bool>& line, bool on);

    static std::atomic<bool> s_held;

    ByteRing m_received;
    mutable std::mutex m_mutex; // the block and the writers
    DCB m_dcb;
    std::atomic<bool> m_dtr{true};
    std::atomic<bool> m_rts{true};
    std::atomic<bool> m_transmitHeld{false};
    std::atomic<DWORD> m_receivedCount{0};
    std::atomic<DWORD> m_transmittedCount{0};
};

} // namespace platform
