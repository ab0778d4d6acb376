#include "app/CDebugApp.h"

#include <cstdio>

#include "app/AppOptions.h"
#include "app/CMainFrame.h"
#include "config/CPortSettingsDlg.h"
#include "framework/loop/MessageDispatch.h"
#include "platform/base/SystemVersion.h"
#include "resources/ResourceIds.h"
#include "serial/CSerialPort.h"

CDebugApp::CDebugApp() : CWinApp("martool") {}

CDebugApp::~CDebugApp() {
    // Normally gone by now (shutdown deletes it); a run that never reached shutdown must not leak it.
    delete m_pPort;
}

BOOL CDebugApp::InitInstance() {
    g_appOptions.localEcho = 0;
    g_appOptions.filterLf = 1;
    g_appOptions.sendCrOnly = 1;

    // The frame reads the family when it is created, so this comes first.
    OSVERSIONINFOA version{};
    version.dwOSVersionInfoSize = sizeof(OSVERSIONINFOA);
    g_appOptions.ntFamily = GetVersionExA(&version) && version.dwPlatformId == VER_PLATFORM_WIN32_NT ? 1 : 0;

    m_pPort = new CSerialPort;

    auto* frame = new CMainFrame;
    if (frame->GetSafeHwnd() == nullptr) {
        // Without its window the program has nothing to show received text in and no way to be
        // closed: polling the port on would leave an invisible process running for ever.
        std::fputs("martool: the main window could not be created; the program ends.\n", stderr);
        delete frame;
        m_noWindow = true;
        return FALSE;
    }
    m_pMainWnd = frame;
    frame->ShowWindow(m_nCmdShow);
    frame->UpdateWindow();

    CPortSettingsDlg dialog;
    dialog.DoModal();
    return TRUE;
}

BOOL CDebugApp::OnIdle(LONG count) {
    BOOL more = CWinApp::OnIdle(count);
    if (m_pPort == nullptr || m_pPort->GetState() != Idle)
        return more;
    BYTE received = 0;
    m_pPort->Read(&received, 1);
    CMainFrame* frame = GetMainFrame();
    if (frame == nullptr)
        return more;
    if (m_pPort->m_bytesRead == 1) {
        // Sign-extended from 8 to 32 bits, as a character message carries it.
        auto code = static_cast<DWORD>(static_cast<LONG>(static_cast<signed char>(received)));
        ::PostMessage(frame->m_wndTerminal.GetSafeHwnd(), WM_CHAR, code, kReceivedCharFlags);
    }
    ::PostMessage(frame->GetSafeHwnd(), WM_COMMAND, ID_REFRESH_STATUS, 0);
    return more;
}

int CDebugApp::ExitInstance() {
    if (m_pPort != nullptr) {
        m_pPort->Close();
        delete m_pPort;
        m_pPort = nullptr;
    }
    const int code = CWinApp::ExitInstance();
    return m_noWindow ? kNoWindowExitCode : code;
}

CDebugApp* GetDebugApp() {
    return static_cast<CDebugApp*>(AfxGetApp());
}

CMainFrame* GetMainFrame() {
    return static_cast<CMainFrame*>(AfxGetMainWnd());
}
