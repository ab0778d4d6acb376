#pragma once
// The program's only top-level window: title, menu, accelerators, the status bar of line indicators
// and the terminal filling the rest. It routes the program's commands to their handlers and keeps
// the line state behind the indicators.

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
    // panes show already. The frame keeps what it last showed in them (m_shown...) and leaves the
    // panes alone when nothing differs: the indicators as one word with a bit per pane, compared at
    // once, and each count. What keeps the copy true: after OnCreate has made the panes, only
    // ShowIndicators and SetCount write these panes, each noting what it wrote, and the copy starts
    // as nothing shown, so that the first refresh writes every one of them.
    // A bit per indicator pane, set for a line that is on (sunken, normal style), clear for one that
    // is off (raised).
    static constexpr unsigned LitBit(int pane, DWORD source) { return source != 0 ? 1u << pane : 0u; }
    void ShowIndicators(unsigned lit) {
        if (lit != m_shownLit)
            SetIndicators(lit);
    }
    void ShowCount(int pane, const char* prefix, DWORD count, std::optional<DWORD>& shown) {
        if (shown != count)
            SetCount(pane, prefix, count, shown);
    }
    void SetIndicators(unsigned lit);
    void SetCount(int pane, const char* prefix, DWORD count, std::optional<DWORD>& shown);
    void ToggleLine(DWORD CMainFrame::*driverState, DWORD& tracked, DWORD raise, DWORD drop);
    // The counts the panes show now; nothing before the first refresh.
    std::optional<DWORD> m_shownReceivedCount;
    std::optional<DWORD> m_shownTransmittedCount;
    // The indicators the refresh has set, as LitBit makes them; none before the first refresh.
    static constexpr unsigned kNothingShown = ~0u;
    unsigned m_shownLit = kNothingShown;
};
