#include "framework/loop/CWinApp.h"

#include "framework/window/CWnd.h"
#include "framework/loop/MessageDispatch.h"

namespace {
CWinApp* g_app = nullptr;

// A window is gone: when it was the main window, the loop is asked to end.
void OnWindowDestroyed(CWnd* wnd) {
    if (g_app != nullptr && g_app->m_pMainWnd == wnd) {
        g_app->m_pMainWnd = nullptr;
        PostQuitMessage(0);
    }
}
} // namespace

BEGIN_MESSAGE_MAP(CWinApp, CCmdTarget)
ON_COMMAND(ID_APP_EXIT, &CWinApp::OnAppExit)
END_MESSAGE_MAP()

CWinApp::CWinApp(LPCSTR appName) : m_pszAppName(appName ? appName : "") {
    g_app = this;
    CWnd::SetDestroyedHook(&OnWindowDestroyed);
}

CWinApp::~CWinApp() {
    if (g_app == this)
        g_app = nullptr;
}

BOOL CWinApp::InitInstance() {
    return TRUE;
}

int CWinApp::Run() {
    MessageLoop loop(*this);
    loop.Run(nullptr, -1);
    return ExitInstance();
}

bool CWinApp::RunUntil(const std::function<bool()>& done, int timeoutMs) {
    MessageLoop loop(*this);
    return loop.Run(done, timeoutMs);
}

BOOL CWinApp::OnIdle(LONG count) {
    return count < 1;
}

int CWinApp::ExitInstance() {
    return afx::QuitCode();
}

void CWinApp::OnAppExit() {
    if (m_pMainWnd != nullptr)
        m_pMainWnd->SendMessage(WM_CLOSE);
}

CWinApp* AfxGetApp() {
    return g_app;
}

CWnd* AfxGetMainWnd() {
    return g_app ? g_app->m_pMainWnd : nullptr;
}

int AfxWinMain() {
    CWinApp* app = AfxGetApp();
    if (app == nullptr)
        return -1;
    if (!app->InitInstance())
        return app->ExitInstance();
    return app->Run();
}
