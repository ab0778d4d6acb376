// Figures of the whole program, measured on the real objects offscreen: how fast received bytes
// reach the terminal (a pseudo-terminal's other end writing as fast as it can), what that costs the
// user-interface thread per megabyte, what a silent open port costs, how long the port probe and
// start-up take. Each figure is the median of several runs, with its ratio to the target.
//
//   bench_app [runs [startup|probe|receive|silent [megabytes]]]
//   (default: 5 runs of everything, 8 MB received per run)
//
// The device directory points at an empty folder, so the machine's own ports are never opened.

#include <QApplication>
#include <QTimer>
#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fcntl.h>
#include <optional>
#include <poll.h>
#include <string>
#include <sys/resource.h>
#include <thread>
#include <unistd.h>
#include <vector>

#include "app/CDebugApp.h"
#include "app/CMainFrame.h"
#include "framework/CDialog.h"
#include "platform/DevicePermissions.h"
#include "platform/PortDescription.h"
#include "framework/EditView.h"
#include "framework/MessageDispatch.h"
#include "framework/PostedMessageQueue.h"
#include "framework/WndWidget.h"
#include "platform/DeviceDirectory.h"
#include "platform/PortProbeScope.h"
#include "platform/SystemPaths.h"
#include "resources/ProgramResources.h"
#include "serial/CSerialPort.h"

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::duration d) {
    return std::chrono::duration<double>(d).count();
}

double ThreadCpuSeconds() {
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) / 1e9;
}

double ProcessCpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    auto tv = [](timeval t) { return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6; };
    return tv(usage.ru_utime) + tv(usage.ru_stime);
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

void Report(const char* what, const std::vector<double>& runs, const char* unit, double target,
            bool atLeast) {
    double m = Median(runs);
    std::printf("%-46s median %12.3f %-8s (min %.3f, max %.3f)  target %s %g: %.2f x target\n", what, m, unit,
                *std::min_element(runs.begin(), runs.end()), *std::max_element(runs.begin(), runs.end()),
                atLeast ? ">=" : "<=", target, m / target);
}

// Whatever an earlier program left posted (its WM_QUIT, for one) must not reach the next one.
void DropPosted() {
    MSG msg;
    while (PostedMessageQueue::Instance().Pop(msg)) {
    }
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    afx::ClearQuit();
}

// Answers the start-up port dialog with Cancel as soon as it is up; notes when it was shown.
void CancelStartDialog(Clock::time_point* shownAt) {
    QTimer::singleShot(0, [shownAt] {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            auto* bridge = WndWidgetBase::FromWidget(w);
            auto* dialog = bridge ? dynamic_cast<CDialog*>(bridge->Owner()) : nullptr;
            if (dialog != nullptr && w->isVisible()) {
                if (shownAt)
                    *shownAt = Clock::now();
                dialog->SendMessage(WM_COMMAND, IDCANCEL, 0);
                return;
            }
        }
        CancelStartDialog(shownAt);
    });
}

struct Pty {
    int master = -1;
    std::string slave;
    Pty() {
        master = posix_openpt(O_RDWR | O_NOCTTY);
        if (master < 0 || grantpt(master) != 0 || unlockpt(master) != 0) {
            std::perror("pty");
            std::exit(1);
        }
        slave = ptsname(master);
    }
    ~Pty() { close(master); }
};

// The program as it starts, with its port opened on a pty the way the port dialog opens it.
struct Program {
    CDebugApp app;
    Pty pty;
    Program() {
        DropPosted();
        CancelStartDialog(nullptr);
        app.InitInstance();
        app.m_pPort->SetOverlapped(FALSE);
        if (!app.m_pPort->Open(pty.slave)) {
            std::fprintf(stderr, "cannot open %s\n", pty.slave.c_str());
            std::exit(1);
        }
    }
    ~Program() {
        if (CMainFrame* frame = GetMainFrame())
            frame->DestroyWindow();
        app.ExitInstance();
        DropPosted();
    }
    std::size_t Received() const { return GetMainFrame()->m_wndTerminal.GetView()->TextLength(); }
};

// Bytes per second through the whole receive path, and CPU seconds of the user-interface thread per
// megabyte. The writer runs on its own thread and is not counted.
void ReceiveRate(int runs, std::size_t bytes) {
    std::vector<double> rates, cpuPerMb;
    for (int run = 0; run < runs; ++run) {
        Program program;
        // Lines of 78 characters ending in CR LF, as a device sends them: the terminal shows the CR as
        // its line break and drops the LF, so its text is byte for byte what was sent.
        std::string block(65536 / 80 * 80, 'x');
        for (std::size_t i = 0; i < block.size(); ++i)
            block[i] = i % 80 == 78 ? '\r' : i % 80 == 79 ? '\n' : static_cast<char>('!' + i % 90);
        std::atomic<bool> failed{false};
        std::atomic<bool> stop{false};
        fcntl(program.pty.master, F_SETFL, fcntl(program.pty.master, F_GETFL) | O_NONBLOCK);
        double cpu0 = ThreadCpuSeconds();
        auto start = Clock::now();
        std::thread writer([&] {
            std::size_t sent = 0;
            while (sent < bytes) {
                std::size_t offset = sent % block.size();
                std::size_t n = std::min(block.size() - offset, bytes - sent);
                ssize_t w = write(program.pty.master, block.data() + offset, n);
                if (w < 0 && errno == EAGAIN) {
                    if (stop)
                        return;
                    pollfd p{program.pty.master, POLLOUT, 0};
                    poll(&p, 1, 50);
                    continue;
                }
                if (w <= 0) {
                    failed = true;
                    return;
                }
                sent += static_cast<std::size_t>(w);
            }
        });
        bool done = program.app.RunUntil([&] { return program.Received() >= bytes; }, 120000);
        double wall = Seconds(Clock::now() - start);
        double cpu = ThreadCpuSeconds() - cpu0;
        stop = true;
        writer.join();
        std::string text = GetMainFrame()->m_wndTerminal.GetText();
        bool exact = done && !failed && text.size() == bytes;
        for (std::size_t i = 0; exact && i < bytes; ++i)
            exact = text[i] == block[i % block.size()];
        if (!exact) {
            std::fprintf(stderr, "run %d: received %zu of %zu bytes, or not exactly\n", run, text.size(),
                         bytes);
            std::exit(1);
        }
        rates.push_back(static_cast<double>(bytes) / wall);
        cpuPerMb.push_back(cpu / (static_cast<double>(bytes) / 1e6));
    }
    Report("receive rate, pty feed, zero loss", rates, "bytes/s", 1200000, true);
    Report("CPU of the UI thread per MB received", cpuPerMb, "s", 0.5, false);
}

// Share of one core used while a port is open and the line silent. Beside it, in the same run, what
// Qt's own event loop costs to do nothing but wake up every 10 ms, as the program must while a port
// is open: the floor that this machine sets.
void SilentLine(int runs, int seconds) {
    std::vector<double> shares, floors;
    for (int run = 0; run < runs; ++run) {
        Program program;
        program.app.RunUntil([] { return false; }, 200); // settle
        double cpu0 = ProcessCpuSeconds();
        auto start = Clock::now();
        program.app.RunUntil([] { return false; }, seconds * 1000);
        shares.push_back(100.0 * (ProcessCpuSeconds() - cpu0) / Seconds(Clock::now() - start));

        QTimer pace;
        pace.setSingleShot(true);
        pace.setTimerType(Qt::PreciseTimer);
        cpu0 = ProcessCpuSeconds();
        start = Clock::now();
        while (Clock::now() - start < std::chrono::seconds(seconds)) {
            pace.start(10);
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        }
        floors.push_back(100.0 * (ProcessCpuSeconds() - cpu0) / Seconds(Clock::now() - start));
    }
    Report("CPU with a port open and the line silent", shares, "% core", 1, false);
    Report("  Qt's bare 10 ms wakeups, same machine", floors, "% core", 1, false);
    std::printf("  the program over the bare wakeups: %.2f x\n", Median(shares) / Median(floors));
}

// One probe of COM1 to COM255 as the port dialog makes it; the ports found.
int ProbeOnce(bool oneLookAtProc) {
    std::optional<platform::PortProbeScope> scope;
    if (oneLookAtProc)
        scope.emplace();
    CSerialPort probe;
    char name[16];
    int found = 0;
    for (int n = 1; n <= 255; ++n) {
        std::snprintf(name, sizeof name, "COM%d", n);
        probe.SetShareMode(0);
        probe.SetBaudRate(115200);
        if (probe.Open(name)) {
            ++found;
            probe.Close();
        }
    }
    return found;
}

// Pseudo-terminals linked into a device folder as ttyUSB0 upwards, standing in for present ports.
class PresentPorts {
public:
    explicit PresentPorts(int count) {
        char folder[] = "/tmp/martool-bench-devices-XXXXXX";
        if (mkdtemp(folder) == nullptr)
            return;
        m_folder = folder;
        for (int i = 0; i < count; ++i) {
            int master = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
            if (master < 0 || grantpt(master) != 0 || unlockpt(master) != 0)
                break;
            m_masters.push_back(master);
            std::string link = m_folder + "/ttyUSB" + std::to_string(i);
            if (symlink(ptsname(master), link.c_str()) != 0)
                break;
            m_links.push_back(link);
        }
    }
    ~PresentPorts() {
        for (const std::string& link : m_links)
            unlink(link.c_str());
        for (int master : m_masters)
            close(master);
        if (!m_folder.empty())
            rmdir(m_folder.c_str());
    }
    const std::string& Folder() const { return m_folder; }
    int Count() const { return static_cast<int>(m_links.size()); }

private:
    std::string m_folder;
    std::vector<int> m_masters;
    std::vector<std::string> m_links;
};

// The probe on a machine without serial ports, then with 32 present ports (each open asks which
// devices other programs hold): one look at /proc for the whole probe, as the dialog makes it,
// against one look per port, measured side by side.
void Probe(int runs) {
    std::vector<double> ms;
    for (int run = 0; run < runs; ++run) {
        auto start = Clock::now();
        int found = ProbeOnce(true);
        ms.push_back(1000 * Seconds(Clock::now() - start));
        if (found != 1) // the loopback plug only
            std::fprintf(stderr, "probe found %d ports\n", found);
    }
    Report("probe of COM1-COM255, no serial hardware", ms, "ms", 50, false);

    PresentPorts present(32);
    platform::SetDeviceDirectory(present.Folder());
    std::vector<double> shared, perPort;
    for (int run = 0; run < runs; ++run) {
        auto start = Clock::now();
        int found = ProbeOnce(true);
        shared.push_back(1000 * Seconds(Clock::now() - start));
        start = Clock::now();
        found += ProbeOnce(false);
        perPort.push_back(1000 * Seconds(Clock::now() - start));
        if (found != 2 * (present.Count() + 1))
            std::fprintf(stderr, "probe found %d ports of %d\n", found, 2 * (present.Count() + 1));
    }
    platform::SetDeviceDirectory("/nonexistent/bench-devices");
    Report("probe of COM1-COM255, 32 ports present, one look at /proc", shared, "ms", 50, false);
    Report("  the same with one look at /proc per port", perPort, "ms", 50, false);
    std::printf("  one look per port over one per probe: %.2f x\n", Median(perPort) / Median(shared));
}

// What the port dialog adds to the probe: the permission query over this machine's real /dev (it only
// looks at the nodes, never opens one) and a description of every name, as if all 255 were listed.
void ProbeNotes(int runs) {
    std::vector<double> ms;
    const std::string devices = platform::DeviceDirectory();
    platform::SetDeviceDirectory("/dev");
    std::size_t denied = 0;
    for (int run = 0; run < runs; ++run) {
        auto start = Clock::now();
        denied = platform::DevicesWithoutPermission().size();
        std::size_t described = 0;
        for (int n = 1; n <= 255; ++n)
            described += platform::DescribePort("COM" + std::to_string(n)).size();
        ms.push_back(1000 * Seconds(Clock::now() - start));
        if (described == 0)
            std::fprintf(stderr, "no port was described\n");
    }
    platform::SetDeviceDirectory(devices);
    Report("port tips for COM1-COM255 and the permission query on /dev", ms, "ms", 50, false);
    std::printf("  (%zu devices here may not be opened)\n", denied);
}

// From the start of the program to its window and port dialog on the screen.
void StartUp(int runs, Clock::time_point processStart) {
    std::vector<double> ms;
    for (int run = 0; run < runs; ++run) {
        DropPosted();
        CDebugApp app;
        Clock::time_point shown{};
        auto start = run == 0 ? processStart : Clock::now();
        CancelStartDialog(&shown);
        app.InitInstance();
        ms.push_back(1000 * Seconds(shown - start));
        if (CMainFrame* frame = GetMainFrame())
            frame->DestroyWindow();
        app.ExitInstance();
        DropPosted();
    }
    Report("start to window and port dialog shown", ms, "ms", 300, false);
    std::printf("  (the first run counts from process start, Qt's own start-up included)\n");
}

} // namespace

int main(int argc, char** argv) {
    auto processStart = Clock::now();
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    platform::SetDeviceDirectory("/nonexistent/bench-devices");
    // Lock files of the ports the benchmark opens go to a folder of its own.
    char locks[] = "/tmp/martool-bench-locks-XXXXXX";
    platform::SetLockDirectories({mkdtemp(locks) != nullptr ? locks : "/nonexistent/bench-locks"});
    QApplication qt(argc, argv);
    resources::RegisterProgramResources();
    int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    std::string only = argc > 2 ? argv[2] : "";
    std::size_t megabytes = argc > 3 ? static_cast<std::size_t>(std::max(1, std::atoi(argv[3]))) : 8;
    if (only.empty() || only == "startup")
        StartUp(runs, processStart);
    if (only.empty() || only == "probe") {
        Probe(runs);
        ProbeNotes(runs);
    }
    if (only.empty() || only == "receive")
        ReceiveRate(runs, megabytes << 20);
    if (only.empty() || only == "silent")
        SilentLine(3, 5);
    rmdir(locks);
    return 0;
}
