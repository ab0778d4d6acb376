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
    EXPECT_EQ(harness.PaneStyle(3), SBPS_NORMAL); // DTR
    EXPECT_EQ(harness.PaneStyle(4), SBPS_NORMAL); // DSR
    EXPECT_EQ(harness.PaneStyle(5), SBPS_NORMAL); // DCD
    EXPECT_EQ(harness.PaneStyle(1), SBPS_POPOUT); // CTS
    EXPECT_EQ(harness.PaneText(10), CString("In: 6"));
    EXPECT_EQ(harness.PaneText(9), CString("Out: 6"));
}

} // namespace
