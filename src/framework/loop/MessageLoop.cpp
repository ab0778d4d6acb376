#include "framework/loop/MessageLoop.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QEventLoop>
#include <QThread>
#include <utility>

#include "framework/base/RepaintScheduler.h"
#include "framework/loop/InputMonitor.h"
#include "framework/loop/MessageDispatch.h"
#include "framework/window/PostedMessageQueue.h"
#include "platform/comm/CommActivity.h"

namespace {
// While the loop is busy, Qt's own events (input, timers, painting) get a turn at least this often.
constexpr auto kQtPumpInterval = std::chrono::microseconds(1000);
// The clock is read only every so many turns of a busy loop: a turn takes tens of nanoseconds, so
// even this many leave Qt its turn well within the interval above, and the clock stays out of the
// per-byte cost.
constexpr unsigned kTurnsPerClockRead = 256;
// A frame due within this long is drawn before the loop sleeps rather than after.
constexpr int kFrameSlackMs = framework::RepaintScheduler::kFrameMs / 4;

MessageLoop* g_innermost = nullptr;
unsigned long g_waits = 0;
// The idle step must run though no device reported anything: a device's time to be looked at again
// ran out, or a modal loop ended.
bool g_devicesDue = false;

// The shorter of two limits in milliseconds, where -1 is none.
int Sooner(int a, int b) {
    if (a < 0)
        return b;
    return b < 0 ? a : std::min(a, b);
}
} // namespace

MessageLoop::MessageLoop(IdleHandler& app) : m_app(app), m_outer(g_innermost), m_lastPump(Clock::now()) {
    g_innermost = this;
    InputMonitor::Install();
    m_wakeTimer.setSingleShot(true);
    m_wakeTimer.setTimerType(Qt::PreciseTimer);
    int fd = platform::CommWakeDescriptor();
    if (fd >= 0) {
        // Its only job is to end a wait; the loop reads the devices itself, and the signal with
        // them, so the notifier stays on: switching it off and on again at every wake-up would cost
        // Qt's dispatcher a round of its own each time. A loop of Qt's own (one this loop does not
        // know to be modal) would never take the signal, and would be woken by it again and again:
        // there it fires once.
        m_deviceNotifier = std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Read);
        m_deviceNotifier->setEnabled(false);
        QObject::connect(m_deviceNotifier.get(), &QSocketNotifier::activated, m_deviceNotifier.get(), [this] {
            if (QThread::currentThread()->loopLevel() > 0)
                m_deviceNotifier->setEnabled(false);
            m_lineWoke = true;
        });
    }
}

MessageLoop::~MessageLoop() {
    g_innermost = m_outer;
}

unsigned long MessageLoop::WaitCount() {
    return g_waits;
}

void MessageLoop::LookAtDevicesAgain() {
    g_devicesDue = true;
}

void MessageLoop::StopWatchingDevices() {
    for (MessageLoop* loop = g_innermost; loop != nullptr; loop = loop->m_outer)
        loop->WatchDevices(false);
}

bool MessageLoop::Run(const std::function<bool()>& done, int timeoutMs) {
    m_deadline =
        timeoutMs < 0 ? Clock::time_point::max() : Clock::now() + std::chrono::milliseconds(timeoutMs);
    m_pollCondition = static_cast<bool>(done);
    PumpQtEvents();
    for (;;) {
        PumpQtIfDue();
        if (afx::TakeInputSeen())
            RestartIdle();
        if (afx::QuitRequested())
            return false;
        if (DispatchOne())
            continue;
        // The caller's condition and the deadline are looked at whenever the queue has run empty,
        // which a received byte's own messages leave it after every byte.
        if (done && done())
            return true;
        if (m_lastPump >= m_deadline)
            return false;
        if (m_idle) {
            RunIdleStep();
            continue;
        }
        WaitForWork(false);
    }
}

bool MessageLoop::DispatchOne() {
    MSG msg;
    if (!PostedMessageQueue::Instance().Pop(msg))
        return false;
    afx::DispatchPostedMessage(msg);
    return true;
}

// With a device open, the idle step runs only when the devices have something new (bytes, a line
// change, a write or a driven line) or a device's time to be looked at again ran out. Otherwise the
// loop sleeps and then starts its turn afresh: input, posted messages and the caller's condition
// come first.
void MessageLoop::RunIdleStep() {
    if (platform::CommAnyDeviceOpen() && !g_devicesDue && !platform::CommActivityWaiting()) {
        WaitForWork(true);
        return;
    }
    g_devicesDue = false;
    m_devicesDueAt = Clock::time_point::max();
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

// What the line woke the loop for is drawn as soon as it has been taken, unless a frame was drawn a
// moment ago: frames then keep the line's cadence and share its wake-ups. The line's next wake-up
// counts from the take, the next frame's timer from this drawing, which comes after it however long
// taking or drawing lasts: the line stays ahead. Drawn first and taken after, a slow frame would
// put the take, and the line's next wake-up, behind that timer; left to their own timer, frames
// would drift against the line. Either way a wake-up for the bytes and another for their frame
// would follow every frame. Anything else is drawn now only when its frame is due anyway.
void MessageLoop::DrawBeforeSleeping() {
    framework::RepaintScheduler& frames = framework::RepaintScheduler::Instance();
    const bool lineWoke = std::exchange(m_lineWoke, false);
    if (!(lineWoke && frames.DrawOnWake(kFrameSlackMs)))
        frames.DrawIfDueWithin(kFrameSlackMs);
}

// The longest this wait may last: what the devices ask, the caller's condition, its deadline.
int MessageLoop::WaitLimitMs(int deviceMs) const {
    int limit = Sooner(deviceMs, m_pollCondition ? kConditionPollMs : -1);
    if (m_deadline != Clock::time_point::max()) {
        auto left = std::chrono::ceil<std::chrono::milliseconds>(m_deadline - Clock::now()).count();
        limit = Sooner(limit, static_cast<int>(std::max<decltype(left)>(0, left)));
    }
    return limit;
}

void MessageLoop::WatchDevices(bool on) {
    // Switching the notifier costs Qt's dispatcher work, so it is switched only when that changes.
    if (m_deviceNotifier && m_deviceNotifier->isEnabled() != on)
        m_deviceNotifier->setEnabled(on);
}

void MessageLoop::WaitForWork(bool watchDevices) {
    // What was just handled is drawn with this frame, not after a wake-up of its own. Qt's events
    // already waiting (a frame's paint among them) are handled before anything counts as a wait,
    // and the turn starts afresh after them: they may have posted a message or been input.
    DrawBeforeSleeping();
    if (QAbstractEventDispatcher* qt = QAbstractEventDispatcher::instance(); qt && qt->processEvents(QEventLoop::AllEvents))
        return;
    int deviceMs = -1;
    if (watchDevices) {
        const Clock::time_point now = Clock::now();
        const int asked = platform::CommWakeAfterMs();
        if (asked >= 0 && m_devicesDueAt == Clock::time_point::max())
            m_devicesDueAt = now + std::chrono::milliseconds(asked);
        if (m_devicesDueAt != Clock::time_point::max())
            deviceMs = static_cast<int>(
                std::max<long long>(0, std::chrono::ceil<std::chrono::milliseconds>(m_devicesDueAt - now).count()));
    }
    const int limit = WaitLimitMs(deviceMs);
    if (limit >= 0)
        m_wakeTimer.start(limit);
    // Input the idle step will not read must not end a wait that does not run it.
    WatchDevices(watchDevices);
    ++g_waits;
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    m_wakeTimer.stop();
    m_lastPump = Clock::now();
    if (watchDevices && m_lastPump >= m_devicesDueAt)
        g_devicesDue = true;
}
