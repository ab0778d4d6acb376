#include "app/CSignalStatusBar.h"

#include "framework/loop/MessageDispatch.h"
#include "resources/ResourceIds.h"

const UINT CSignalStatusBar::kIndicators[kPaneCount] = {
    ID_INDICATOR_BLANK, ID_INDICATOR_CTS, ID_INDICATOR_RTS, ID_INDICATOR_DTR, ID_INDICATOR_DSR,
    ID_INDICATOR_DCD,   ID_INDICATOR_TXD, ID_INDICATOR_RXD, ID_INDICATOR_RI,  ID_INDICATOR_PORT,
    ID_INDICATOR_LINE,  ID_INDICATOR_OUT, ID_INDICATOR_IN,
};

BEGIN_MESSAGE_MAP(CSignalStatusBar, CStatusBar)
ON_WM_LBUTTONDOWN()
END_MESSAGE_MAP()

CSignalStatusBar::CSignalStatusBar() = default;

CSignalStatusBar::~CSignalStatusBar() = default;

void CSignalStatusBar::OnLButtonDown(UINT, CPoint point) {
    // The panes do not overlap, so a click posts at most one command; the bar's own handling of the
    // click is not wanted.
    CRect rect;
    GetItemRect(kRts, &rect);
    if (rect.PtInRect(point))
        GetParent()->PostMessage(WM_COMMAND, ID_TOGGLE_RTS, 0);
    GetItemRect(kDtr, &rect);
    if (rect.PtInRect(point))
        GetParent()->PostMessage(WM_COMMAND, ID_TOGGLE_DTR, 0);
}
