#pragma once
// The frame's status bar: line indicators, driver counters, port and line. A click on the RTS or DTR
// pane asks the frame to toggle that line.

#include "framework/frame/CStatusBar.h"

class CSignalStatusBar : public CStatusBar {
public:
    CSignalStatusBar();
    ~CSignalStatusBar() override;

    void OnLButtonDown(UINT flags, CPoint point);

    // Panes in order, as made from the indicator IDs.
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
