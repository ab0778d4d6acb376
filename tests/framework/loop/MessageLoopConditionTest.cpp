// The caller's condition of a run of the loop is not asked before every message, but it must still
// end a run while posted messages keep coming.
#include <gtest/gtest.h>

#include "framework/loop/CWinApp.h"
#include "framework/loop/MessageDispatch.h"
#include "framework/window/CWnd.h"

namespace {

// Its command posts itself again: the queue never runs empty.
class RepostingWnd : public CWnd {
public:
    void OnRepost() {
        ++handled;
        PostMessage(WM_COMMAND, 1, 0);
    }
    int handled = 0;
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(RepostingWnd, CWnd)
ON_COMMAND(1, &RepostingWnd::OnRepost)
END_MESSAGE_MAP()

class QuietApp : public CWinApp {};

TEST(MessageLoopCondition, EndsARunWhoseQueueNeverEmpties) {
    afx::ClearQuit();
    QuietApp app;
    RepostingWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, nullptr, "w", WS_OVERLAPPED, CRect(0, 0, 10, 10), nullptr, 0));
    wnd.PostMessage(WM_COMMAND, 1, 0);
    EXPECT_TRUE(app.RunUntil([&] { return wnd.handled >= 1000; }, 20000));
    EXPECT_GE(wnd.handled, 1000);
    EXPECT_LE(wnd.handled, 1000 + 64) << "asked at least once every 64 turns";

    // The deadline is kept as well.
    EXPECT_FALSE(app.RunUntil([] { return false; }, 50));
    wnd.DestroyWindow();
    app.RunUntil({}, 10); // the last repost is dropped with its window
    afx::ClearQuit();
}

} // namespace
