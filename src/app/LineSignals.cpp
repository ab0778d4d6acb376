// The line state behind the status bar's indicators, its refresh after every read of the port, and
// the hand controls of DTR and RTS.
#include <charconv>
#include <cstring>

#include "app/AppOptions.h"
#include "app/CDebugApp.h"
#include "app/CMainFrame.h"
#include "framework/loop/MessageBox.h"
#include "serial/CSerialPort.h"

BOOL CMainFrame::ReadLineStates(CSerialPort* port) {
    DWORD status = 0;
    if (!GetCommModemStatus(port->GetHandle(), &status))
        return 0;
    m_cts = status & MS_CTS_ON;
    m_dsr = status & MS_DSR_ON;
    m_dcd = status & MS_RLSD_ON;
    m_ri = status & MS_RING_ON;
    if (!g_appOptions.ntFamily)
        return 1;
    DWORD lines = 0;
    DWORD returned = 0;
    if (!DeviceIoControl(port->GetHandle(), IOCTL_SERIAL_GET_DTRRTS, nullptr, 0, &lines, sizeof lines,
                         &returned, nullptr))
        return 0;
    m_dtr = lines & SERIAL_DTR_STATE;
    m_rts = lines & SERIAL_RTS_STATE;
    return 1;
}

BOOL CMainFrame::ReadDriverCounters(CSerialPort* port) {
    SERIALPERF_STATS stats{};
    DWORD returned = 0;
    if (!DeviceIoControl(port->GetHandle(), IOCTL_SERIAL_GET_STATS, nullptr, 0, &stats, sizeof stats,
                         &returned, nullptr))
        return 0;
    m_receivedCount = stats.ReceivedCount;
    m_transmittedCount = stats.TransmittedCount;
    return 1;
}

void CMainFrame::OnRefreshStatus() {
    CDebugApp* app = GetDebugApp();
    CSerialPort* port = app ? app->m_pPort : nullptr;
    // A refresh is posted only while the port is open, but one may still be waiting when the port is
    // closed: reading a closed handle would report a failure of a port nobody is using.
    if (port == nullptr || port->GetState() != Idle)
        return;
    if (!ReadLineStates(port)) {
        MessageBoxA(nullptr, "Can't get port signals", "Error", MB_OK);
        return;
    }
    const bool nt = g_appOptions.ntFamily != 0;
    if (nt && !ReadDriverCounters(port)) {
        MessageBoxA(nullptr, "Can't get port statistics", "Error", MB_OK);
        return;
    }
    using Bar = CSignalStatusBar;
    // The Txd and Rxd indicators always stand raised.
    ShowIndicators(LitBit(Bar::kCts, m_cts) | LitBit(Bar::kRts, nt ? m_rts : m_trackedRts) |
                   LitBit(Bar::kDtr, nt ? m_dtr : m_trackedDtr) | LitBit(Bar::kDsr, m_dsr) |
                   LitBit(Bar::kDcd, m_dcd) | LitBit(Bar::kRi, m_ri));
    if (nt) {
        ShowCount(CSignalStatusBar::kIn, "In: ", m_receivedCount, m_shownReceivedCount);
        ShowCount(CSignalStatusBar::kOut, "Out: ", m_transmittedCount, m_shownTransmittedCount);
    }
}

void CMainFrame::SetIndicators(unsigned lit) {
    static constexpr int kPanes[] = {CSignalStatusBar::kCts, CSignalStatusBar::kRts, CSignalStatusBar::kDtr,
                                     CSignalStatusBar::kDsr, CSignalStatusBar::kDcd, CSignalStatusBar::kTxd,
                                     CSignalStatusBar::kRxd, CSignalStatusBar::kRi};
    for (int pane : kPanes) {
        const unsigned bit = 1u << pane;
        if (m_shownLit == kNothingShown || ((lit ^ m_shownLit) & bit) != 0)
            m_wndStatusBar.SetPaneStyle(pane, (lit & bit) != 0 ? SBPS_NORMAL : SBPS_POPOUT);
    }
    m_shownLit = lit;
}

// The prefix and the count in plain decimal, built on the stack.
void CMainFrame::SetCount(int pane, const char* prefix, DWORD count, std::optional<DWORD>& shown) {
    shown = count;
    char text[32];
    std::size_t length = std::strlen(prefix);
    std::memcpy(text, prefix, length);
    char* end = std::to_chars(text + length, text + sizeof text - 1, count).ptr;
    *end = '\0';
    m_wndStatusBar.SetPaneText(pane, text);
}

void CMainFrame::OnToggleRts() {
    ToggleLine(&CMainFrame::m_rts, m_trackedRts, SETRTS, CLRRTS);
}

void CMainFrame::OnToggleDtr() {
    ToggleLine(&CMainFrame::m_dtr, m_trackedDtr, SETDTR, CLRDTR);
}

// Raises an output line that is down and drops one that is up, only while the port is open and idle.
// The NT family decides on the driver's word (read afresh; the next refresh shows the new state);
// elsewhere the program's own record decides and is turned over with the line.
void CMainFrame::ToggleLine(DWORD CMainFrame::*driverState, DWORD& tracked, DWORD raise, DWORD drop) {
    CDebugApp* app = GetDebugApp();
    CSerialPort* port = app ? app->m_pPort : nullptr;
    if (port == nullptr || port->GetState() != Idle)
        return;
    if (g_appOptions.ntFamily) {
        ReadLineStates(port);
        EscapeCommFunction(port->GetHandle(), this->*driverState ? drop : raise);
        return;
    }
    EscapeCommFunction(port->GetHandle(), tracked ? drop : raise);
    tracked = tracked ? 0 : 1;
}
