#include "BenchSupport.h"

#include <QApplication>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <fstream>
#include <unistd.h>

#include "app/CMainFrame.h"
#include "framework/dialogs/CDialog.h"
#include "framework/edit/EditView.h"
#include "framework/loop/MessageDispatch.h"
#include "framework/loop/MessageLoop.h"
#include "framework/window/PostedMessageQueue.h"
#include "framework/text/TextBuffer.h"
#include "framework/window/WndWidget.h"
#include "serial/CSerialPort.h"

namespace bench {

double Seconds(Clock::duration d) {
    return std::chrono::duration<double>(d).count();
}

double ThreadCpuSeconds() {
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) / 1e9;
}

namespace {

// The sum of the schedstat run times of the threads `wanted` picks by name.
template <typename Wanted>
double ThreadsCpuSeconds(Wanted wanted) {
    double total = 0;
    DIR* tasks = opendir("/proc/self/task");
    if (tasks == nullptr)
        return 0;
    while (dirent* entry = readdir(tasks)) {
        if (entry->d_name[0] == '.')
            continue;
        const std::string task = std::string("/proc/self/task/") + entry->d_name;
        std::string name;
        std::getline(std::ifstream(task + "/comm"), name);
        std::ifstream stat(task + "/schedstat");
        unsigned long long onCpuNs = 0;
        if (wanted(name) && stat >> onCpuNs)
            total += static_cast<double>(onCpuNs) / 1e9;
    }
    closedir(tasks);
    return total;
}

} // namespace

double ProcessCpuSeconds() {
    return ThreadsCpuSeconds([](const std::string&) { return true; });
}

double NamedThreadsCpuSeconds(const char* name) {
    return ThreadsCpuSeconds([name](const std::string& thread) { return thread == name; });
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

void Report(const char* what, const std::vector<double>& runs, const char* unit, double target, bool atLeast) {
    double m = Median(runs);
    std::printf("%-44s median %11.4f %-8s (min %.4f, max %.4f, %zu runs)  target %s %g: %.2f x target\n", what,
                m, unit, *std::min_element(runs.begin(), runs.end()), *std::max_element(runs.begin(), runs.end()),
                runs.size(), atLeast ? ">=" : "<=", target, m / target);
}

std::string LoadAverage() {
    std::ifstream file("/proc/loadavg");
    std::string one, five, fifteen;
    file >> one >> five >> fifteen;
    return one + " " + five + " " + fifteen;
}

Pty::Pty() {
    master = posix_openpt(O_RDWR | O_NOCTTY);
    if (master < 0 || grantpt(master) != 0 || unlockpt(master) != 0) {
        std::perror("pty");
        std::exit(1);
    }
    slave = ptsname(master);
}

Pty::~Pty() {
    close(master);
}

bool RunLoop(CDebugApp& app, const std::function<bool()>& done, int timeoutMs, int checkMs) {
    bool held = false;
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    QTimer check;
    check.setTimerType(Qt::PreciseTimer);
    QObject::connect(&check, &QTimer::timeout, [&] {
        held = done && done();
        if (held || Clock::now() >= deadline) {
            check.stop();
            PostQuitMessage(0);
        }
    });
    check.start(done ? checkMs : timeoutMs);
    MessageLoop loop(app);
    loop.Run(nullptr, -1);
    afx::ClearQuit();
    return held;
}

void DropPosted() {
    MSG msg;
    while (PostedMessageQueue::Instance().Pop(msg)) {
    }
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    afx::ClearQuit();
}

void WhenDialogShown(const std::function<void(CDialog&)>& shown) {
    QTimer::singleShot(1, [shown] {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            auto* bridge = WndWidgetBase::FromWidget(w);
            auto* dialog = bridge ? dynamic_cast<CDialog*>(bridge->Owner()) : nullptr;
            if (dialog != nullptr && w->isVisible()) {
                shown(*dialog);
                return;
            }
        }
        WhenDialogShown(shown);
    });
}

Program::Program(const std::string& port) {
    DropPosted();
    WhenDialogShown([](CDialog& dialog) { dialog.SendMessage(WM_COMMAND, IDCANCEL, 0); });
    app.InitInstance();
    app.m_pPort->SetOverlapped(FALSE);
    const std::string& name = port.empty() ? pty.slave : port;
    if (!app.m_pPort->Open(name)) {
        std::fprintf(stderr, "cannot open %s\n", name.c_str());
        std::exit(1);
    }
    m_text = &GetMainFrame()->m_wndTerminal.GetView()->Buffer();
}

Program::~Program() {
    if (CMainFrame* frame = GetMainFrame())
        frame->DestroyWindow();
    app.ExitInstance();
    DropPosted();
}

std::size_t Program::Received() const {
    return m_text->Length();
}

} // namespace bench
