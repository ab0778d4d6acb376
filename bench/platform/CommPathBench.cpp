// Costs of the calls the application makes once per received byte: a one-byte ReadFile, the modem
// status and the two driver requests, on a pseudo-terminal and on the loopback plug. Each figure is
// the median of several runs. The device directory points at an empty folder, so the machine's own
// ports are never opened.

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <functional>
#include <poll.h>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

#include "platform/comm/CommApi.h"
#include "platform/files/FileApi.h"
#include "platform/ports/DeviceDirectory.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kRuns = 7;

struct Summary {
    double median;
    double low;
    double high;
};

Summary Summarize(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return {values[values.size() / 2], values.front(), values.back()};
}

void Report(const char* what, const char* unit, const Summary& s, double target = 0) {
    std::printf("%-52s median %10.1f %-5s (min %.1f, max %.1f)", what, s.median, unit, s.low, s.high);
    if (target > 0)
        std::printf("  target %.0f: %.2f of it", target, s.median / target);
    std::printf("\n");
}

// Nanoseconds per call of body, over count calls, median of kRuns runs.
Summary TimePerCall(int count, const std::function<void()>& before, const std::function<void()>& body) {
    std::vector<double> runs;
    for (int run = 0; run < kRuns; ++run) {
        before();
        auto start = Clock::now();
        for (int i = 0; i < count; ++i)
            body();
        runs.push_back(std::chrono::duration<double, std::nano>(Clock::now() - start).count() / count);
    }
    return Summarize(runs);
}

struct Pty {
    int master = -1;
    std::string path;
    Pty() {
        master = posix_openpt(O_RDWR | O_NOCTTY);
        grantpt(master);
        unlockpt(master);
        path = std::string("\\\\.\\") + ptsname(master);
    }
    ~Pty() { close(master); }
};

HANDLE OpenOrDie(const std::string& path) {
    HANDLE handle = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        std::fprintf(stderr, "cannot open %s: %s\n", path.c_str(), GetLastErrorText());
        std::exit(1);
    }
    return handle;
}

// Puts bytes in the pty, gives the receiver time to queue them, and lets the first one-byte read
// take them as one block, so that the timed reads are all served from it.
void PrimeReceived(const Pty& pty, HANDLE port, int count) {
    std::string bytes(static_cast<std::size_t>(count) + 1, 'x');
    [[maybe_unused]] auto written = write(pty.master, bytes.data(), bytes.size());
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    char byte;
    DWORD read = 0;
    ReadFile(port, &byte, 1, &read, nullptr);
}

void BenchPty() {
    Pty pty;
    HANDLE port = OpenOrDie(pty.path);
    char byte = 0;
    DWORD read = 0;
    // A pty's line discipline hands over at most 4 KiB per read.
    constexpr int kBuffered = 4000;
    Report("pty: ReadFile of 1 byte from the received block", "ns",
           TimePerCall(
               kBuffered, [&] { PrimeReceived(pty, port, kBuffered); },
               [&] { ReadFile(port, &byte, 1, &read, nullptr); }),
           100);
    Report("pty: ReadFile of 1 byte, nothing waiting", "ns",
           TimePerCall(
               100000, [] {}, [&] { ReadFile(port, &byte, 1, &read, nullptr); }));

    DWORD status = 0;
    Report("pty: GetCommModemStatus (reading cached 10 ms)", "ns",
           TimePerCall(
               1000000, [] {}, [&] { GetCommModemStatus(port, &status); }),
           100);
    DWORD lines = 0;
    DWORD returned = 0;
    Report("pty: DeviceIoControl IOCTL_SERIAL_GET_DTRRTS", "ns",
           TimePerCall(
               1000000, [] {},
               [&] {
                   DeviceIoControl(port, IOCTL_SERIAL_GET_DTRRTS, nullptr, 0, &lines, 4, &returned, nullptr);
               }),
           100);
    SERIALPERF_STATS stats{};
    Report("pty: DeviceIoControl IOCTL_SERIAL_GET_STATS", "ns",
           TimePerCall(
               1000000, [] {},
               [&] {
                   DeviceIoControl(port, IOCTL_SERIAL_GET_STATS, nullptr, 0, &stats, sizeof stats, &returned,
                                   nullptr);
               }),
           100);
    CloseHandle(port);
}

// A writer thread feeds the pty as fast as it takes bytes; the reader takes one byte per call.
void BenchPtyStream() {
    constexpr std::size_t kBytes = 8 << 20;
    std::vector<double> rates;
    for (int run = 0; run < kRuns; ++run) {
        Pty pty;
        HANDLE port = OpenOrDie(pty.path);
        std::thread writer([&] {
            std::string chunk(4096, 'y');
            for (std::size_t sent = 0; sent < kBytes; sent += chunk.size())
                [[maybe_unused]] auto n = write(pty.master, chunk.data(), chunk.size());
        });
        auto start = Clock::now();
        std::size_t got = 0;
        char byte = 0;
        DWORD read = 0;
        while (got < kBytes && ReadFile(port, &byte, 1, &read, nullptr))
            got += read;
        double seconds = std::chrono::duration<double>(Clock::now() - start).count();
        writer.join();
        rates.push_back(static_cast<double>(got) / seconds / 1e6);
        CloseHandle(port);
    }
    Report("pty: stream of 8 MiB read one byte per call", "MB/s", Summarize(rates), 1.2);
}

void BenchLoopback() {
    HANDLE plug = OpenOrDie("\\\\.\\COM255");
    constexpr int kBytes = 1 << 20;
    std::string chunk(kBytes, 'z');
    char byte = 0;
    DWORD read = 0;
    DWORD count = 0;
    Report("loopback: ReadFile of 1 byte", "ns",
           TimePerCall(
               kBytes, [&] { WriteFile(plug, chunk.data(), kBytes, &count, nullptr); },
               [&] { ReadFile(plug, &byte, 1, &read, nullptr); }),
           100);
    Report("loopback: WriteFile of 1 byte", "ns",
           TimePerCall(
               kBytes, [&] { ReadFile(plug, chunk.data(), kBytes, &count, nullptr); },
               [&] { WriteFile(plug, "a", 1, &count, nullptr); }));
    DWORD status = 0;
    Report("loopback: GetCommModemStatus", "ns",
           TimePerCall(
               1000000, [] {}, [&] { GetCommModemStatus(plug, &status); }),
           100);
    CloseHandle(plug);
}

void ProbeAllNames() {
    for (int n = 1; n <= 255; ++n) {
        std::string path = "\\\\.\\COM" + std::to_string(n);
        HANDLE h = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
        if (h != INVALID_HANDLE_VALUE)
            CloseHandle(h);
    }
}

void BenchProbe() {
    Summary ns = TimePerCall(
        1, [] {}, ProbeAllNames);
    Report("probe: CreateFileA on COM1..COM255, no devices", "ms",
           {ns.median / 1e6, ns.low / 1e6, ns.high / 1e6}, 50);
}

} // namespace

int main() {
    char folder[] = "/tmp/martool-bench-devices-XXXXXX";
    if (mkdtemp(folder) == nullptr)
        return 1;
    platform::SetDeviceDirectory(folder);
    BenchPty();
    BenchPtyStream();
    BenchLoopback();
    BenchProbe();
    rmdir(folder);
    return 0;
}
