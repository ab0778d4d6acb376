// The status bar as a live view of the line: indicators, driver counts, the DTR and RTS toggles and
// the refresh's failure boxes, for both families of the operating system.
#include <QTest>
#include <gtest/gtest.h>

#include "AppHarness.h"
#include "app/CSignalStatusBar.h"
#include "framework/base/RepaintScheduler.h"
#include "support/SimulatedDevice.h"
#include "resources/ResourceIds.h"

namespace {

using framework::RepaintScheduler;
using platform::SimulatedDevice;
using Pane = CSignalStatusBar::Pane;

constexpr UINT kSunken = SBPS_NORMAL;
constexpr UINT kRaised = SBPS_POPOUT;

class LineSignalsTest : public testing::TestWithParam<bool> {
protected:
    LineSignalsTest() : harness(GetParam()) {}
    void SetUp() override {
        sim = SimulatedDevice::Register("COM7");
        harness.Start();
    }
    void Open() {
        harness.ChoosePort("COM7");
        ASSERT_EQ(harness.Port().GetState(), Idle);
        Settle();
    }
    // Lets the loop run long enough for fresh readings (they are cached for 10 ms) to show.
    void Settle() { harness.RunFor(40); }
    bool Nt() const { return GetParam(); }
    UINT Style(Pane pane) { return harness.PaneStyle(pane); }
    void Key(Qt::Key key) {
        QTest::keyClick(harness.Frame()->m_wndTerminal.GetWidget(), key, Qt::ControlModifier);
        Settle();
    }
    void ClickPane(Pane pane) {
        CRect rect;
        harness.Frame()->m_wndStatusBar.GetItemRect(pane, &rect);
        QTest::mouseClick(harness.Frame()->m_wndStatusBar.GetWidget(), Qt::LeftButton, Qt::NoModifier,
                          QPoint((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2));
        Settle();
    }

    AppHarness harness;
    std::shared_ptr<SimulatedDevice> sim;
};

TEST_P(LineSignalsTest, EachIndicatorFollowsItsLineAndTxdRxdStayRaised) {
    Open();
    const Pane inputs[] = {Pane::kCts, Pane::kDsr, Pane::kDcd, Pane::kRi};
    for (Pane pane : inputs)
        EXPECT_EQ(Style(pane), kRaised) << pane;
    sim->SetCts(true);
    sim->SetDcd(true);
    Settle();
    EXPECT_EQ(Style(Pane::kCts), kSunken);
    EXPECT_EQ(Style(Pane::kDsr), kRaised);
    EXPECT_EQ(Style(Pane::kDcd), kSunken);
    EXPECT_EQ(Style(Pane::kRi), kRaised);
    sim->SetCts(false);
    sim->SetDsr(true);
    sim->SetRi(true);
    sim->Inject("data flows");
    Settle();
    EXPECT_EQ(Style(Pane::kCts), kRaised);
    EXPECT_EQ(Style(Pane::kDsr), kSunken);
    EXPECT_EQ(Style(Pane::kRi), kSunken);
    EXPECT_EQ(Style(Pane::kTxd), kRaised);
    EXPECT_EQ(Style(Pane::kRxd), kRaised);
    EXPECT_EQ(Style(Pane::kBlank), kRaised);
}

TEST_P(LineSignalsTest, AfterOpeningDtrIsOnAndRtsOffAndEachToggleFlipsItsLine) {
    Open();
    EXPECT_EQ(Style(Pane::kDtr), kSunken);
    EXPECT_EQ(Style(Pane::kRts), kRaised);
    Key(Qt::Key_D);
    EXPECT_FALSE(sim->Dtr());
    EXPECT_EQ(Style(Pane::kDtr), kRaised);
    Key(Qt::Key_D);
    EXPECT_TRUE(sim->Dtr());
    EXPECT_EQ(Style(Pane::kDtr), kSunken);
    ClickPane(Pane::kRts);
    EXPECT_TRUE(sim->Rts());
    EXPECT_EQ(Style(Pane::kRts), kSunken);
    ClickPane(Pane::kDtr);
    EXPECT_FALSE(sim->Dtr());
    harness.Frame()->SendMessage(WM_COMMAND, ID_TOGGLE_RTS, 0);
    Settle();
    EXPECT_FALSE(sim->Rts());
    EXPECT_EQ(Style(Pane::kRts), kRaised);
}

TEST_P(LineSignalsTest, WithNoPortOpenTheTogglesDoNothing) {
    Key(Qt::Key_D);
    Key(Qt::Key_R);
    harness.Frame()->SendMessage(WM_COMMAND, ID_TOGGLE_DTR, 0);
    harness.Frame()->SendMessage(WM_COMMAND, ID_TOGGLE_RTS, 0);
    EXPECT_EQ(sim->CountOf(SimulatedDevice::Op::EscapeCommFunction), 0u);
    EXPECT_EQ(harness.Frame()->m_trackedDtr, 0u);
    EXPECT_EQ(harness.Frame()->m_trackedRts, 0u);
    EXPECT_EQ(Style(Pane::kDtr), kRaised);
    EXPECT_TRUE(harness.TerminalText().empty()); // the keys were commands, not characters
}

TEST_P(LineSignalsTest, CountsShowOnlyOnTheNtFamilyWithoutLeadingZeros) {
    Open();
    if (!Nt()) {
        EXPECT_EQ(harness.PaneText(Pane::kOut), CString("Port: None     "));
        EXPECT_EQ(harness.PaneText(Pane::kIn), CString("Line: 230400,N,1"));
        return;
    }
    EXPECT_EQ(harness.PaneText(Pane::kIn), CString("In: 0"));
    EXPECT_EQ(harness.PaneText(Pane::kOut), CString("Out: 0"));
    sim->SetStats({1234, 56, 0, 0, 0, 0});
    Settle();
    EXPECT_EQ(harness.PaneText(Pane::kIn), CString("In: 1234"));
    EXPECT_EQ(harness.PaneText(Pane::kOut), CString("Out: 56"));
    sim->SetStats({0xFFFFFFFFu, 0x80000000u, 0, 0, 0, 0});
    Settle();
    EXPECT_EQ(harness.PaneText(Pane::kIn), CString("In: 4294967295"));
    EXPECT_EQ(harness.PaneText(Pane::kOut), CString("Out: 2147483648"));
}

TEST_P(LineSignalsTest, AFailingModemStatusShowsItsBoxChangesNothingAndComesBackWhileItLasts) {
    Open();
    sim->SetFault(SimulatedDevice::Fault::GetCommModemStatus);
    sim->SetCts(true);
    sim->SetStats({9, 9, 0, 0, 0, 0});
    Settle();
    ASSERT_GE(harness.boxes.size(), 2u); // every refresh shows it again once the last was dismissed
    for (const auto& box : harness.boxes) {
        EXPECT_EQ(box.text, "Can't get port signals");
        EXPECT_EQ(box.caption, "Error");
        EXPECT_EQ(box.type, MB_OK);
        EXPECT_EQ(box.owner, nullptr);
    }
    EXPECT_EQ(Style(Pane::kCts), kRaised);
    if (Nt()) {
        EXPECT_EQ(harness.PaneText(Pane::kIn), CString("In: 0"));
    }
}

TEST_P(LineSignalsTest, AFailingStatisticsRequestShowsItsBoxAndNoPaneChanges) {
    Open();
    sim->SetFault(SimulatedDevice::Fault::GetStats);
    sim->SetCts(true);
    Settle();
    if (!Nt()) { // the other family never asks for statistics
        EXPECT_TRUE(harness.boxes.empty());
        EXPECT_EQ(Style(Pane::kCts), kSunken);
        return;
    }
    ASSERT_FALSE(harness.boxes.empty());
    EXPECT_EQ(harness.boxes.back().text, "Can't get port statistics");
    EXPECT_EQ(Style(Pane::kCts), kRaised);
    EXPECT_NE(harness.Frame()->m_cts, 0u); // read, kept, not shown
}

TEST_P(LineSignalsTest, ClosingThePortFreezesTheIndicatorsAndCounts) {
    Open();
    sim->SetDsr(true);
    sim->SetStats({3, 4, 0, 0, 0, 0});
    Settle();
    CString in = harness.PaneText(Pane::kIn);
    harness.Port().Close();
    sim->SetDsr(false);
    sim->SetStats({30, 40, 0, 0, 0, 0});
    Settle();
    EXPECT_EQ(Style(Pane::kDsr), kSunken);
    EXPECT_EQ(harness.PaneText(Pane::kIn), in);
    EXPECT_TRUE(harness.boxes.empty());
}

// The idle step queues a refresh after every read; the port may be closed before it comes round.
// It must read nothing then: reading the closed handle would report a failure of a port nobody uses.
TEST_P(LineSignalsTest, ARefreshQueuedBeforeACloseShowsNoBox) {
    Open();
    harness.app.OnIdle(0);
    harness.Port().Close();
    Settle();
    EXPECT_TRUE(harness.boxes.empty());
}

// A refresh follows every received byte: one that finds the lines and counts as the bar shows them
// must leave the bar alone, or a streaming line would have it drawn again at every frame.
TEST_P(LineSignalsTest, ARefreshThatFindsNothingNewLeavesTheBarAlone) {
    Open();
    sim->SetCts(true);
    Settle();
    RepaintScheduler::Instance().Flush();
    harness.Frame()->SendMessage(WM_COMMAND, ID_REFRESH_STATUS, 0);
    EXPECT_FALSE(RepaintScheduler::Instance().IsDirty(harness.Frame()->m_wndStatusBar.GetWidget()));
    sim->SetCts(false);
    harness.Frame()->SendMessage(WM_COMMAND, ID_REFRESH_STATUS, 0);
    EXPECT_EQ(Style(Pane::kCts), kRaised);
}

TEST_P(LineSignalsTest, DtrAndRtsPanesFollowTheirSource) {
    Open();
    // Something other than the toggles drives RTS (as hardware flow control does on a real port).
    EscapeCommFunction(harness.Port().GetHandle(), SETRTS);
    Settle();
    // The NT family shows what the driver reports; the other family its own record.
    EXPECT_EQ(Style(Pane::kRts), Nt() ? kSunken : kRaised);
    EXPECT_EQ(harness.Frame()->m_trackedRts, 0u);
}

INSTANTIATE_TEST_SUITE_P(Families, LineSignalsTest, testing::Values(true, false),
                         [](const testing::TestParamInfo<bool>& p) { return p.param ? "Nt" : "Other"; });

} // namespace
