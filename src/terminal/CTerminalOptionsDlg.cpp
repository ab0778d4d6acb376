#include "terminal/CTerminalOptionsDlg.h"

#include "app/AppOptions.h"
#include "app/CDebugApp.h"
#include "app/CMainFrame.h"
#include "framework/dialogs/CDataExchange.h"
#include "resources/ResourceIds.h"

BEGIN_MESSAGE_MAP(CTerminalOptionsDlg, CDialog)
END_MESSAGE_MAP()

CTerminalOptionsDlg::CTerminalOptionsDlg(CWnd* parent)
    : CDialog(IDD_TERMINAL_OPTIONS, parent), m_bAutoWrap(0), m_bLocalEcho(g_appOptions.localEcho),
      m_bFilterLF(g_appOptions.filterLf), m_bSendCROnly(g_appOptions.sendCrOnly) {}

CTerminalOptionsDlg::~CTerminalOptionsDlg() = default;

void CTerminalOptionsDlg::DoDataExchange(CDataExchange* dx) {
    CDialog::DoDataExchange(dx);
    DDX_Check(dx, IDC_AUTOWRAP, m_bAutoWrap);
    DDX_Check(dx, IDC_LOCAL_ECHO, m_bLocalEcho);
    DDX_Check(dx, IDC_SEND_CR_ONLY, m_bSendCROnly);
    DDX_Check(dx, IDC_FILTER_LF, m_bFilterLF);
}

void CTerminalOptionsDlg::OnOK() {
    CDialog::OnOK();
    CMainFrame* frame = GetMainFrame();
    if (frame != nullptr)
        frame->m_wndTerminal.m_bLocalEcho = m_bLocalEcho;
    g_appOptions.localEcho = m_bLocalEcho;
    g_appOptions.sendCrOnly = m_bSendCROnly;
    g_appOptions.filterLf = m_bFilterLF;
    if (frame != nullptr) {
        frame->m_wndTerminal.m_bAutoWrap = m_bAutoWrap;
        frame->m_wndTerminal.m_bFilterLF = m_bFilterLF;
        frame->m_wndTerminal.m_bSendCROnly = m_bSendCROnly;
    }
}
