// The receive path: the idle step reads at most one byte per turn, posts it to the terminal as a
// received character and asks the frame for a refresh; start-up and shutdown around it.
#include <QApplication>
#include <QTimer>
#include <gtest/gtest.h>

#include "AppHarness.h"
#include "framework/loop/MessageDispatch.h"
#include "framework/window/PostedMessageQueue.h"
#include "framework/base/ResourceTable.h"
#include "framework/window/WndWidget.h"
#include "support/SimulatedDevice.h"
#include "resources/ProgramResources.h"
#include "resources/ResourceIds.h"

namespace {

using platform::SimulatedDevice;

std::vector<MSG> TakePosted() {
    std::vector<MSG> messages;
    MSG msg;
    while (PostedMessageQueue::Instance().Pop(msg))
        messages.push_back(msg);
    return messages;
}

class IdleStepTest : public testing::Test {
protected:
    void SetUp() override {
        sim = SimulatedDevice::Register("COM7");
        harness.Start();
        harness.RunFor(20);
        TakePosted();
    }
    void OpenSim() {
        harness.ChoosePort("COM7");
        ASSERT_EQ(harness.Port().GetState(), Idle);
        harness.RunFor(10);
        TakePosted();
        sim->ClearCalls();
    }
    MSG Refresh() const { return MSG{harness.Frame()->GetSafeHwnd(), WM_COMMAND, ID_REFRESH_STATUS, 0}; }
    MSG Received(WPARAM code) const {
        return MSG{harness.Frame()->m_wndTerminal.GetSafeHwnd(), WM_CHAR, code, 0xFFFF0001};
    }

    AppHarness harness;
    std::shared_ptr<SimulatedDevice> sim;
};

bool Same(const MSG& a, const MSG& b) {
    return a.hwnd == b.hwnd && a.message == b.message && a.wParam == b.wParam && a.lParam == b.lParam;
}

TEST_F(IdleStepTest, ATurnWithNothingWaitingPostsOnlyTheRefresh) {
    OpenSim();
    EXPECT_TRUE(harness.app.OnIdle(0));
    auto posted = TakePosted();
    ASSERT_EQ(posted.size(), 1u);
    EXPECT_TRUE(Same(posted[0], Refresh()));
    EXPECT_EQ(sim->CountOf(SimulatedDevice::Op::ReadFile), 1u);
    // The base step's answer comes through unchanged, and a read happens on every turn.
    EXPECT_FALSE(harness.app.OnIdle(1));
    EXPECT_EQ(TakePosted().size(), 1u);
}

TEST_F(IdleStepTest, AReceivedByteIsPostedSignExtendedBeforeTheRefreshOneByteATurn) {
    OpenSim();
    sim->Inject(std::string("\x00\xE9\n\x7F", 4));
    const WPARAM expected[] = {0x00, 0xFFFFFFE9u, 0x0A, 0x7F};
    for (WPARAM code : expected) {
        harness.app.OnIdle(0);
        auto posted = TakePosted();
        ASSERT_EQ(posted.size(), 2u);
        EXPECT_TRUE(Same(posted[0], Received(code))) << std::hex << posted[0].wParam;
        EXPECT_TRUE(Same(posted[1], Refresh()));
    }
    harness.app.OnIdle(0);
    EXPECT_EQ(TakePosted().size(), 1u);
}

class SpyPort : public CSerialPort {
public:
    explicit SpyPort(bool* closedWhenDeleted) : m_flag(closedWhenDeleted) {}
    ~SpyPort() override { *m_flag = GetState() == Closed; }

private:
    bool* m_flag;
};

TEST_F(IdleStepTest, ShutdownClosesAnOpenPortBeforeDeletingIt) {
    bool closedWhenDeleted = false;
    delete harness.app.m_pPort;
    harness.app.m_pPort = new SpyPort(&closedWhenDeleted);
    ASSERT_TRUE(harness.app.m_pPort->Open("COM7"));
    sim->ClearCalls();
    harness.Frame()->DestroyWindow();
    harness.app.ExitInstance();
    EXPECT_TRUE(closedWhenDeleted);
    EXPECT_EQ(harness.app.m_pPort, nullptr);
    EXPECT_FALSE(sim->IsOpen());
    EXPECT_EQ(sim->CountOf(SimulatedDevice::Op::CloseHandle), 1u);
}

// A program whose frame cannot be made has nothing to show and no window to be closed by: it must
// not go on to the port dialog and the loop, but end at once, saying why, with a failing status.
TEST(StartUp, WithoutItsWindowTheProgramEndsSayingWhyWithAFailingStatus) {
    AppHarness harness;
    // The frame's window cannot be made without its menu; the menu is back for the tests after.
    struct MenuGone {
        MenuGone() { afx::UnregisterMenu(IDR_MAINFRAME); }
        ~MenuGone() { resources::RegisterMenuAndAccelerators(); }
    } menuGone;
    // Should the program go on after all, its port dialog is cancelled and its loop ended, so that
    // the test fails rather than hangs.
    bool dialogShown = false;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        for (QWidget* window : QApplication::topLevelWidgets()) {
            WndWidgetBase* bridge = window->isVisible() ? WndWidgetBase::FromWidget(window) : nullptr;
            if (auto* dialog = bridge != nullptr ? dynamic_cast<CDialog*>(bridge->Owner()) : nullptr) {
                dialogShown = true;
                AppHarness::Press(*dialog, IDCANCEL);
                return;
            }
        }
    });
    watch.start(5);
    QTimer::singleShot(2000, &watch, [] { PostQuitMessage(0); });
    testing::internal::CaptureStderr();
    const int status = AfxWinMain();
    const std::string said = testing::internal::GetCapturedStderr();

    EXPECT_NE(status, 0);
    EXPECT_NE(said.find("main window could not be created"), std::string::npos) << said;
    EXPECT_FALSE(dialogShown);
    EXPECT_EQ(harness.Frame(), nullptr);
    EXPECT_EQ(harness.app.m_pPort, nullptr) << "shut down as at any end";
}

} // namespace
