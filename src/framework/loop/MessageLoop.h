#pragma once
// One run of the application's message loop: posted messages in the order posted, Qt's events, and
// the idle step whenever the queue is empty. While a communications device is open the loop sleeps
// whenever the line has nothing new, until window input, a posted message, a byte, a line change or
// a device's own report ends the wait (a device that cannot report its lines asks to be looked at
// again after a while); a silent line costs nothing. While bytes keep arriving it never sleeps.
//
// Only this loop watches the devices. Modal loops (dialogs, message boxes, the file dialog) never
// run the idle step, so device input must not wake them: the watch is dropped as one starts.

#include <QObject>
#include <QSocketNotifier>
#include <QTimer>
#include <chrono>
#include <functional>
#include <memory>

#include "framework/base/WinUser.h"

// What the loop calls while its queue is empty: the application object.
class IdleHandler {
public:
    // TRUE asks to be called again (with the next count) before the loop waits.
    virtual BOOL OnIdle(LONG count) = 0;

protected:
    ~IdleHandler() = default;
};

class MessageLoop {
public:
    explicit MessageLoop(IdleHandler& app);
    ~MessageLoop();

    // Runs until WM_QUIT, until `done` holds, or until `timeoutMs` pass (-1: no limit);
    // returns whether `done` held. `done` and the time are looked at whenever the posted queue
    // runs empty (a handler that posts without end keeps the loop going).
    bool Run(const std::function<bool()>& done, int timeoutMs);

    // A caller's condition is tested at least this often while the loop sleeps.
    static constexpr int kConditionPollMs = 5;

    // Times any loop has gone to sleep for work since the process started; a silent open port
    // leaves it still.
    static unsigned long WaitCount();
    // A modal loop is starting: device input must not wake it.
    static void StopWatchingDevices();
    // A modal loop has ended: the idle step runs once more whatever the devices say, as it would
    // have run had the modal loop not held it back (a refresh that failed shows its failure again).
    static void LookAtDevicesAgain();

private:
    using Clock = std::chrono::steady_clock;

    bool DispatchOne();
    void RunIdleStep();
    void PumpQtEvents();
    void PumpQtIfDue();
    void WaitForWork(bool watchDevices);
    void DrawBeforeSleeping();
    int WaitLimitMs(int deviceMs) const;
    void RestartIdle();
    void WatchDevices(bool on);

    IdleHandler& m_app;
    MessageLoop* m_outer = nullptr;
    LONG m_idleCount = 0;
    bool m_idle = true;
    unsigned m_turns = 0;
    Clock::time_point m_lastPump;
    Clock::time_point m_deadline = Clock::time_point::max();
    bool m_pollCondition = false;
    // When a device asked to be looked at again (max: none asked); short waits for the caller's
    // condition do not push it back.
    Clock::time_point m_devicesDueAt = Clock::time_point::max();
    QTimer m_wakeTimer;
    std::unique_ptr<QSocketNotifier> m_deviceNotifier;
    bool m_lineWoke = false; // the devices signalled since the loop last came to sleep
};
