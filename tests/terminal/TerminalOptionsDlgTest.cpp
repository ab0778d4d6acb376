// The terminal options dialog through its real window.
#include <QApplication>
#include <QKeyEvent>
#include <gtest/gtest.h>

#include "AppHarness.h"
#include "app/AppOptions.h"
#include "resources/ResourceIds.h"

namespace {

struct Boxes {
    LRESULT autowrap, sendCrOnly, localEcho, filterLf;
    bool operator==(const Boxes&) const = default;
};

class TerminalOptionsDlgTest : public testing::Test {
protected:
    void SetUp() override { harness.Start(); }
    CTerminalEdit& Terminal() { return harness.Frame()->m_wndTerminal; }
    static Boxes Read(CDialog& d) {
        return {d.GetDlgItem(IDC_AUTOWRAP)->SendMessage(BM_GETCHECK),
                d.GetDlgItem(IDC_SEND_CR_ONLY)->SendMessage(BM_GETCHECK),
                d.GetDlgItem(IDC_LOCAL_ECHO)->SendMessage(BM_GETCHECK),
                d.GetDlgItem(IDC_FILTER_LF)->SendMessage(BM_GETCHECK)};
    }
    // Opens the dialog from the menu command; `script` answers it.
    void Run(const std::function<void(CDialog&)>& script) {
        AppHarness::WithDialog(script,
                               [&] { harness.Frame()->SendMessage(WM_COMMAND, ID_TERMINAL_SETTINGS, 0); });
    }
    Boxes Shown() {
        Boxes shown{};
        Run([&](CDialog& d) {
            shown = Read(d);
            AppHarness::Press(d, IDCANCEL);
        });
        return shown;
    }
    AppHarness harness;
};

TEST_F(TerminalOptionsDlgTest, OkWritesBothSidesAndAutowrapAlwaysOpensClear) {
    Run([](CDialog& d) {
        AppHarness::Tick(d, IDC_AUTOWRAP, true);
        AppHarness::Tick(d, IDC_SEND_CR_ONLY, false);
        AppHarness::Tick(d, IDC_LOCAL_ECHO, true);
        AppHarness::Tick(d, IDC_FILTER_LF, false);
        AppHarness::Press(d, IDOK);
    });
    EXPECT_EQ(Terminal().m_bAutoWrap, 1);
    EXPECT_EQ(Terminal().m_bLocalEcho, 1);
    EXPECT_EQ(Terminal().m_bSendCROnly, 0);
    EXPECT_EQ(Terminal().m_bFilterLF, 0);
    EXPECT_EQ(g_appOptions.localEcho, 1);
    EXPECT_EQ(g_appOptions.sendCrOnly, 0);
    EXPECT_EQ(g_appOptions.filterLf, 0);
    EXPECT_EQ(Shown(), (Boxes{0, 0, 1, 0}));
    // OK without a change writes everything again; autowrap becomes 0.
    Run([](CDialog& d) { AppHarness::Press(d, IDOK); });
    EXPECT_EQ(Terminal().m_bAutoWrap, 0);
    EXPECT_EQ(Terminal().m_bLocalEcho, 1);
}

TEST_F(TerminalOptionsDlgTest, CancelEscapeAndTheCloseBoxChangeNothing) {
    auto changeThen = [](std::function<void(CDialog&)> leave) {
        return [leave](CDialog& d) {
            AppHarness::Tick(d, IDC_LOCAL_ECHO, true);
            AppHarness::Tick(d, IDC_FILTER_LF, false);
            AppHarness::Tick(d, IDC_AUTOWRAP, true);
            leave(d);
        };
    };
    Run(changeThen([](CDialog& d) { AppHarness::Press(d, IDCANCEL); }));
    Run(changeThen([](CDialog& d) {
        QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QApplication::sendEvent(QApplication::focusWidget() ? QApplication::focusWidget() : d.GetWidget(),
                                &esc);
    }));
    Run(changeThen([](CDialog& d) { d.GetWidget()->close(); }));
    EXPECT_EQ(Terminal().m_bLocalEcho, 0);
    EXPECT_EQ(Terminal().m_bFilterLF, 1);
    EXPECT_EQ(Terminal().m_bAutoWrap, 0);
    EXPECT_EQ(g_appOptions.localEcho, 0);
    EXPECT_EQ(Shown(), (Boxes{0, 1, 0, 1}));
}

} // namespace
