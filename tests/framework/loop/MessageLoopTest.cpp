// The message loop: the idle protocol, posted messages and modal loops, on the real loop offscreen.
#include <QApplication>
#include <QKeyEvent>
#include <QMessageBox>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>
#include <vector>

#include "framework/loop/CWinApp.h"
#include "framework/window/CWnd.h"
#include "framework/loop/MessageBox.h"
#include "framework/loop/MessageDispatch.h"

namespace {

// An application whose idle step records its counts and can be told to keep asking.
class RecordingApp : public CWinApp {
public:
    BOOL OnIdle(LONG count) override {
        counts.push_back(count);
        if (onIdle)
            onIdle(count);
        return CWinApp::OnIdle(count);
    }
    std::vector<LONG> counts;
    std::function<void(LONG)> onIdle;
};

// A window that records the messages it is given.
class RecordingWnd : public CWnd {
public:
    void OnChar(UINT, UINT, UINT) { log.push_back(WM_CHAR); }
    void OnAnyCommand() { log.push_back(WM_COMMAND); }
    std::vector<UINT> log;
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(RecordingWnd, CWnd)
ON_WM_CHAR()
ON_COMMAND(1, &RecordingWnd::OnAnyCommand)
ON_COMMAND(2, &RecordingWnd::OnAnyCommand)
END_MESSAGE_MAP()

class MessageLoopTest : public ::testing::Test {
protected:
    void SetUp() override {
        afx::ClearQuit();
        ASSERT_TRUE(a.CreateEx(0, nullptr, "a", WS_OVERLAPPED, CRect(0, 0, 100, 100), nullptr, 0));
        ASSERT_TRUE(b.CreateEx(0, nullptr, "b", WS_OVERLAPPED, CRect(0, 0, 100, 100), nullptr, 0));
        app.RunUntil([] { return false; }, 20); // let start-up events settle
        app.counts.clear();
    }
    void TearDown() override {
        a.DestroyWindow();
        b.DestroyWindow();
        afx::SetMessageBoxHandler({});
        afx::ClearQuit();
    }
    RecordingApp app;
    RecordingWnd a, b;
};

// The base idle step asks for more at count 0 only; any input, posted or typed, starts again at 0.
TEST_F(MessageLoopTest, IdleCountsFromZeroAndRestartAfterInput) {
    a.ShowWindow(SW_SHOW);
    const std::pair<const char*, std::function<void()>> inputs[] = {
        {"none", nullptr},
        {"posted command", [&] { a.PostMessage(WM_COMMAND, 1); }},
        {"posted character", [&] { a.PostMessage(WM_CHAR, 'x', 1); }},
        {"key press",
         [&] {
             QKeyEvent press(QEvent::KeyPress, Qt::Key_X, Qt::NoModifier, "x");
             QApplication::sendEvent(a.GetWidget(), &press);
         }},
    };
    for (const auto& [name, input] : inputs) {
        SCOPED_TRACE(name);
        app.RunUntil([] { return false; }, 20);
        app.counts.clear();
        app.onIdle = [&, input = input](LONG count) {
            if (input && app.counts.size() == 2 && count == 1)
                input();
        };
        app.RunUntil([] { return false; }, 30);
        EXPECT_EQ(app.counts, (input ? std::vector<LONG>{0, 1, 0, 1} : std::vector<LONG>{0, 1}));
    }
}

TEST_F(MessageLoopTest, AMessageForADestroyedWindowIsDropped) {
    HWND gone = b.m_hWnd;
    b.PostMessage(WM_COMMAND, 2);
    b.DestroyWindow();
    EXPECT_FALSE(PostMessage(gone, WM_COMMAND, 2, 0));
    // The object has no window left to post to: not even a quit may get through it.
    EXPECT_FALSE(b.PostMessage(WM_QUIT));
    a.PostMessage(WM_COMMAND, 1);
    EXPECT_TRUE(app.RunUntil([&] { return !a.log.empty(); }, 1000));
    EXPECT_FALSE(afx::QuitRequested());
    EXPECT_TRUE(b.log.empty());
}

TEST_F(MessageLoopTest, ModalMessageBoxStopsIdleButStillHandsOutPostedMessages) {
    bool sawBox = false;
    size_t idleCallsDuringBox = 0;
    app.onIdle = [&](LONG count) {
        if (count != 0 || sawBox)
            return;
        sawBox = true;
        a.PostMessage(WM_COMMAND, 1); // posted before the box opens
        QTimer::singleShot(30, [&] {
            idleCallsDuringBox = app.counts.size();
            // still inside the box: the posted command has been handled, idle was not called
            EXPECT_EQ(a.log.size(), 1u);
            for (QWidget* w : QApplication::topLevelWidgets())
                if (auto* box = qobject_cast<QMessageBox*>(w); box && box->isVisible())
                    box->accept();
        });
        MessageBoxA(nullptr, "text", "Error", MB_OK);
        EXPECT_EQ(app.counts.size(), idleCallsDuringBox);
    };
    app.RunUntil([&] { return false; }, 100);
    ASSERT_TRUE(sawBox);
    // The command posted before the box counts as input once the box is gone: idle restarts at 0.
    ASSERT_GE(app.counts.size(), 3u);
    EXPECT_EQ(app.counts[0], 0);
    EXPECT_EQ(app.counts[1], 0);
    EXPECT_EQ(a.log.size(), 1u);
}

} // namespace
