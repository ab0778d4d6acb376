#include "config/CPortSettingsDlg.h"

#include <cstdio>
#include <cstdlib>

#include "app/CDebugApp.h"
#include "app/CMainFrame.h"
#include "config/PortPaneTexts.h"
#include "config/PortTips.h"
#include "framework/dialogs/CDataExchange.h"
#include "platform/ports/PortDescription.h"
#include "platform/tty/PortProbeScope.h"
#include "resources/ResourceIds.h"
#include "serial/CSerialPort.h"

CPortSettingsDlg::CPortSettingsDlg(CWnd* parent)
    : CDialog(IDD_PORT_SETTINGS, parent), m_baudRate("9600"), m_dataBits("8"), m_dtrDsr(0), m_parity("None"),
      m_portName(""), m_rtsCts(0), m_stopBits("1"), m_xonXoff(0) {}

CPortSettingsDlg::~CPortSettingsDlg() = default;

void CPortSettingsDlg::DoDataExchange(CDataExchange* dx) {
    CDialog::DoDataExchange(dx);
    DDX_Control(dx, IDC_PORT, m_portList);
    DDX_CBString(dx, IDC_BAUD_RATE, m_baudRate);
    DDX_CBString(dx, IDC_DATA_BITS, m_dataBits);
    DDX_Check(dx, IDC_DTR_DSR, m_dtrDsr);
    DDX_CBString(dx, IDC_PARITY, m_parity);
    DDX_CBString(dx, IDC_PORT, m_portName);
    DDX_Check(dx, IDC_RTS_CTS, m_rtsCts);
    DDX_CBString(dx, IDC_STOP_BITS, m_stopBits);
    DDX_Check(dx, IDC_XON_XOFF, m_xonXoff);
}

BOOL CPortSettingsDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    CSerialPort* port = GetDebugApp()->m_pPort;
    if (port->GetState() != Closed)
        m_portList.AddString(port->GetName().c_str());
    // Before the probe: with the port open its name is selected; with it closed nothing is.
    m_portList.SetCurSel(0);
    ProbePorts();
    SetPortListItemTips(m_portList);
    m_portList.SetToolTipText(PermissionTip(platform::DevicesWithoutPermission()).c_str());
    return TRUE;
}

// Lists every name that can be opened exclusively right now. The program's own port is open already,
// so it fails here and is not listed twice. The scope lets the 255 opens share one look at which
// devices other programs hold.
void CPortSettingsDlg::ProbePorts() {
    platform::PortProbeScope scope;
    auto* probe = new CSerialPort;
    char name[16];
    for (int n = kFirstPort; n <= kLastPort; ++n) {
        std::snprintf(name, sizeof name, "COM%d", n);
        probe->SetShareMode(0);
        probe->SetBaudRate(115200);
        if (probe->Open(name)) {
            m_portList.AddString(name);
            probe->Close();
        }
    }
    delete probe;
}

void CPortSettingsDlg::OnOK() {
    CDialog::OnOK();
    ApplySettings();
}

void CPortSettingsDlg::ApplySettings() {
    CSerialPort* port = GetDebugApp()->m_pPort;
    CMainFrame* frame = GetMainFrame();
    if (port->GetState() != Closed)
        port->Close();
    port->SetOverlapped(FALSE);
    port->Open(m_portName.str());
    if (frame != nullptr)
    {
        frame->m_wndStatusBar.SetPaneText(CSignalStatusBar::kPort, PortPaneText(port->GetName()));
        frame->m_wndStatusBar.SetPaneTipText(CSignalStatusBar::kPort,
                                             platform::DescribePort(port->GetName()).c_str());
    }
    port->SetBaudRate(static_cast<DWORD>(DecimalFromText(m_baudRate)));
    if (frame != nullptr) {
        frame->m_wndStatusBar.SetPaneText(CSignalStatusBar::kLine, LinePaneText(m_baudRate, m_parity, m_dataBits));
    }
    port->SetByteSize(static_cast<BYTE>(DecimalFromText(m_dataBits)));
    port->SetStopBits(StopBitsFromText(m_stopBits));
    port->SetParity(ParityFromText(m_parity));
    port->SetRtsCtsFlow(m_rtsCts);
    port->SetDtrDsrFlow(m_dtrDsr);
    port->SetXonXoffFlow(m_xonXoff);
    InitLineSignals(port->GetHandle());
    if (frame != nullptr) {
        frame->m_trackedDtr = 1;
        frame->m_trackedRts = 0;
    }
}

void CPortSettingsDlg::OnCancel() {
    CDialog::OnCancel();
}

BYTE StopBitsFromText(const CString& text) {
    if (text == "1")
        return ONESTOPBIT;
    if (text == "2")
        return TWOSTOPBITS;
    return ONE5STOPBITS;
}

BYTE ParityFromText(const CString& text) {
    if (text == "None")
        return NOPARITY;
    if (text == "Even")
        return EVENPARITY;
    if (text == "Odd")
        return ODDPARITY;
    if (text == "Mark")
        return MARKPARITY;
    return SPACEPARITY;
}

long DecimalFromText(const CString& text) {
    return std::strtol(text.GetString(), nullptr, 10);
}
