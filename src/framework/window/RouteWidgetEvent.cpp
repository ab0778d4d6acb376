#include <QCloseEvent>
#include <QMouseEvent>
#include <QResizeEvent>

#include "framework/window/CWnd.h"
#include "framework/base/CurrentMessage.h"

namespace {

constexpr WPARAM MK_LBUTTON = 0x0001;
constexpr WPARAM MK_SHIFT = 0x0004;
constexpr WPARAM MK_CONTROL = 0x0008;

// The message that a Qt event stands for, if it is one a window may handle.
bool Translate(QEvent* event, MSG& msg) {
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        auto* me = static_cast<QMouseEvent*>(event);
        if (me->button() != Qt::LeftButton)
            return false;
        QPoint p = me->position().toPoint();
        WPARAM keys = MK_LBUTTON;
        if (me->modifiers() & Qt::ShiftModifier)
            keys |= MK_SHIFT;
        if (me->modifiers() & Qt::ControlModifier)
            keys |= MK_CONTROL;
        msg = MSG{nullptr, WM_LBUTTONDOWN, keys,
                  MAKELPARAM(static_cast<WORD>(p.x()), static_cast<WORD>(p.y()))};
        return true;
    }
    case QEvent::Resize: {
        QSize s = static_cast<QResizeEvent*>(event)->size();
        msg =
            MSG{nullptr, WM_SIZE, 0, MAKELPARAM(static_cast<WORD>(s.width()), static_cast<WORD>(s.height()))};
        return true;
    }
    case QEvent::WindowActivate:
        msg = MSG{nullptr, WM_ACTIVATE, WA_ACTIVE, 0};
        return true;
    case QEvent::WindowDeactivate:
        msg = MSG{nullptr, WM_ACTIVATE, WA_INACTIVE, 0};
        return true;
    case QEvent::FocusIn:
        msg = MSG{nullptr, WM_SETFOCUS, 0, 0};
        return true;
    case QEvent::Close:
        msg = MSG{nullptr, WM_CLOSE, 0, 0};
        return true;
    default:
        return false;
    }
}

// Events whose Qt handling must run even when a handler does not pass them on: they report what
// already happened, and Qt keeps its own state in step with them.
bool IsNotification(UINT message) {
    return message == WM_SIZE || message == WM_ACTIVATE || message == WM_SETFOCUS;
}

} // namespace

namespace afx {

int RouteWidgetEvent(CWnd* owner, WndWidgetBase* widget, QEvent* event) {
    MSG msg;
    if (!Translate(event, msg))
        return -1;
    // Closing always goes through the window, whose default is to destroy itself; other events only
    // when the window's map has a handler for them.
    if (msg.message != WM_CLOSE && owner->FindMessageEntry(msg.message, 0) == nullptr)
        return -1;
    if (msg.message == WM_CLOSE)
        event->ignore();
    CurrentMessage current{owner, msg.message, msg.wParam, msg.lParam, event, widget};
    {
        CurrentMessage::Scope scope(current);
        owner->WindowProc(msg.message, msg.wParam, msg.lParam);
    }
    if (msg.message != WM_CLOSE && !current.baseDone && IsNotification(msg.message))
        widget->BaseEvent(event);
    return 1;
}

} // namespace afx
