#include "app/CMainFrame.h"

#include "app/AppOptions.h"
#include "app/CAboutDlg.h"
#include "config/CPortSettingsDlg.h"
#include "resources/ResourceIds.h"

BEGIN_MESSAGE_MAP(CMainFrame, CFrameWnd)
ON_WM_CREATE()
ON_WM_ACTIVATE()
ON_COMMAND(ID_REFRESH_STATUS, &CMainFrame::OnRefreshStatus)
ON_COMMAND(ID_TOGGLE_DTR, &CMainFrame::OnToggleDtr)
ON_COMMAND(ID_TOGGLE_RTS, &CMainFrame::OnToggleRts)
ON_COMMAND(ID_PORT_SETTINGS, &CMainFrame::OnPortSettings)
ON_COMMAND(ID_TERMINAL_SETTINGS, &CMainFrame::OnTerminalSettings)
ON_COMMAND(ID_SYSTEM_INFO, &CMainFrame::OnSystemInfo)
ON_COMMAND(ID_EMPTY_BUFFER, &CMainFrame::OnEmptyBuffer)
ON_COMMAND(ID_SAVE_BUFFER, &CMainFrame::OnSaveBuffer)
ON_COMMAND(ID_APP_ABOUT, &CMainFrame::OnAppAbout)
END_MESSAGE_MAP()

CMainFrame::CMainFrame() {
    Create(nullptr, "Marloven Debug Utility", kFrameStyle, rectDefault, nullptr, IDR_MAINFRAME, 0);
    LoadAccelTable(IDR_ACCELERATORS);
    m_receivedCount = 0;
    m_transmittedCount = 0;
}

CMainFrame::~CMainFrame() = default;

int CMainFrame::OnCreate(LPCREATESTRUCT createStruct) {
    HFONT fixedFont = afx::HandleFromStockObject(GetStockObject(SYSTEM_FIXED_FONT));
    m_cts = m_dsr = m_dcd = m_ri = m_dtr = m_rts = 0;
    m_receivedCount = m_transmittedCount = 0;
    if (CFrameWnd::OnCreate(createStruct) == -1)
        return -1;

    if (!m_wndStatusBar.Create(this, kStatusBarStyle, AFX_IDW_STATUS_BAR))
        return -1;
    m_wndStatusBar.SetIndicators(CSignalStatusBar::kIndicators, CSignalStatusBar::kPaneCount);
    WidenPanesForTheirTexts();
    for (int pane = 0; pane < CSignalStatusBar::kPaneCount; ++pane)
        m_wndStatusBar.SetPaneStyle(pane, SBPS_POPOUT);
    if (g_appOptions.ntFamily) {
        m_wndStatusBar.SetPaneText(CSignalStatusBar::kOut, "Out: ");
        m_wndStatusBar.SetPaneText(CSignalStatusBar::kIn, "In: ");
    }
    m_wndStatusBar.SetPaneText(CSignalStatusBar::kPort, "Port: None");
    m_wndStatusBar.SetPaneText(CSignalStatusBar::kLine, "Line: None");

    CRect client;
    GetClientRect(&client);
    CRect barClient;
    m_wndStatusBar.GetClientRect(&barClient);
    client.bottom -= barClient.Height();
    if (!m_wndTerminal.CreateEx(0, "EDIT", nullptr, kTerminalStyle, client, this, IDC_TERMINAL))
        return -1;
    m_wndTerminal.SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(fixedFont), TRUE);
    return 0;
}

void CMainFrame::RecalcLayout(BOOL) {
    // Bars along their edges, and all that is left to the terminal.
    RepositionBars(0, 0xFFFF, IDC_TERMINAL);
}

void CMainFrame::OnActivate(UINT state, CWnd* other, BOOL minimized) {
    CFrameWnd::OnActivate(state, other, minimized);
    m_wndTerminal.SetFocus();
}

void CMainFrame::OnPortSettings() {
    CPortSettingsDlg dialog;
    dialog.DoModal();
}

void CMainFrame::OnAppAbout() {
    CAboutDlg about;
    about.DoModal();
}
