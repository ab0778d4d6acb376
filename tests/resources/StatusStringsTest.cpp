// The string table of the status bar's indicators, and the 13 panes a bar makes from them.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFontMetrics>
#include <map>

#include "framework/CFrameWnd.h"
#include "framework/CStatusBar.h"
#include "framework/ResourceTable.h"
#include "framework/StatusBarWidget.h"
#include "resources/ProgramResources.h"
#include "resources/ResourceIds.h"

namespace {

TEST(StatusStrings, EachIndicatorHasItsExactString) {
    resources::RegisterStrings();
    const std::map<UINT, const char*> expected = {
        {13, " "},
        {1, "CTS"},
        {2, "RTS"},
        {3, "DTR"},
        {4, "DSR"},
        {5, "DCD"},
        {6, "TxD"},
        {7, "RxD"},
        {8, "RI"},
        {11, "Port: None     "},
        {12, "Line: 230400,N,1"},
        {9, "Out: 0000000000"},
        {10, "In: 0000000000"},
    };
    for (const auto& [id, text] : expected) {
        CString loaded;
        EXPECT_TRUE(afx::LoadString(id, loaded)) << id;
        EXPECT_EQ(loaded, CString(text)) << id;
    }
}

TEST(StatusStrings, TheThirteenPanesTakeTheWidthsOfTheirStringsTrailingBlanksIncluded) {
    resources::RegisterStrings();
    const UINT indicators[] = {ID_INDICATOR_BLANK, ID_INDICATOR_CTS,  ID_INDICATOR_RTS,  ID_INDICATOR_DTR,
                               ID_INDICATOR_DSR,   ID_INDICATOR_DCD,  ID_INDICATOR_TXD,  ID_INDICATOR_RXD,
                               ID_INDICATOR_RI,    ID_INDICATOR_PORT, ID_INDICATOR_LINE, ID_INDICATOR_OUT,
                               ID_INDICATOR_IN};
    auto* frame = new CFrameWnd;
    ASSERT_TRUE(frame->Create(nullptr, "panes", WS_OVERLAPPEDWINDOW, CRect(0, 0, 900, 200)));
    CStatusBar bar;
    ASSERT_TRUE(bar.Create(frame, WS_CHILD | WS_VISIBLE | CBRS_BOTTOM, AFX_IDW_STATUS_BAR));
    ASSERT_TRUE(bar.SetIndicators(indicators, 13));
    ASSERT_EQ(bar.GetCount(), 13);
    QFontMetrics metrics(bar.GetWidget()->font());
    auto width = [&](int pane) {
        CRect r;
        bar.GetItemRect(pane, &r);
        return r.Width();
    };
    for (int i = 0; i < 13; ++i) {
        CString text = bar.GetPaneText(i);
        EXPECT_EQ(width(i), metrics.horizontalAdvance(QString::fromLatin1(text.GetString())) +
                                framework::StatusBarWidget::kPanePadding)
            << i;
    }
    EXPECT_GT(width(0), framework::StatusBarWidget::kPanePadding)
        << "the blank pane has the width of a blank";
    EXPECT_GT(width(9), metrics.horizontalAdvance("Port: None") + framework::StatusBarWidget::kPanePadding)
        << "the five trailing blanks count";
    // The port and line panes keep their widths whatever is written into them later.
    int portWidth = width(11);
    bar.SetPaneText(11, "Port: None");
    EXPECT_EQ(width(11), portWidth);
    frame->DestroyWindow();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

} // namespace
