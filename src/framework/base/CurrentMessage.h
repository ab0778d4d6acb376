#pragma once
// The message a window is handling now, so that Default() can hand exactly that message to the
// window's default handling; for a message that came from a Qt event, that is Qt's own handling.

#include "framework/base/WinUser.h"

class CWnd;
class QEvent;
class WndWidgetBase;

struct CurrentMessage {
    CWnd* wnd;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    QEvent* event = nullptr;         // the Qt event behind the message, if any
    WndWidgetBase* widget = nullptr; // whose Qt handling Default() runs
    bool baseDone = false;           // Qt's handling has run
    CurrentMessage* previous = nullptr;

    // Makes this the current message for its lifetime. Every message handled passes here, so it is
    // inline.
    struct Scope {
        explicit Scope(CurrentMessage& m) {
            m.previous = s_top;
            s_top = &m;
        }
        ~Scope() { s_top = s_top->previous; }
        Scope(const Scope&) = delete;
        Scope& operator=(const Scope&) = delete;
    };
    static CurrentMessage* Top() { return s_top; }

private:
    static inline CurrentMessage* s_top = nullptr;
};
