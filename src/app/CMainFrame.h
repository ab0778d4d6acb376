#pragma once
// The program's only top-level window: title, menu, accelerators, the status bar of line indicators
// and the terminal filling the rest. It routes the program's commands to their handlers and keeps
// the line state behind the indicators.

#include <array>
#include <optional>

#include "app/CSignalStatusBar.h"
#include "framework/frame/CFrameWnd.h"
#include "terminal/CTerminalEdit.h"

class CSerialPort;

class CMainFrame : public CFrameWnd {
public:
    CMainFrame();
    ~CMainFrame() override;

    void RecalcLayout(BOOL notify = TRUE) override;

    CSignalStatusBar m_wndStatusBar;
    CTerminalEdit m_wndTerminal;

    // Line states as last read: each holds its masked status bit, 0 when the line is off.
    DWORD m_cts = 0;
    DWORD m_dsr = 0;
    DWORD m_dcd = 0;
    DWORD m_ri = 0;
    DWORD m_dtr = 0; // as the driver reports it (NT family)
    DWORD m_rts = 0;
    // The driver's byte counts at the last successful reading of its statistics (NT family).
    DWORD m_receivedCount = 0;
    DWORD m_transmittedCount = 0;
    // The program's own record of the output lines, used where the driver cannot report them.
    DWORD m_trackedDtr = 0;
    DWORD m_trackedRts = 0;

    BOOL ReadLineStates(CSerialPort* port);
    BOOL ReadDriverCounters(CSerialPort* port);

    int OnCreate(LPCREATESTRUCT createStruct);
    void OnActivate(UINT state, CWnd* other, BOOL minimized);
    void OnRefreshStatus();
    void OnToggleDtr();
    void OnToggleRts();
    void OnPortSettings();
    void OnTerminalSettings();
    void OnSystemInfo();
    void OnEmptyBuffer();
    void OnSaveBuffer();
    void OnAppAbout();

    static constexpr DWORD kFrameStyle = 0x00CF0000;     // WS_OVERLAPPEDWINDOW
    static constexpr DWORD kStatusBarStyle = 0x50008200; // child, visible, bottom, top border
    static constexpr DWORD kTerminalStyle = 0x503010C4;  // child, visible, both scroll bars, multi-line

    DECLARE_MESSAGE_MAP()

private:
    // Each pane that the program writes later as wide as the widest text it can write there.
    void WidenPanesForTheirTexts();
    // Eight indicators and two counts follow every received byte, and nearly always find what the
    // panes show already. The frame keeps what it last showed in them (m_shown...) and leaves such a
    // pane alone, here, inline; the bar itself does not compare. What keeps the copy true: after
    // OnCreate has made the panes, only SetIndicator and SetCount write these ten, each noting what
    // it wrote, and the copy starts empty, so that the first refresh writes every one of them.
    // Sunken (normal style) for a line that is on, raised for one that is off.
    void ShowIndicator(int pane, DWORD source) {
        const UINT style = source != 0 ? SBPS_NORMAL : SBPS_POPOUT;
        if (m_shownStyles[static_cast<std::size_t>(pane)] != style)
            SetIndicator(pane, style);
    }
    void ShowCount(int pane, const char* prefix, DWORD count, std::optional<DWORD>& shown) {
        if (shown != count)
            SetCount(pane, prefix, count, shown);
    }
    void SetIndicator(int pane, UINT style);
    void SetCount(int pane, const char* prefix, DWORD count, std::optional<DWORD>& shown);
    void ToggleLine(DWORD CMainFrame::*driverState, DWORD& tracked, DWORD raise, DWORD drop);
    // The counts the panes show now; nothing before the first refresh.
    std::optional<DWORD> m_shownReceivedCount;
    std::optional<DWORD> m_shownTransmittedCount;
    // The indicator styles the refresh has set, by pane.
    std::array<std::optional<UINT>, CSignalStatusBar::kPaneCount> m_shownStyles;
};
