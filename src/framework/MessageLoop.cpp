#include "framework/MessageLoop.h"

#include <QCoreApplication>
#include <QEventLoop>

#include "framework/CWinApp.h"
#include "framework/InputMonitor.h"
#include "framework/MessageDispatch.h"
#include "framework/PostedMessageQueue.h"
#include "platform/CommWait.h"

namespace {
// While the loop is busy, Qt's own events (input, timers, painting) get a turn at least this often.
constexpr auto kQtPumpInterval = std::chrono::microseconds(1000);
// The clock is read only every so many turns of a busy loop.
constexpr unsigned kTurnsPerClockRead = 16;
} // namespace

MessageLoop::MessageLoop(CWinApp& app) : m_app(app), m_lastPump(Clock::now()) {
    InputMonitor::Install();
    m_wakeTimer.setSingleShot(true);
    m_wakeTimer.setTimerType(Qt::PreciseTimer);
    int fd = platform::CommWaitDescriptor();
    if (fd >= 0) {
        // Its only job is to end a wait; the loop reads the devices itself.
        m_deviceNotifier = std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Read);
        m_deviceNotifier->setEnabled(false);
    }
}

MessageLoop::~MessageLoop() = default;

bool MessageLoop::Run(const std::function<bool()>& done, int timeoutMs) {
    const auto deadline =
        timeoutMs < 0 ? Clock::time_point::max() : Clock::now() + std::chrono::milliseconds(timeoutMs);
    PumpQtEvents();
    for (;;) {
        PumpQtIfDue();
        if (afx::TakeInputSeen())
            RestartIdle();
        if (afx::QuitRequested())
            return false;
        if (done) {
            if (done())
                return true;
            if (m_turns % kTurnsPerClockRead == 0 && Clock::now() >= deadline)
                return false;
        }
        if (DispatchOne())
            continue;
        if (m_idle) {
            RunIdleStep();
            continue;
        }
        // Nothing to do until input arrives; a caller with a condition gets to test it now and then.
        WaitForWork(done ? 5 : -1, false);
    }
}

bool MessageLoop::DispatchOne() {
    MSG msg;
    if (!PostedMessageQueue::Instance().Pop(msg))
        return false;
    afx::DispatchPostedMessage(msg);
    return true;
}

void MessageLoop::RunIdleStep() {
    if (platform::CommAnyDeviceOpen() && !platform::CommInputWaiting()) {
        // The line is silent: sleep until something arrives. Window input that is already waiting
        // is handled by the wait at once, which then does not sleep.
        WaitForWork(kPaceMilliseconds, true);
        if (afx::TakeInputSeen()) {
            RestartIdle();
            return;
        }
        if (!PostedMessageQueue::Instance().Empty() || afx::QuitRequested())
            return;
    }
    if (!m_app.OnIdle(m_idleCount++))
        m_idle = false;
}

void MessageLoop::RestartIdle() {
    m_idle = true;
    m_idleCount = 0;
}

void MessageLoop::PumpQtIfDue() {
    if (++m_turns % kTurnsPerClockRead != 0)
        return;
    if (Clock::now() - m_lastPump >= kQtPumpInterval)
        PumpQtEvents();
}

void MessageLoop::PumpQtEvents() {
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    // This loop is not Qt's: objects whose deletion was deferred go here, between messages.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    m_lastPump = Clock::now();
}

void MessageLoop::WaitForWork(int timeoutMs, bool watchDevices) {
    if (timeoutMs >= 0)
        m_wakeTimer.start(timeoutMs);
    // Switching the notifier wakes Qt's dispatcher, so it is switched only when that changes: a
    // silent line then costs one wait per pace and nothing more. It stays on while the line is
    // watched; a wait that does not watch the line switches it off, or unread input would end it.
    if (m_deviceNotifier && m_deviceNotifier->isEnabled() != watchDevices)
        m_deviceNotifier->setEnabled(watchDevices);
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    m_wakeTimer.stop();
    m_lastPump = Clock::now();
}
