#pragma once
// The frame's status bar: line indicators, driver counters, port and line. A click on the RTS or DTR
// pane asks the frame to toggle that line.

#include "framework/frame/CStatusBar.h"

class CSignalStatusBar : public CStatusBar {
public:
    CSignalStatusBar();
    ~CSignalStatusBar() override;

    void OnLButtonDown(UINT flags, CPoint point);

    // Panes by what they show. Panes 9 to 12 are made from the indicator IDs of Port, Line, Out and
    // In, in that order (kIndicators), yet show Out, In, Port and Line: a pane takes its first text
    // and its width from its ID, and the program writes the counts into panes 9 and 10 and the port
    // and line into 11 and 12 by position. The counts' panes therefore start as "Port: None" and
    // "Line: 230400,N,1", which they keep outside the NT family, where no counts are read; each
    // pane is widened for the longest text written into it (CMainFrame::WidenPanesForTheirTexts).
    enum Pane {
        kBlank = 0,
        kCts = 1,
        kRts = 2,
        kDtr = 3,
        kDsr = 4,
        kDcd = 5,
        kTxd = 6,
        kRxd = 7,
        kRi = 8,
        kOut = 9,
        kIn = 10,
        kPort = 11,
        kLine = 12,
        kPaneCount = 13
    };
    static const UINT kIndicators[kPaneCount];

    DECLARE_MESSAGE_MAP()
};
