// The status bar's panes are as wide as their first text or the widest text the program writes
// into them, whichever is wider: with a desktop's proportional fonts the first texts do not always
// hold what comes later ("Line: 921600,N,8" against "In: 0000000000"), and a cut line setting or
// count is worse than a wider bar.
#include "app/CMainFrame.h"

#include <string>

#include "config/PortPaneTexts.h"

namespace {

// A count's pane: the prefix and up to ten digits (the largest count is 4294967295). Digits need
// not be equally wide, so each digit's run of ten is measured.
void WidenForCounts(CStatusBar& bar, int pane, const char* prefix) {
    for (char digit = '0'; digit <= '9'; ++digit)
        bar.WidenPaneFor(pane, (prefix + std::string(10, digit)).c_str());
}

} // namespace

void CMainFrame::WidenPanesForTheirTexts() {
    WidenForCounts(m_wndStatusBar, CSignalStatusBar::kOut, "Out: ");
    WidenForCounts(m_wndStatusBar, CSignalStatusBar::kIn, "In: ");
    for (const CString& text : EveryPortPaneText())
        m_wndStatusBar.WidenPaneFor(CSignalStatusBar::kPort, text);
    for (const CString& text : EveryLinePaneText())
        m_wndStatusBar.WidenPaneFor(CSignalStatusBar::kLine, text);
}
