#include "framework/loop/MessageDispatch.h"

#include "framework/window/CWnd.h"
#include "framework/window/PostedMessageQueue.h"

namespace {
bool g_inputSeen = false;
bool g_quit = false;
int g_quitCode = 0;
} // namespace

BOOL PostMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (hwnd != nullptr && CWnd::FromHandlePermanent(hwnd) == nullptr)
        return FALSE;
    PostedMessageQueue::Instance().Post(MSG{hwnd, message, wParam, lParam});
    return TRUE;
}

LRESULT SendMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    CWnd* wnd = CWnd::FromHandlePermanent(hwnd);
    return wnd ? wnd->SendMessage(message, wParam, lParam) : 0;
}

void PostQuitMessage(int exitCode) {
    PostedMessageQueue::Instance().Post(MSG{nullptr, WM_QUIT, static_cast<WPARAM>(exitCode), 0});
}

namespace afx {

void DispatchPostedMessage(const MSG& msg) {
    if (CountsAsInput(msg.message))
        g_inputSeen = true;
    if (msg.message == WM_QUIT) {
        g_quit = true;
        g_quitCode = static_cast<int>(msg.wParam);
        return;
    }
    if (CWnd* wnd = CWnd::FromHandlePermanent(msg.hwnd))
        wnd->SendMessage(msg.message, msg.wParam, msg.lParam);
}

bool CountsAsInput(UINT message) {
    return message != WM_PAINT && message != WM_SYSTIMER && message != WM_QUIT;
}

void NoteInput() {
    g_inputSeen = true;
}

bool TakeInputSeen() {
    bool seen = g_inputSeen;
    g_inputSeen = false;
    return seen;
}

bool QuitRequested() {
    return g_quit;
}
int QuitCode() {
    return g_quitCode;
}
void ClearQuit() {
    g_quit = false;
    g_quitCode = 0;
}

} // namespace afx
