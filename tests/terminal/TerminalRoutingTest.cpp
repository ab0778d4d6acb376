// The terminal's character routing on the whole program: what is shown, what goes on the line.
#include <QApplication>
#include <QTest>
#include <QWheelEvent>
#include <gtest/gtest.h>

#include "AppHarness.h"
#include "framework/edit/EditView.h"
#include "support/SimulatedDevice.h"
#include "support/CaretInView.h"

namespace {

using platform::SimulatedDevice;

class TerminalRoutingTest : public testing::Test {
protected:
    void SetUp() override {
        sim = SimulatedDevice::Register("COM7");
        harness.Start();
        harness.ChoosePort("COM7");
        ASSERT_EQ(harness.Port().GetState(), Idle);
        harness.RunFor(10);
        sim->TakeWritten();
    }
    CTerminalEdit& Terminal() { return harness.Frame()->m_wndTerminal; }
    // A character from the line, through the real receive path.
    void Receive(const std::string& bytes) {
        std::size_t before = sim->CountOf(SimulatedDevice::Op::ReadFile);
        sim->Inject(bytes);
        // Each byte takes one read; one more read finds the line empty again.
        harness.RunUntil([&] { return sim->CountOf(SimulatedDevice::Op::ReadFile) > before + bytes.size(); });
        harness.RunFor(5);
    }
    // A key typed into the terminal, handled to the end.
    void Type(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(Terminal().GetWidget(), key, modifiers);
        harness.RunFor(5);
    }
    void TypeText(const char* text) {
        QTest::keyClicks(Terminal().GetWidget(), text);
        harness.RunFor(5);
    }

    AppHarness harness;
    std::shared_ptr<SimulatedDevice> sim;
};

TEST_F(TerminalRoutingTest, ReceivedTextGoesToTheCaretAndReplacesTheSelection) {
    Receive("hello world");
    Terminal().SetSel(6, 11);
    Receive("there");
    EXPECT_EQ(harness.TerminalText(), "hello there");
    Terminal().SetSel(5, 5);
    Receive(",");
    EXPECT_EQ(harness.TerminalText(), "hello, there");
    Receive("\b\b");
    EXPECT_EQ(harness.TerminalText(), "hell there");
    EXPECT_EQ(sim->TakeWritten(), "");
}

TEST_F(TerminalRoutingTest, WithEchoOnTypedCharactersAreShownAndSent) {
    Terminal().m_bLocalEcho = 1;
    TypeText("abc");
    Type(Qt::Key_Backspace);
    EXPECT_EQ(harness.TerminalText(), "ab");
    EXPECT_EQ(sim->TakeWritten(), "abc\b");
}

TEST_F(TerminalRoutingTest, SendCrOnlyKeepsTypedLineFeedsOffTheLineButEnterAlwaysSendsOneCr) {
    Terminal().m_bLocalEcho = 1;
    Type(Qt::Key_J, Qt::ControlModifier);
    Type(Qt::Key_Return);
    EXPECT_EQ(sim->TakeWritten(), "\r");
    EXPECT_EQ(harness.TerminalText(), "\r\n\r\n"); // both shown as line breaks
    Terminal().m_bSendCROnly = 0;
    Type(Qt::Key_Return, Qt::ControlModifier);
    Type(Qt::Key_Enter);
    EXPECT_EQ(sim->TakeWritten(), "\n\r");
}

TEST_F(TerminalRoutingTest, ControlKeysThatAreNotShortcutsGoOutAsTheirCodes) {
    for (const Qt::Key key : {Qt::Key_A, Qt::Key_C, Qt::Key_Q, Qt::Key_V, Qt::Key_X, Qt::Key_Z})
        Type(key, Qt::ControlModifier);
    Type(Qt::Key_Tab);
    Type(Qt::Key_Escape);
    EXPECT_EQ(sim->TakeWritten(), std::string("\x01\x03\x11\x16\x18\x1A\t\x1B"));
    EXPECT_EQ(harness.TerminalText(), "") << "with echo off nothing typed shows";
}

TEST_F(TerminalRoutingTest, WithNoPortOpenNothingIsSentButEchoStillShows) {
    harness.Port().Close();
    Terminal().m_bLocalEcho = 1;
    TypeText("xy");
    EXPECT_EQ(harness.TerminalText(), "xy");
    EXPECT_EQ(sim->TakeWritten(), "");
}

TEST_F(TerminalRoutingTest, ReceivedAndTypedCharactersAreHandledInTheOrderTheyArrive) {
    Terminal().m_bLocalEcho = 1;
    Terminal().PostMessage(WM_CHAR, 'r', 0xFFFF0001);
    Terminal().PostMessage(WM_CHAR, 't', 0x00000001);
    Terminal().PostMessage(WM_CHAR, 0xFFFFFFE9u, 0xFFFF0001);
    harness.RunFor(10);
    EXPECT_EQ(harness.TerminalText(), "rt\xE9");
    EXPECT_EQ(sim->TakeWritten(), "t");
}

// The user scrolls away from where text arrives, with the wheel up and to the left; the next byte
// from the line brings the caret back into view.
TEST_F(TerminalRoutingTest, AByteReceivedAfterScrollingAwayBringsTheCaretBackIntoView) {
    std::string lines;
    for (int line = 0; line < 60; ++line)
        lines += "line " + std::to_string(line) + "\r";
    Receive(lines + std::string(300, 'x'));
    framework::EditView& view = *Terminal().GetView();
    const std::size_t top = view.FirstVisibleLine();
    const std::size_t left = view.HorizontalOffset();
    ASSERT_GT(top, 0u);
    ASSERT_GT(left, 0u);
    for (const QPoint angle : {QPoint(0, 120), QPoint(120, 0)}) {
        const QPointF at(10, 10);
        QWheelEvent wheel(at, view.viewport()->mapToGlobal(at), QPoint(), angle, Qt::NoButton, Qt::NoModifier,
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(view.viewport(), &wheel);
    }
    harness.RunFor(20);
    ASSERT_LT(view.FirstVisibleLine(), top);
    ASSERT_LT(view.HorizontalOffset(), left);

    Receive("y");
    EXPECT_EQ(view.CaretColumn(), 301u);
    ExpectCaretInView(view);
}

} // namespace
