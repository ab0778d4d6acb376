#pragma once
// The Qt side of a window: every widget that stands for a CWnd derives from WndWidget<QtBase>, which
// offers each Qt event to its window first. The window turns the events it has handlers for into
// messages; everything else, and whatever a handler passes on with Default(), takes Qt's own path.

#include <QEvent>
#include <utility>

#include "framework/base/WinUser.h"

class CWnd;
class QWidget;

class WndWidgetBase {
public:
    explicit WndWidgetBase(CWnd* owner) : m_owner(owner) {}
    virtual ~WndWidgetBase() = default;
    CWnd* Owner() const { return m_owner; }
    void SetOwner(CWnd* owner) { m_owner = owner; }

    // Qt's own handling of an event, for a handler that passes it on.
    virtual bool BaseEvent(QEvent* event) = 0;

    // The window class's own handling of a message that the window object leaves to its default
    // (a control's text and its BM_*/CB_* messages), whatever object stands for the window;
    // false when the class has nothing of its own for it.
    virtual bool ClassMessage(UINT /*message*/, WPARAM /*wParam*/, LPARAM /*lParam*/, LRESULT& /*result*/) {
        return false;
    }

    static WndWidgetBase* FromWidget(QWidget* widget);

private:
    CWnd* m_owner;
};

namespace afx {
// Offers a Qt event to the window; returns 1 or 0 when the window decided the event's fate,
// -1 when Qt should handle it as usual.
int RouteWidgetEvent(CWnd* owner, WndWidgetBase* widget, QEvent* event);
} // namespace afx

template <class QtBase> class WndWidget : public QtBase, public WndWidgetBase {
public:
    template <class... Args>
    explicit WndWidget(CWnd* owner, Args&&... args)
        : QtBase(std::forward<Args>(args)...), WndWidgetBase(owner) {}

    bool BaseEvent(QEvent* event) override { return QtBase::event(event); }

protected:
    bool event(QEvent* event) override {
        if (CWnd* owner = Owner()) {
            int routed = afx::RouteWidgetEvent(owner, this, event);
            if (routed >= 0)
                return routed != 0;
        }
        return QtBase::event(event);
    }
};
