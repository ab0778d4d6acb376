#pragma once
// A real tty as a communications device. Opened non-blocking and held exclusively (flock, TIOCEXCL
// and a UUCP lock file), refused while another program has it open or locked, put in raw mode, and
// put back as it was found when closed; closing discards output not yet sent, so it never waits on
// flow control. The line is always read: a TtyReceiver thread moves what arrives into the handle's
// ReceiveQueue, whatever the thread that uses the handle is doing. Reads return at once with what
// has arrived, served from one block of the queue at a time without a lock or a system call per
// byte. A port opened by a probe (inside a PortProbeScope) starts its receiver only when first read.
// Writes never block: a byte the driver cannot take now fails the write. Modem lines and driver
// counters are served from one reading per handle. It is taken afresh after a line change (a
// LineWatcher thread reports them), after the handle drives a line or changes settings, and
// otherwise at most every 10 ms while the line is in use: the clock is looked at only when a block
// is taken from the queue, never per byte. Ptys have no lines and keep no driver counts, so they
// never ask.
//
// When the device goes away (an adapter unplugged, the other end of a pseudo-terminal closed) every
// call fails, the descriptor is let go and nothing is watched. While it is gone the loop is woken
// every 150 ms to look for it; once the same device is back at the same path (for USB, the same
// adapter by its ids and serial number), it is reopened with this handle's settings and line states
// and calls succeed again. What was received before it went stays to be read, ahead of what the
// device sends once it is back.
//
// One thread uses a handle at a time, as with any handle; only the receiver runs beside it.

#include <asm/termbits.h>
#include <cstdint>
#include <linux/serial.h>
#include <memory>
#include <string>
#include <sys/types.h>

#include "platform/comm/CommDevice.h"
#include "platform/tty/LineWatcher.h"
#include "platform/tty/ReceiveQueue.h"
#include "platform/tty/TtyReceiver.h"
#include "platform/tty/UucpLock.h"

namespace platform {

class TtyDevice final : public CommDevice {
public:
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
    bool ReadAhead() override;
    int WakeAfterMs() const override;

    // The name of the device's lock file, after the node the path leads to.
    static std::string LockName(const std::string& path);

    // How long a gone device is left alone between two looks for its return.
    static constexpr std::uint64_t kLookInterval = 150000000; // ns
    // How often lines are polled when the driver cannot report their changes.
    static constexpr int kLinePollMs = 50;

private:
    TtyDevice(int fd, bool overlapped, std::string path, const termios2& found);

    // Opens the node for this process alone and reads its settings into found: -1 after recording
    // ERROR_FILE_NOT_FOUND (no tty there) or, when another program has it open or locked,
    // ERROR_ACCESS_DENIED.
    static int Acquire(const std::string& path, termios2& found);
    // Open's steps after the descriptor is held.
    bool TakeOver();
    // Takes the next block the receiver queued once the one being read is spent; false after
    // recording a failure (the device went away and everything it sent before has been read).
    bool Refill();
    // The oldest queued block, when there is one, becomes the one being read.
    bool TakeReceived();
    // Starts reading the line, unless the receiver runs already or the device is gone.
    void StartReceiver();
    // A failed system call: the device has gone (EIO, ENODEV, ENXIO) or some other failure.
    bool Failed(int errnum);
    // The device has gone: let the descriptor go and record the failure (errnum 0: end of file).
    bool Lost(int errnum);
    void Drop();
    // True while the device is here; when it is gone, looks for its return (rate-limited) and
    // reopens it; false after recording ERROR_DEVICE_NOT_CONNECTED.
    bool Present();
    bool Reopen();
    bool RestoreLines(int lines);
    bool ApplySettings(const DCB& dcb, const termios2& before);
    bool DriveLinesFor(const DCB& dcb);
    bool Drive(int line, bool on);
    bool RefreshLines();
    bool RefreshCounts();
    void ForgetReadings() { m_linesStale = m_countsStale = m_statsStale = true; }
    // After a system call on the line: readings older than their lifetime are taken afresh.
    void AgeReadings();
    bool LinesChangedUnseen() { return m_watcher != nullptr && m_watcher->TakeChanged(); }
    void WatchLines();
    SERIALPERF_STATS DescriptorCounts() const;
    // The counts as Stats reports them, from the readings and the bytes moved through the handle.
    SERIALPERF_STATS CountsNow() const;
    static SERIALPERF_STATS Sum(const SERIALPERF_STATS& a, const SERIALPERF_STATS& b);

    int m_fd;                 // -1 while the device is gone and after closing
    std::string m_path;
    std::string m_identity;   // the USB device behind the node, where there is one
    UucpLock m_lock;
    bool m_gone = false;
    bool m_closed = false;
    std::uint64_t m_nextLook = 0;
    termios2 m_found;         // the settings as found at open, put back at close
    DCB m_kept;               // the block last written: fields termios has no place for
    DWORD m_askedSpeed = 0;   // speed last asked for ...
    DWORD m_grantedSpeed = 0; // ... and the speed the driver settled on for it
    ReceiveQueue m_queue;      // what the line sent and nobody has read yet
    std::unique_ptr<TtyReceiver> m_receiver; // while the device is here and its port in use
    ReceiveQueue::Block m_block; // the block being read ...
    std::size_t m_readPos = 0;   // ... and the next byte in it

    // One reading of the lines (m_lineBits) and of the driver's counts (m_counts) serves every call
    // until it is stale; the status bar asks after every byte, and each reading is a system call.
    // What keeps them true: the handle's own changes (a driven line, written settings) make both
    // stale (ForgetReadings); a change the line watcher reports makes the lines stale
    // (LinesChangedUnseen); and by age, AgeReadings marks stale what nothing reports once
    // m_readingsExpire has passed. It reads the clock only when the reader goes to the queue for a
    // block, never per byte. m_countsBehind keeps the loop looking (WakeAfterMs) while the counts
    // still move after the bytes did, so the last of them is shown.
    std::uint64_t m_readingsExpire = 0;
    bool m_linesStale = true;
    bool m_countsStale = true;
    bool m_countsBehind = false;
    std::unique_ptr<LineWatcher> m_watcher;
    int m_lineBits = 0;          // TIOCM_* as last read
    bool m_noModemLines = false; // pseudo-terminals and gadget ports: no lines to read
    int m_drivenLines = 0;       // TIOCM_DTR and TIOCM_RTS as last driven

    bool m_driverCounts = false;
    serial_icounter_struct m_countsAtOpen{};
    serial_icounter_struct m_counts{};
    SERIALPERF_STATS m_countsBefore{}; // counted on descriptors the device had before it went away
    std::uint64_t m_bytesOut = 0;      // written through this handle
    // What Stats last reported, served again while nothing it is made of changed: summing the counts
    // afresh at every byte costs the receive rate about a twentieth (bench_app receive). What keeps
    // it true: a fresh reading of the counts (RefreshCounts) and a write mark it stale, and Stats
    // itself compares the receivers' count (m_queue.Received) with the one it last saw (m_bytesIn).
    std::uint64_t m_bytesIn = 0;
    SERIALPERF_STATS m_stats{};
    bool m_statsStale = true;
};

} // namespace platform
