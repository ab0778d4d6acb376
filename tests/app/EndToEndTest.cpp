// The whole program on the loopback plug, offscreen: start-up dialog, COM255, OK, then typing.
#include <QTest>
#include <gtest/gtest.h>

#include "AppHarness.h"
#include "resources/ResourceIds.h"

namespace {

TEST(EndToEnd, TypedTextComesBackFromTheLoopbackPlugIntoTheTerminal) {
    AppHarness harness;
    std::vector<std::string> offered;
    harness.Start([&](CDialog& dialog) {
        offered = AppHarness::Entries(dialog, IDC_PORT);
        AppHarness::Choose(dialog, IDC_PORT, "COM255");
        AppHarness::Press(dialog, IDOK);
    });
    EXPECT_EQ(offered, (std::vector<std::string>{"COM255"})); // no other device in a test
    ASSERT_EQ(harness.Port().GetState(), Idle);
    EXPECT_EQ(harness.PaneText(11), CString("Port: COM255"));

    QWidget* terminal = harness.Frame()->m_wndTerminal.GetWidget();
    QTest::keyClicks(terminal, "hello");
    QTest::keyClick(terminal, Qt::Key_Return);
    EXPECT_TRUE(harness.RunUntil([&] { return harness.TerminalText() == "hello\r\n"; }))
        << harness.TerminalText();
    // The plug ties RTS to CTS and DTR to DSR and DCD: after opening, DTR is up and RTS down.
    harness.RunFor(30);
    EXPECT_EQ(harness.TerminalText(), "hello\r\n"); // shown once: echo is the plug's, not ours
    EXPECT_EQ(harness.PaneStyle(3), SBPS_NORMAL); // DTR
    EXPECT_EQ(harness.PaneStyle(4), SBPS_NORMAL); // DSR
    EXPECT_EQ(harness.PaneStyle(5), SBPS_NORMAL); // DCD
    EXPECT_EQ(harness.PaneStyle(1), SBPS_POPOUT); // CTS
    EXPECT_EQ(harness.PaneText(10), CString("In: 6"));
    EXPECT_EQ(harness.PaneText(9), CString("Out: 6"));
}

// RTS/CTS flow on the plug: the driver keeps RTS (and so the plug's CTS) up although the dialog
// drops RTS after the flow settings, so typing still echoes and is counted.
TEST(EndToEnd, WithRtsCtsFlowTypedTextStillComesBackAndIsCounted) {
    AppHarness harness;
    harness.Start([&](CDialog& dialog) {
        AppHarness::Choose(dialog, IDC_PORT, "COM255");
        AppHarness::Tick(dialog, IDC_RTS_CTS, true);
        AppHarness::Press(dialog, IDOK);
    });
    ASSERT_EQ(harness.Port().GetState(), Idle);
    QWidget* terminal = harness.Frame()->m_wndTerminal.GetWidget();
    QTest::keyClicks(terminal, "flow");
    EXPECT_TRUE(harness.RunUntil([&] { return harness.TerminalText() == "flow"; })) << harness.TerminalText();
    harness.RunFor(30);
    EXPECT_EQ(harness.TerminalText(), "flow");
    EXPECT_EQ(harness.PaneStyle(1), SBPS_NORMAL); // CTS
    EXPECT_EQ(harness.PaneStyle(2), SBPS_NORMAL); // RTS, as the driver reports it
    EXPECT_EQ(harness.PaneText(9), CString("Out: 4"));
    EXPECT_EQ(harness.PaneText(10), CString("In: 4"));
    // The toggle's escape fails without a word, and the line stays the driver's.
    harness.Frame()->SendMessage(WM_COMMAND, ID_TOGGLE_RTS, 0);
    harness.RunFor(30);
    EXPECT_EQ(harness.PaneStyle(2), SBPS_NORMAL);
    EXPECT_TRUE(harness.boxes.empty());
}

} // namespace
