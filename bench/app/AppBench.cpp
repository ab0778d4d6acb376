// Figures of the whole program, measured on the real objects offscreen, each the median of several
// runs with its ratio to the target:
//   - CPU of the whole process while a port is open and the line silent (every thread's schedstat);
//   - CPU while a modal dialog is open and lines arrive at 115200 baud, and the bytes dropped;
//   - how fast received bytes reach the terminal (a pseudo-terminal's other end writing as fast as
//     it can, zero loss, the text compared byte for byte) and what that costs per megabyte, all
//     threads and the user-interface thread and the serial receiver each;
//   - CPU of the whole process while lines arrive at a real line's pace (115200 baud);
//   - how long a change of an input line takes to reach its indicator, and to be drawn;
//   - how long a typed key's echo from the loopback plug takes to be drawn;
//   - the port probe and start-up.
//
//   bench_app [runs [startup|probe|receive|paced|silent|modal|lines|echo [megabytes|seconds]]]
//   (default: 5 runs of each, 16 MB received per run, 3 runs of 20 s for the silent line, 10 s paced)
//
// The receive, paced, silent and modal figures run the program's own loop, as the program runs it,
// and a timer asks whether to stop; the line-change figure asks at every turn of the loop (RunUntil),
// which it needs to time a change to the turn that shows it.
//
// The device directory points at an empty folder, so the machine's own ports are never opened.

#include <QApplication>
#include <QKeyEvent>
#include <QTimer>
#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <optional>
#include <poll.h>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

#include "BenchSupport.h"
#include "app/CMainFrame.h"
#include "framework/dialogs/CDialog.h"
#include "framework/loop/MessageDispatch.h"
#include "framework/loop/MessageLoop.h"
#include "platform/ports/DeviceDirectory.h"
#include "platform/ports/DevicePermissions.h"
#include "platform/ports/PortDescription.h"
#include "platform/tty/PortProbeScope.h"
#include "platform/tty/TtyReceiver.h"
#include "platform/base/SystemPaths.h"
#include "resources/ProgramResources.h"
#include "serial/CSerialPort.h"

namespace {

using bench::Clock;
using bench::Median;
using bench::Program;
using bench::Report;
using bench::Seconds;

// Lines of 78 characters ending in CR LF, as a device sends them: the terminal shows the CR as its
// line break and drops the LF, so its text is byte for byte what was sent.
std::string Lines() {
    std::string block(65536 / 80 * 80, 'x');
    for (std::size_t i = 0; i < block.size(); ++i)
        block[i] = i % 80 == 78 ? '\r' : i % 80 == 79 ? '\n' : static_cast<char>('!' + i % 90);
    return block;
}

// Writes `bytes` of the block into the pty from its own thread as fast as the pty takes them; its
// own CPU time goes to `cpu` when it is done, so that the program's share can be told apart.
std::thread Feed(int master, const std::string& block, std::size_t bytes, std::atomic<bool>& stop,
                 std::atomic<bool>& failed, std::atomic<double>& cpu) {
    fcntl(master, F_SETFL, fcntl(master, F_GETFL) | O_NONBLOCK);
    return std::thread([&, master, bytes] {
        std::size_t sent = 0;
        while (sent < bytes && !failed) {
            std::size_t offset = sent % block.size();
            std::size_t n = std::min(block.size() - offset, bytes - sent);
            ssize_t w = write(master, block.data() + offset, n);
            if (w < 0 && errno == EAGAIN) {
                if (stop)
                    break;
                pollfd p{master, POLLOUT, 0};
                poll(&p, 1, 50);
                continue;
            }
            if (w <= 0)
                failed = true;
            else
                sent += static_cast<std::size_t>(w);
        }
        cpu = bench::ThreadCpuSeconds();
    });
}

// Writes 80-byte lines at a 115200-baud line's pace (11,520 bytes a second) from its own thread,
// never waiting for the reader: what the pty refuses is dropped and counted, as a UART drops it.
class PacedFeed {
public:
    PacedFeed(int master, const std::string& block) {
        fcntl(master, F_SETFL, fcntl(master, F_GETFL) | O_NONBLOCK);
        m_thread = std::thread([this, master, &block] { Run(master, block); });
    }
    ~PacedFeed() { Stop(); }
    void Stop() {
        m_stop = true;
        if (m_thread.joinable())
            m_thread.join();
    }
    std::size_t Sent() const { return m_sent; }
    std::size_t Dropped() const { return m_dropped; }

private:
    void Run(int master, const std::string& block) {
        constexpr std::size_t kLine = 80;
        constexpr double kBytesPerSecond = 11520;
        const auto start = Clock::now();
        for (std::size_t line = 0; !m_stop; ++line) {
            std::this_thread::sleep_until(start + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(
                                                      static_cast<double>(line * kLine) / kBytesPerSecond)));
            const std::size_t offset = (m_sent + m_dropped) % block.size();
            ssize_t w = write(master, block.data() + offset, kLine);
            const std::size_t taken = w > 0 ? static_cast<std::size_t>(w) : 0;
            m_sent += taken;
            m_dropped += kLine - taken;
        }
    }

    std::atomic<bool> m_stop{false};
    std::atomic<std::size_t> m_sent{0};
    std::atomic<std::size_t> m_dropped{0};
    std::thread m_thread;
};

// Bytes per second through the whole receive path, and CPU seconds per megabyte: of the
// user-interface thread, of the serial receiver, and of every thread of the program (the writer,
// which stands for the device, not counted).
void ReceiveRate(int runs, std::size_t bytes) {
    std::vector<double> rates, uiPerMb, receiverPerMb, allPerMb, waitsPerMb;
    const std::string block = Lines();
    for (int run = 0; run < runs; ++run) {
        Program program;
        std::atomic<bool> failed{false};
        std::atomic<bool> stop{false};
        std::atomic<double> writerCpu{0};
        const double ui0 = bench::ThreadCpuSeconds();
        const double all0 = bench::ProcessCpuSeconds();
        const double receiver0 = bench::NamedThreadsCpuSeconds(platform::TtyReceiver::kThreadName);
        const unsigned long waits0 = MessageLoop::WaitCount();
        auto start = Clock::now();
        std::thread writer = Feed(program.pty.master, block, bytes, stop, failed, writerCpu);
        bool done = bench::RunLoop(program.app, [&] { return program.Received() >= bytes; }, 300000);
        double wall = Seconds(Clock::now() - start);
        const double ui = bench::ThreadCpuSeconds() - ui0;
        const double receiver = bench::NamedThreadsCpuSeconds(platform::TtyReceiver::kThreadName) - receiver0;
        stop = true;
        writer.join();
        const double all = bench::ProcessCpuSeconds() - all0 - writerCpu;
        std::string text = GetMainFrame()->m_wndTerminal.GetText();
        bool exact = done && !failed && text.size() == bytes;
        for (std::size_t i = 0; exact && i < bytes; ++i)
            exact = text[i] == block[i % block.size()];
        if (!exact) {
            std::fprintf(stderr, "run %d: received %zu of %zu bytes, or not exactly\n", run, text.size(), bytes);
            std::exit(1);
        }
        const double mb = static_cast<double>(bytes) / 1e6;
        rates.push_back(mb / wall);
        uiPerMb.push_back(ui / mb);
        receiverPerMb.push_back(receiver / mb);
        allPerMb.push_back(all / mb);
        waitsPerMb.push_back(static_cast<double>(MessageLoop::WaitCount() - waits0) / mb);
    }
    Report("receive rate, pty feed, zero loss", rates, "MB/s", 15, true);
    Report("CPU per MB received, all threads", allPerMb, "s", 0.07, false);
    Report("  of which the UI thread", uiPerMb, "s", 0.07, false);
    Report("  of which the serial receiver", receiverPerMb, "s", 0.07, false);
    std::printf("  the loop's waits per MB: median %.0f\n", Median(waitsPerMb));
}

// Share of one core that the whole process uses while a port is open and the line silent, and how
// often the loop woke for it.
void SilentLine(int runs, int seconds) {
    std::vector<double> shares, wakes;
    for (int run = 0; run < runs; ++run) {
        Program program;
        program.app.RunUntil({}, 300); // settle: start-up's own painting is over
        double cpu0 = bench::ProcessCpuSeconds();
        unsigned long waits0 = MessageLoop::WaitCount();
        auto start = Clock::now();
        bench::RunLoop(program.app, {}, seconds * 1000);
        double wall = Seconds(Clock::now() - start);
        shares.push_back(100.0 * (bench::ProcessCpuSeconds() - cpu0) / wall);
        wakes.push_back(static_cast<double>(MessageLoop::WaitCount() - waits0) / wall);
    }
    char what[64];
    std::snprintf(what, sizeof what, "CPU, port open, line silent, %d s", seconds);
    Report(what, shares, "% core", 0.1, false);
    std::printf("  the loop's waits per second meanwhile: median %.2f\n", Median(wakes));
}

// Share of one core used while a modal dialog (the About box, opened by a command the loop hands
// out) is open and lines arrive at 115200 baud: the user-interface thread sleeps, as a modal loop
// never reads the port, and the serial receiver keeps them. Once the dialog is gone every byte must
// reach the terminal.
void ModalDialog(int runs, int seconds) {
    std::vector<double> uiShares, receiverShares, dropped;
    const std::string block = Lines();
    for (int run = 0; run < runs; ++run) {
        Program program;
        program.app.RunUntil({}, 200);
        double ui = -1;
        double receiver = -1;
        std::optional<PacedFeed> feed;
        bench::WhenDialogShown([&](CDialog& dialog) {
            // The dialog is up and its own painting done; now the line starts talking.
            QTimer::singleShot(200, [&, dialog = &dialog] {
                feed.emplace(program.pty.master, block);
                const double ui0 = bench::ThreadCpuSeconds();
                const double receiver0 = bench::NamedThreadsCpuSeconds(platform::TtyReceiver::kThreadName);
                const auto start = Clock::now();
                QTimer::singleShot(seconds * 1000, [&, dialog, ui0, receiver0, start] {
                    const double wall = Seconds(Clock::now() - start);
                    ui = 100.0 * (bench::ThreadCpuSeconds() - ui0) / wall;
                    receiver = 100.0 *
                               (bench::NamedThreadsCpuSeconds(platform::TtyReceiver::kThreadName) - receiver0) / wall;
                    feed->Stop();
                    dialog->SendMessage(WM_COMMAND, IDCANCEL, 0);
                });
            });
        });
        ::PostMessage(GetMainFrame()->GetSafeHwnd(), WM_COMMAND, ID_APP_ABOUT, 0);
        // Asked once a second only: a timer firing while the dialog is up would be counted in the
        // figure.
        bench::RunLoop(program.app, [&] { return ui >= 0 && program.Received() >= feed->Sent(); },
                       seconds * 1000 + 30000, 1000);
        if (ui < 0 || program.Received() != feed->Sent()) {
            std::fprintf(stderr, "modal run %d: dialog not measured, or %zu of %zu bytes received after it\n", run,
                         program.Received(), feed ? feed->Sent() : 0);
            std::exit(1);
        }
        uiShares.push_back(ui);
        receiverShares.push_back(receiver);
        dropped.push_back(static_cast<double>(feed->Dropped()));
    }
    Report("CPU of the UI thread, modal dialog open", uiShares, "% core", 1, false);
    Report("  the serial receiver meanwhile", receiverShares, "% core", 1, false);
    std::printf("  bytes the line dropped while the dialog was open: median %.0f (max %.0f)\n", Median(dropped),
                *std::max_element(dropped.begin(), dropped.end()));
}

// Share of one core that the whole process uses while text arrives as fast as a 115200-baud line
// carries it (11,520 bytes a second, 8N1), handed over every 10 ms as a UART's driver would: the
// cost a technician sees most of the time, set by painting rather than by the bytes.
void PacedLine(int runs, int seconds) {
    constexpr std::size_t kBytesPerTick = 115;
    constexpr auto kTick = std::chrono::milliseconds(10);
    std::vector<double> shares;
    const std::string block = Lines();
    for (int run = 0; run < runs; ++run) {
        Program program;
        program.app.RunUntil({}, 300);
        std::atomic<bool> stop{false};
        std::size_t sent = 0;
        std::thread writer([&] {
            auto next = Clock::now();
            while (!stop) {
                std::size_t offset = sent % block.size();
                std::size_t n = std::min(kBytesPerTick, block.size() - offset);
                ssize_t w = write(program.pty.master, block.data() + offset, n);
                sent += w > 0 ? static_cast<std::size_t>(w) : 0;
                next += kTick;
                std::this_thread::sleep_until(next);
            }
        });
        double cpu0 = bench::ProcessCpuSeconds();
        auto start = Clock::now();
        bench::RunLoop(program.app, {}, seconds * 1000);
        double wall = Seconds(Clock::now() - start);
        double cpu = bench::ProcessCpuSeconds() - cpu0;
        stop = true;
        writer.join();
        // The writer's own sleeping and writing is a small part of the process's time, and counted.
        shares.push_back(100.0 * cpu / wall);
    }
    std::printf("CPU, lines arriving at 115200 baud         median %8.3f %% core  (min %.3f, max %.3f, %d runs)\n",
                Median(shares), *std::min_element(shares.begin(), shares.end()),
                *std::max_element(shares.begin(), shares.end()), runs);
}

// Notes when a widget or any of its children is drawn.
class PaintWatch : public QObject {
public:
    explicit PaintWatch(QWidget* widget) {
        widget->installEventFilter(this);
        for (QWidget* child : widget->findChildren<QWidget*>())
            child->installEventFilter(this);
    }
    Clock::time_point last{};

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint)
            last = Clock::now();
        return false;
    }
};

// From a change of CTS to the CTS pane showing it, and to the status bar being drawn with it. The
// change is made by another thread, as a peer would, through the loopback plug, whose RTS drives
// its CTS.
void LineChange(int runs, int changes) {
    std::vector<double> toState, toPaint;
    for (int run = 0; run < runs; ++run) {
        {
            Program program("COM255");
            const HANDLE port = program.app.m_pPort->GetHandle();
            CMainFrame* frame = GetMainFrame();
            PaintWatch painted(frame->m_wndStatusBar.GetWidget());
            program.app.RunUntil({}, 300);
            std::vector<double> state, paint;
            // The plug comes up with RTS, and so CTS, raised: the first change drops it.
            for (int i = 0; i < changes; ++i) {
                const bool on = i % 2 != 0;
                const UINT wanted = on ? 0u : static_cast<UINT>(SBPS_POPOUT);
                std::atomic<Clock::rep> changedAt{0};
                std::thread changer([&] {
                    std::this_thread::sleep_for(std::chrono::milliseconds(20 + 7 * (i % 5)));
                    changedAt = Clock::now().time_since_epoch().count();
                    EscapeCommFunction(port, on ? SETRTS : CLRRTS);
                });
                Clock::time_point shown{};
                bool drawn = program.app.RunUntil(
                    [&] {
                        if (shown == Clock::time_point{} &&
                            frame->m_wndStatusBar.GetPaneStyle(CSignalStatusBar::kCts) == wanted)
                            shown = Clock::now();
                        return shown != Clock::time_point{} && painted.last > shown;
                    },
                    5000);
                changer.join();
                if (!drawn) {
                    std::fprintf(stderr, "line change %d never shown\n", i);
                    std::exit(1);
                }
                auto changed = Clock::time_point(Clock::duration(changedAt.load()));
                state.push_back(1000 * Seconds(shown - changed));
                paint.push_back(1000 * Seconds(painted.last - changed));
            }
            toState.push_back(Median(state));
            toPaint.push_back(Median(paint));
        }
    }
    Report("line change to its indicator's state", toState, "ms", 20, false);
    Report("line change to the status bar drawn", toPaint, "ms", 20, false);
}

// From a key typed into the terminal to its echo from the loopback plug drawn on the screen, a key
// every 100 ms as a person types.
void TypedEcho(int runs, int keys) {
    std::vector<double> medians, worst;
    for (int run = 0; run < runs; ++run) {
        Program program("COM255");
        CMainFrame* frame = GetMainFrame();
        QWidget* terminal = frame->m_wndTerminal.GetWidget();
        PaintWatch painted(terminal);
        program.app.RunUntil({}, 300);
        std::vector<double> ms;
        for (int i = 0; i < keys; ++i) {
            const char letter = static_cast<char>('a' + i % 26);
            const std::size_t before = program.Received();
            const auto typed = Clock::now();
            QKeyEvent press(QEvent::KeyPress, Qt::Key_A + i % 26, Qt::NoModifier, QString(QChar(letter)));
            QCoreApplication::sendEvent(terminal, &press);
            Clock::time_point shown{};
            const bool drawn = program.app.RunUntil(
                [&] {
                    if (shown == Clock::time_point{} && program.Received() > before)
                        shown = Clock::now();
                    return shown != Clock::time_point{} && painted.last > shown;
                },
                5000);
            if (!drawn) {
                std::fprintf(stderr, "the echo of key %d was never drawn\n", i);
                std::exit(1);
            }
            ms.push_back(1000 * Seconds(painted.last - typed));
            program.app.RunUntil({}, 100);
        }
        medians.push_back(Median(ms));
        worst.push_back(*std::max_element(ms.begin(), ms.end()));
    }
    Report("typed key to its echo drawn (loopback plug)", medians, "ms", 20, false);
    Report("  the slowest key of each run", worst, "ms", 20, false);
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
        bench::DropPosted();
        CDebugApp app;
        Clock::time_point shown{};
        auto start = run == 0 ? processStart : Clock::now();
        bench::WhenDialogShown([&shown](CDialog& dialog) {
            shown = Clock::now();
            dialog.SendMessage(WM_COMMAND, IDCANCEL, 0);
        });
        app.InitInstance();
        ms.push_back(1000 * Seconds(shown - start));
        if (CMainFrame* frame = GetMainFrame())
            frame->DestroyWindow();
        app.ExitInstance();
        bench::DropPosted();
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
    int amount = argc > 3 ? std::max(1, std::atoi(argv[3])) : 0;
    std::printf("load average at start: %s (%u cores)\n", bench::LoadAverage().c_str(),
                std::thread::hardware_concurrency());
    if (only.empty() || only == "startup")
        StartUp(runs, processStart);
    if (only.empty() || only == "probe") {
        Probe(runs);
        ProbeNotes(runs);
    }
    if (only.empty() || only == "lines")
        LineChange(runs, 20);
    if (only.empty() || only == "echo")
        TypedEcho(runs, 20);
    if (only.empty() || only == "modal")
        ModalDialog(runs, amount > 0 ? amount : 2);
    if (only.empty() || only == "receive")
        ReceiveRate(runs, static_cast<std::size_t>(amount > 0 ? amount : 16) << 20);
    if (only.empty() || only == "paced")
        PacedLine(only.empty() ? 3 : runs, amount > 0 ? amount : 10);
    if (only.empty() || only == "silent")
        SilentLine(only.empty() ? 3 : runs, amount > 0 ? amount : 20);
    std::printf("load average at end: %s\n", bench::LoadAverage().c_str());
    rmdir(locks);
    return 0;
}
