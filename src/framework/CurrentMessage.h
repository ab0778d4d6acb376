#pragma once
// The message a window is handling now, so that Default() can hand exactly that message to the
// window's default handling; for a message that came from a Qt event, that is Qt's own handling.

#include "framework/WinUser.h"

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

    // Makes this the current message for its lifetime.
    struct Scope {
        explicit Scope(CurrentMessage& m);
        ~Scope();
        Scope(const Scope&) = delete;
        Scope& operator=(const Scope&) = delete;
    };
    static CurrentMessage* Top();
};
