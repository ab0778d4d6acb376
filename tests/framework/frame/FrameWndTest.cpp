// The frame window: its menu, accelerators, command routing, layout of bars and view, and its
// lifetime, on the real message loop offscreen.
#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <vector>

#include "framework/base/CurrentMessage.h"
#include "framework/base/ResourceTable.h"
#include "framework/frame/CFrameWnd.h"
#include "framework/frame/CStatusBar.h"
#include "framework/loop/CWinApp.h"
#include "framework/loop/InputMonitor.h"
#include "framework/loop/MessageDispatch.h"
#include "framework/loop/ModalScope.h"
#include "framework/window/WindowClass.h"

namespace {

constexpr UINT kMenuId = 900;
constexpr UINT kAccelId = 901;
constexpr UINT kIndicator = 902;
constexpr UINT kViewId = 2000;
constexpr UINT kCmdDtr = 40005, kCmdSave = 40011;
constexpr UINT kCmdAlpha = 40100, kCmdBeta = 40101;

// A focusable child that records every key press that reaches it.
class KeySink : public WndWidget<QWidget> {
public:
    KeySink(CWnd* owner, QWidget* parent) : WndWidget<QWidget>(owner, parent) {
        setFocusPolicy(Qt::StrongFocus);
    }
    std::vector<std::pair<int, Qt::KeyboardModifiers>> keys;

protected:
    static bool IsModifier(int key) {
        return key == Qt::Key_Control || key == Qt::Key_Shift || key == Qt::Key_Alt || key == Qt::Key_Meta;
    }

    bool event(QEvent* e) override {
        if (e->type() == QEvent::KeyPress) {
            auto* key = static_cast<QKeyEvent*>(e);
            if (!IsModifier(key->key()))
                keys.emplace_back(key->key(), key->modifiers());
            return true;
        }
        return WndWidget<QWidget>::event(e);
    }
};

QWidget* CreateKeySink(CWnd* owner, QWidget* parent, DWORD, DWORD) {
    return new KeySink(owner, parent);
}

void RegisterTestResources() {
    MenuResource menu;
    menu.popups = {
        {"First",
         0,
         {{"Alpha\tCtrl+A", kCmdAlpha, {}, false}, {"", 0, {}, true}, {"Exit", ID_APP_EXIT, {}, false}},
         false},
        {"Second", 0, {{"More", 0, {{"Beta", kCmdBeta, {}, false}}, false}}, false},
    };
    afx::RegisterMenu(kMenuId, menu);
    const BYTE ctrl = FVIRTKEY | FCONTROL | FNOINVERT;
    afx::RegisterAccelerators(kAccelId, AcceleratorResource{{{ctrl, 'D', kCmdDtr}, {ctrl, 'S', kCmdSave}}});
    afx::RegisterString(kIndicator, "Indicator");
    afx::RegisterWindowClass({"TestKeySink", &CreateKeySink});
}

// An application that handles a command that the frame handles too.
class TestApp : public CWinApp {
public:
    void OnAlpha() { appCommands.push_back(kCmdAlpha); }
    std::vector<UINT> appCommands;
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(TestApp, CWinApp)
ON_COMMAND(kCmdAlpha, &TestApp::OnAlpha)
END_MESSAGE_MAP()

// A frame with a status bar and a key-recording view, the way a program's main frame is built.
class TestFrame : public CFrameWnd {
public:
    explicit TestFrame(bool* deleted, bool failCreate = false)
        : m_deleted(deleted), m_failCreate(failCreate) {}
    ~TestFrame() override { *m_deleted = true; }

    int OnCreate(LPCREATESTRUCT cs) {
        if (CFrameWnd::OnCreate(cs) == -1 || m_failCreate)
            return -1;
        if (!bar.Create(this))
            return -1;
        bar.SetIndicators(&kIndicator, 1);
        return view.CreateEx(0, "TestKeySink", "", WS_CHILD | WS_VISIBLE, CRect(0, 0, 10, 10), this, kViewId)
                   ? 0
                   : -1;
    }
    void RecalcLayout(BOOL) override { RepositionBars(0, 0xFFFF, kViewId); }

    void OnTestCommand() { commands.push_back(LOWORD(CurrentMessage::Top()->wParam)); }

    KeySink* Sink() const { return static_cast<KeySink*>(view.GetWidget()); }

    CStatusBar bar;
    CWnd view;
    std::vector<UINT> commands;

private:
    bool* m_deleted;
    bool m_failCreate;
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(TestFrame, CFrameWnd)
ON_WM_CREATE()
ON_COMMAND_RANGE(kCmdDtr, kCmdBeta, &TestFrame::OnTestCommand)
END_MESSAGE_MAP()

class FrameWndTest : public ::testing::Test {
protected:
    void SetUp() override {
        afx::ClearQuit();
        RegisterTestResources();
        InputMonitor::Install();
        frame = new TestFrame(&deleted);
        ASSERT_TRUE(frame->Create(nullptr, "Frame title", WS_OVERLAPPEDWINDOW, CRect(10, 10, 410, 310),
                                  nullptr, kMenuId));
        ASSERT_TRUE(frame->LoadAccelTable(kAccelId));
        app.m_pMainWnd = frame;
    }
    void TearDown() override {
        // Closing the main window would leave a quit message behind for the next test.
        app.m_pMainWnd = nullptr;
        if (!deleted)
            frame->DestroyWindow();
        EXPECT_TRUE(deleted);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        afx::ClearQuit();
    }
    void Key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(frame->Sink(), Qt::Key(key), modifiers);
    }
    void ExpectClosedAndQuit() const {
        EXPECT_TRUE(deleted);
        EXPECT_EQ(app.m_pMainWnd, nullptr);
        EXPECT_TRUE(afx::QuitRequested());
        EXPECT_EQ(afx::QuitCode(), 0);
    }
    std::vector<QAction*> Items(int popup) const {
        QMenu* menu = frame->GetMenuBar()->actions().at(popup)->menu();
        auto list = menu->actions();
        return std::vector<QAction*>(list.begin(), list.end());
    }

    TestApp app;
    bool deleted = false;
    TestFrame* frame = nullptr;
};

TEST_F(FrameWndTest, ChoosingAMenuItemPostsItsCommandToTheFrame) {
    Items(0)[0]->trigger();
    EXPECT_TRUE(frame->commands.empty()) << "posted, not sent: it runs once the menu has closed";
    ASSERT_TRUE(app.RunUntil([&] { return !frame->commands.empty(); }, 1000));
    EXPECT_EQ(frame->commands, std::vector<UINT>{kCmdAlpha});
    EXPECT_TRUE(app.appCommands.empty()) << "the frame's own map comes first";

    Items(1)[0]->menu()->actions().at(0)->trigger();
    ASSERT_TRUE(app.RunUntil([&] { return frame->commands.size() == 2; }, 1000));
    EXPECT_EQ(frame->commands.back(), kCmdBeta);
}

// Keys without a table entry and keys whose modifiers do not match exactly.
TEST_F(FrameWndTest, OtherKeysReachTheFocusedChild) {
    const std::vector<std::pair<int, Qt::KeyboardModifiers>> keys{
        {Qt::Key_Q, Qt::ControlModifier},
        {Qt::Key_D, Qt::ControlModifier | Qt::ShiftModifier},
        {Qt::Key_S, Qt::ControlModifier | Qt::AltModifier}};
    for (const auto& [key, modifiers] : keys)
        Key(key, modifiers);
    EXPECT_TRUE(frame->commands.empty());
    EXPECT_EQ(frame->Sink()->keys, keys);
}

TEST_F(FrameWndTest, KeysAreNotTranslatedWhileAModalLoopRuns) {
    {
        ModalScope modal;
        Key(Qt::Key_D, Qt::ControlModifier);
    }
    EXPECT_TRUE(frame->commands.empty());
    ASSERT_EQ(frame->Sink()->keys.size(), 1u);
    Key(Qt::Key_D, Qt::ControlModifier);
    EXPECT_EQ(frame->commands, std::vector<UINT>{kCmdDtr});
}

// Exit reaches the application, which closes the main window; the frame deletes itself once its
// window is gone, and the loop ends with a quit code of 0.
TEST_F(FrameWndTest, AnAcceleratorThatClosesTheFrameLeavesNothingBehind) {
    const BYTE ctrl = FVIRTKEY | FCONTROL;
    afx::RegisterAccelerators(kAccelId + 10,
                              AcceleratorResource{{{ctrl, 'Q', static_cast<WORD>(ID_APP_EXIT)}}});
    ASSERT_TRUE(frame->LoadAccelTable(kAccelId + 10));
    EXPECT_FALSE(frame->LoadAccelTable(kAccelId + 11)) << "no such table";
    Key(Qt::Key_Q, Qt::ControlModifier);
    EXPECT_FALSE(app.RunUntil([] { return false; }, 2000)) << "the loop ends";
    ExpectClosedAndQuit();
}

} // namespace
