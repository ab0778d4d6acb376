#pragma once
// A communications device for tests, registered under a port name through platform::NamedDevices
// ("SIM1" is reached through the path "\\.\SIM1"; a registered "COM3" hides the table's COM3).
// The test decides whether the device is present, absent or busy, sets its input lines and
// statistics, makes chosen operations fail, injects received bytes (from any thread) and takes what
// was written. The device records every call made on it.
//
// Like a real port it takes one open at a time: a second CreateFileA while it is open fails with
// ERROR_ACCESS_DENIED. A change of an input line wakes a loop asleep on the port. DTR and RTS are
// reported as last driven, by EscapeCommFunction and by the fDtrControl and fRtsControl of written
// blocks; both are off until then. It keeps its own DCB (9600 8N1 at first) and takes any block
// written to it.
//
//     auto sim = platform::SimulatedDevice::Register("SIM1");
//     sim->Inject("hello");
//     ... CreateFileA("\\\\.\\SIM1", ...), ReadFile ...
//     platform::SimulatedDevice::Unregister("SIM1");

#include <cstddef>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "platform/comm/CommApi.h"

namespace platform {

class CommDevice;

class SimulatedDevice : public std::enable_shared_from_this<SimulatedDevice> {
public:
    enum class Presence { Present, Absent, Busy };

    enum class Op {
        CreateFile,
        CloseHandle,
        GetCommState,
        SetCommState,
        SetCommTimeouts,
        ReadFile,
        WriteFile,
        ReadFileEx,
        WriteFileEx,
        EscapeCommFunction,
        GetCommModemStatus,
        DeviceIoControl,
    };

    // Operations a test can make fail (with ERROR_GEN_FAILURE). GetStats is DeviceIoControl's
    // statistics request.
    enum class Fault {
        GetCommState,
        SetCommTimeouts,
        GetCommModemStatus,
        GetStats,
        Read,
        Write,
    };

    // One recorded call. Fields that do not belong to the call stay zero.
    struct Call {
        Op op{};
        std::string path{};      // CreateFile: the exact path passed
        DWORD access = 0;        // CreateFile
        DWORD shareMode = 0;     // CreateFile
        DWORD disposition = 0;   // CreateFile
        DWORD flags = 0;         // CreateFile: flags and attributes
        DCB dcb{};               // GetCommState: the block returned; SetCommState: the block passed
        COMMTIMEOUTS timeouts{}; // SetCommTimeouts
        DWORD code = 0;          // EscapeCommFunction: the function; DeviceIoControl: the request
    };

    // Registers a new device under the name (replacing one registered there) and returns it.
    static std::shared_ptr<SimulatedDevice> Register(const std::string& portName);
    static void Unregister(const std::string& portName);
    static void UnregisterAll();

    SimulatedDevice();

    void SetPresence(Presence presence);
    void SetFault(Fault fault, bool failing = true);

    // Pulls the device out, as a USB adapter is unplugged: calls on an open handle fail with
    // ERROR_DEVICE_NOT_CONNECTED once the bytes it was given are read, and opens find nothing.
    void Unplug();
    // Plugs it in again as a fresh device: 9600 8N1, no time-outs, DTR and RTS off. An open handle
    // heals at its next call: it gives the device back its block, time-outs and lines.
    void PlugIn();

    void SetCts(bool on);
    void SetDsr(bool on);
    void SetDcd(bool on);
    void SetRi(bool on);
    bool Dtr() const;
    bool Rts() const;

    void SetStats(const SERIALPERF_STATS& stats);
    void SetDcb(const DCB& dcb);
    DCB Dcb() const;

    // Bytes the device has received from the line; safe from any thread.
    void Inject(std::string_view bytes);
    // Everything written to the device since the last call.
    std::string TakeWritten();
    bool IsOpen() const;

    std::vector<Call> Calls() const;
    std::size_t CountOf(Op op) const;
    void ClearCalls();

    // For the platform layer: CreateFileA on this device. Records the call; nullptr after
    // recording the failure when the device is absent, busy or already open.
    std::unique_ptr<CommDevice> Open(const char* path, DWORD access, DWORD shareMode, DWORD disposition,
                                     DWORD flags);

private:
    friend class SimulatedHandle;

    bool Failing(Fault fault) const { return m_faults[static_cast<std::size_t>(fault)]; }
    void Record(Call call);
    void DriveLines(const DCB& dcb);
    void SetLine(bool& line, bool on);

    mutable std::mutex m_mutex;
    Presence m_presence = Presence::Present;
    bool m_faults[6] = {};
    bool m_open = false;
    bool m_unplugged = false;
    unsigned m_plugIns = 0; // how often it came back: a handle opened before that has to heal
    bool m_cts = false;
    bool m_dsr = false;
    bool m_dcd = false;
    bool m_ri = false;
    bool m_dtr = false;
    bool m_rts = false;
    SERIALPERF_STATS m_stats{};
    DCB m_dcb;
    COMMTIMEOUTS m_timeouts{};
    std::deque<char> m_input;
    std::string m_written;
    std::vector<Call> m_calls;
};

} // namespace platform
