// The main frame as the program builds it: title, menu, accelerators, status bar, layout, focus.
#include <QApplication>
#include <QFontMetrics>
#include <QMenuBar>
#include <QPainter>
#include <QTest>
#include <gtest/gtest.h>

#include "AppHarness.h"
#include "app/CSignalStatusBar.h"
#include "framework/dialogs/CFileDialog.h"
#include "framework/frame/MenuBuilder.h"
#include "framework/window/PostedMessageQueue.h"
#include "framework/frame/StatusBarWidget.h"
#include "framework/window/WndWidget.h"
#include "platform/hardware/RegistrySource.h"
#include "support/SimulatedDevice.h"
#include "resources/ResourceIds.h"

namespace {

using platform::SimulatedDevice;
using Pane = CSignalStatusBar::Pane;

class MainFrameTest : public testing::Test {
protected:
    void SetUp() override { harness.Start(); }
    CMainFrame& Frame() { return *harness.Frame(); }
    framework::StatusBarWidget& Bar() {
        return *static_cast<framework::StatusBarWidget*>(Frame().m_wndStatusBar.GetWidget());
    }
    CRect PaneRect(int pane) {
        CRect r;
        Frame().m_wndStatusBar.GetItemRect(pane, &r);
        return r;
    }
    AppHarness harness;
};

// The columns of a drawn text's ink: from its first to its last column that differs from `fill`.
int InkWidth(const QImage& image, QRgb fill) {
    int first = image.width();
    int last = -1;
    for (int x = 0; x < image.width(); ++x)
        for (int y = 0; y < image.height(); ++y)
            if (image.pixel(x, y) != fill) {
                first = std::min(first, x);
                last = x;
                break;
            }
    return last - first + 1;
}

// The widest texts the program writes into its later panes are drawn whole: in the bar, their ink
// spans as many columns as the same text drawn alone with room to spare.
TEST_F(MainFrameTest, ThePanesDrawTheWidestTextsTheProgramWritesWhole) {
    const std::pair<int, const char*> widest[] = {{Pane::kOut, "Out: 4294967295"},
                                                  {Pane::kIn, "In: 4294967295"},
                                                  {Pane::kPort, "Port: COM255"},
                                                  {Pane::kLine, "Line: 921600,N,8"},
                                                  {Pane::kLine, "Line: 921600,M,8"}};
    const QRgb fill = Bar().palette().color(QPalette::Active, QPalette::Window).rgb();
    const int inset = framework::StatusBarWidget::kPaneGap + framework::StatusBarWidget::kBevel + 1;
    for (const auto& [pane, text] : widest) {
        SCOPED_TRACE(text);
        Frame().m_wndStatusBar.SetPaneText(pane, text);
        const QRect inside = Bar().ItemRect(pane).adjusted(inset, inset, -inset, -inset);
        const QImage drawn = Bar().grab(inside).toImage().convertToFormat(QImage::Format_RGB32);

        QImage alone(inside.width() * 2, inside.height(), QImage::Format_RGB32);
        alone.fill(fill);
        QPainter painter(&alone);
        painter.setFont(Bar().font());
        painter.setPen(Bar().palette().color(QPalette::Active, QPalette::WindowText));
        painter.drawText(alone.rect().adjusted(4, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter, text);
        painter.end();
        EXPECT_EQ(InkWidth(drawn, fill), InkWidth(alone, fill));
    }
}

TEST_F(MainFrameTest, ClicksOnTheRtsAndDtrPanesPostTheirToggles) {
    auto click = [&](QPoint at) {
        PostedMessageQueue::Instance().Discard(Frame().GetSafeHwnd());
        QTest::mouseClick(Frame().m_wndStatusBar.GetWidget(), Qt::LeftButton, Qt::NoModifier, at);
        std::vector<WPARAM> posted;
        MSG msg;
        while (PostedMessageQueue::Instance().Pop(msg))
            if (msg.hwnd == Frame().GetSafeHwnd() && msg.message == WM_COMMAND)
                posted.push_back(msg.wParam);
        return posted;
    };
    auto centre = [&](int pane) {
        CRect r = PaneRect(pane);
        return QPoint((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    };
    EXPECT_EQ(click(QPoint(PaneRect(Pane::kDtr).left, centre(Pane::kDtr).y())),
              (std::vector<WPARAM>{ID_TOGGLE_DTR}));
    for (int pane : {0, 1, 4, 8, 11, 12})
        EXPECT_TRUE(click(centre(pane)).empty()) << pane;
    EXPECT_TRUE(click(QPoint(PaneRect(12).right + 20, centre(12).y())).empty());
}

TEST_F(MainFrameTest, AfterResizingTheBarStaysAtTheBottomAndTheTerminalFillsTheRest) {
    for (QSize size : {QSize(900, 700), QSize(420, 260), QSize(1200, 300)}) {
        Frame().GetWidget()->resize(size);
        harness.RunFor(5);
        CRect client;
        Frame().GetClientRect(&client);
        QRect bar = Frame().m_wndStatusBar.GetWidget()->geometry();
        QRect terminal = Frame().m_wndTerminal.GetWidget()->geometry();
        EXPECT_EQ(bar.bottom() + 1, client.bottom);
        EXPECT_EQ(bar.width(), client.Width());
        EXPECT_EQ(terminal, QRect(0, 0, client.Width(), client.Height() - bar.height()));
    }
}

TEST_F(MainFrameTest, TheTerminalHasTheFocusAgainAfterTheAboutBox) {
    Frame().GetWidget()->activateWindow();
    harness.RunFor(20);
    std::string title;
    AppHarness::WithDialog(
        [&](CDialog& about) {
            title = about.GetWidget()->windowTitle().toStdString();
            AppHarness::Press(about, IDOK);
        },
        [&] { Frame().SendMessage(WM_COMMAND, ID_APP_ABOUT, 0); });
    EXPECT_EQ(title, "About martool");
    harness.RunUntil([&] { return CWnd::GetFocus() == &Frame().m_wndTerminal; }, 2000);
    EXPECT_EQ(CWnd::GetFocus(), &Frame().m_wndTerminal);
}

TEST_F(MainFrameTest, TheAboutBoxShowsEachOfItsLinesWhole) {
    std::vector<std::string> cut;
    AppHarness::WithDialog(
        [&](CDialog& about) {
            for (QWidget* w : about.GetWidget()->findChildren<QWidget*>()) {
                auto* bridge = WndWidgetBase::FromWidget(w);
                CWnd* control = bridge ? bridge->Owner() : nullptr;
                if (control == nullptr || control->GetDlgCtrlID() != IDC_STATIC)
                    continue;
                CString text;
                control->GetWindowText(text);
                if (!text.IsEmpty() && text.GetAt(0) != '1' && // the picture's text is its bitmap number
                    QFontMetrics(w->font()).horizontalAdvance(QString::fromLatin1(text.GetString())) >
                        w->width())
                    cut.push_back(text.str());
            }
            AppHarness::Press(about, IDOK);
        },
        [&] { Frame().SendMessage(WM_COMMAND, ID_APP_ABOUT, 0); });
    EXPECT_TRUE(cut.empty()) << cut.front();
}

// Each Ctrl key runs its own command and sends nothing; the same letters without Ctrl, and Tab, are
// characters for the line.
TEST_F(MainFrameTest, ShortcutsRunTheirCommandsAndNeverReachTheLineWhileTabDoes) {
    auto sim = SimulatedDevice::Register("COM7");
    harness.ChoosePort("COM7");
    harness.RunFor(20);
    sim->TakeWritten();
    Frame().m_wndTerminal.m_bLocalEcho = 1;
    auto tree = std::make_shared<RegistryKey>("System");
    tree->SetString("Identifier", "test");
    platform::SetHardwareTreeOverride(tree);
    int saveDialogs = 0;
    afx::SetFileDialogHandler([&](const FileDialogArgs&) {
        ++saveDialogs;
        return std::optional<std::string>();
    });
    QWidget* terminal = Frame().m_wndTerminal.GetWidget();
    const bool dtrBefore = sim->Dtr();
    const bool rtsBefore = sim->Rts();
    const auto press = [&](Qt::Key key) {
        QTest::keyClick(terminal, key, Qt::ControlModifier);
        harness.RunFor(20);
    };

    press(Qt::Key_I); // dump
    EXPECT_EQ(harness.TerminalText(), "Identifier: test\r\n");
    press(Qt::Key_S); // save
    EXPECT_EQ(saveDialogs, 1);
    EXPECT_EQ(harness.TerminalText(), "Identifier: test\r\n");
    press(Qt::Key_E); // empty
    EXPECT_EQ(harness.TerminalText(), "");
    press(Qt::Key_D); // DTR
    EXPECT_NE(sim->Dtr(), dtrBefore);
    EXPECT_EQ(sim->Rts(), rtsBefore);
    press(Qt::Key_R); // RTS
    EXPECT_NE(sim->Rts(), rtsBefore);
    EXPECT_EQ(saveDialogs, 1);
    EXPECT_EQ(sim->TakeWritten(), "");
    // Without Ctrl the same letters are characters, as Tab is.
    QTest::keyClicks(terminal, "desir");
    QTest::keyClick(terminal, Qt::Key_Tab);
    harness.RunFor(10);
    EXPECT_EQ(sim->TakeWritten(), "desir\t");
    EXPECT_EQ(harness.TerminalText(), "desir\t");

    afx::SetFileDialogHandler({});
    platform::ResetRegistrySource();
}

} // namespace
