#pragma once
// The application object. Its message loop hands out posted messages and Qt's events, and while the
// queue is empty calls OnIdle with a count that starts at 0 and restarts after every message that
// counts as input. A modal loop (dialog, message box) never calls OnIdle.

#include <functional>

#include "framework/window/CCmdTarget.h"
#include "framework/loop/MessageLoop.h"

class CWnd;

class CWinApp : public CCmdTarget, public IdleHandler {
public:
    explicit CWinApp(LPCSTR appName = nullptr);
    ~CWinApp() override;

    virtual BOOL InitInstance();
    virtual int Run();
    // The idle step; TRUE asks to be called again (with the next count) before the loop waits.
    BOOL OnIdle(LONG count) override;
    virtual int ExitInstance();

    // The standard Exit command: closes the main window.
    void OnAppExit();

    // Runs the same loop as Run until `done` holds, the loop is told to quit, or `timeoutMs` pass;
    // returns whether `done` held. For programs that drive the loop themselves, such as tests.
    bool RunUntil(const std::function<bool()>& done, int timeoutMs);

    CWnd* m_pMainWnd = nullptr;
    int m_nCmdShow = 10; // SW_SHOWDEFAULT
    LPCSTR m_pszAppName;

    DECLARE_MESSAGE_MAP()
};

CWinApp* AfxGetApp();
CWnd* AfxGetMainWnd();
// Start-up, loop and shutdown of the one application object: InitInstance, then Run (which ends with
// ExitInstance), or ExitInstance at once when InitInstance fails. Returns the process exit code.
int AfxWinMain();
