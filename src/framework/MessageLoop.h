#pragma once
// One run of the application's message loop: posted messages in the order posted, Qt's events, and
// the idle step whenever the queue is empty. While a communications device is open but silent the
// loop sleeps until input arrives, a byte arrives, or 10 ms pass, so a quiet line costs almost nothing;
// while bytes keep arriving it never sleeps.

#include <QObject>
#include <QSocketNotifier>
#include <QTimer>
#include <chrono>
#include <functional>
#include <memory>

#include "framework/WinUser.h"

class CWinApp;

class MessageLoop {
public:
    explicit MessageLoop(CWinApp& app);
    ~MessageLoop();

    // Runs until WM_QUIT, until `done` holds, or until `timeoutMs` pass (-1: no limit);
    // returns whether `done` held.
    bool Run(const std::function<bool()>& done, int timeoutMs);

    // How long a silent open device lets the loop sleep.
    static constexpr int kPaceMilliseconds = 10;

private:
    using Clock = std::chrono::steady_clock;

    bool DispatchOne();
    void RunIdleStep();
    void PumpQtEvents();
    void PumpQtIfDue();
    void WaitForWork(int timeoutMs, bool watchDevices);
    void RestartIdle();

    CWinApp& m_app;
    LONG m_idleCount = 0;
    bool m_idle = true;
    unsigned m_turns = 0;
    Clock::time_point m_lastPump;
    QTimer m_wakeTimer;
    std::unique_ptr<QSocketNotifier> m_deviceNotifier;
};
