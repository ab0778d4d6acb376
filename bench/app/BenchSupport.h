#pragma once
// What the whole-program figures share: clocks and CPU readings, medians with their ratio to a
// target, a pseudo-terminal, the program started with its port open, and dialogs answered from
// inside their modal loops.

#include <chrono>
#include <functional>
#include <string>
#include <vector>

#include "app/CDebugApp.h"

class CDialog;
namespace framework {
class TextBuffer;
}

namespace bench {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::duration d);
// CPU time of the calling thread.
double ThreadCpuSeconds();
// CPU time of every thread of the process, from each one's schedstat.
double ProcessCpuSeconds();
// CPU time of the process's threads that carry `name` (the serial receivers, say), from their
// schedstat; threads that have ended are not counted.
double NamedThreadsCpuSeconds(const char* name);
double Median(std::vector<double> v);
// One figure: median, spread, and ratio to its target.
void Report(const char* what, const std::vector<double>& runs, const char* unit, double target, bool atLeast);
// The load average, so that noisy figures can be read against it.
std::string LoadAverage();

struct Pty {
    int master = -1;
    std::string slave;
    Pty();
    ~Pty();
    Pty(const Pty&) = delete;
    Pty& operator=(const Pty&) = delete;
};

// The program as it starts, with its port opened the way the port dialog opens it: on a pty, or on
// the port named.
struct Program {
    CDebugApp app;
    Pty pty;
    explicit Program(const std::string& port = {});
    ~Program();
    // Asked at every turn of the loop while receiving, so it costs one call.
    std::size_t Received() const;

private:
    const framework::TextBuffer* m_text = nullptr;
};

// Runs the program's own message loop, as the program runs it, until `done` holds (true) or
// `timeoutMs` pass (false). `done` is asked from a timer every `checkMs`, never by the loop itself,
// so that the loop does what it does in the program and no more.
bool RunLoop(CDebugApp& app, const std::function<bool()>& done, int timeoutMs, int checkMs = 1);

// Whatever an earlier program left posted (its WM_QUIT, for one) must not reach the next one.
void DropPosted();
// Calls `shown` with the dialog once a modal one is up; it answers the dialog itself.
void WhenDialogShown(const std::function<void(CDialog&)>& shown);

} // namespace bench
