#pragma once
// A real tty as a communications device. Opened non-blocking and held exclusively (flock and
// TIOCEXCL), put in raw mode, and put back as it was found when closed. Reads return at once with
// what has arrived; a 64 KiB read-ahead buffer serves one-byte reads without a system call. Writes
// never block: a byte the driver cannot take now fails the write. Modem lines and driver counters
// are read from the device at most every 10 ms and served from that reading in between.
//
// One thread uses a handle at a time, as with any handle; the read path takes no lock.

#include <asm/termbits.h>
#include <cstdint>
#include <linux/serial.h>
#include <memory>
#include <string>

#include "platform/CommDevice.h"

namespace platform {

class TtyDevice final : public CommDevice {
public:
    static constexpr std::size_t kReadAheadSize = 64 * 1024;

    static std::unique_ptr<TtyDevice> Open(const std::string& path, bool overlapped);
    ~TtyDevice() override;

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
    bool HasBufferedInput() const override { return m_readPos < m_readEnd; }
    int WaitDescriptor() const override { return m_hungUp ? -1 : m_fd; }

private:
    TtyDevice(int fd, bool overlapped, const termios2& found);

    // Open's steps after the descriptor is held.
    bool TakeOver();
    // One read into the empty read-ahead buffer; false after recording a failure.
    bool Fill();
    bool HangUp(int errnum);
    bool ApplySettings(const DCB& dcb, const termios2& before);
    bool DriveLinesFor(const DCB& dcb);
    bool Drive(int line, bool on);
    bool RefreshLines();
    bool RefreshCounts();
    void ForgetReadings() { m_linesExpire = m_countsExpire = 0; }

    int m_fd;
    termios2 m_found;         // the settings as found at open, put back at close
    DCB m_kept;               // the block last written: fields termios has no place for
    DWORD m_askedSpeed = 0;   // speed last asked for ...
    DWORD m_grantedSpeed = 0; // ... and the speed the driver settled on for it
    std::unique_ptr<BYTE[]> m_readAhead;
    DWORD m_readPos = 0;
    DWORD m_readEnd = 0;
    bool m_hungUp = false;

    std::uint64_t m_linesExpire = 0;
    int m_lineBits = 0;          // TIOCM_* as last read
    bool m_noModemLines = false; // pseudo-terminals and gadget ports: no lines to read
    int m_drivenLines = 0;       // TIOCM_DTR and TIOCM_RTS as last driven

    std::uint64_t m_countsExpire = 0;
    bool m_driverCounts = false;
    serial_icounter_struct m_countsAtOpen{};
    serial_icounter_struct m_counts{};
    std::uint64_t m_bytesIn = 0;
    std::uint64_t m_bytesOut = 0;
};

} // namespace platform
