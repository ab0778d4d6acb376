#pragma once
// The Qt widget of a frame window: a plain top-level widget with the menu bar along its top and,
// below it, the client area that holds the frame's child windows (control bars, the view). The
// frame places its children itself; no Qt layout manages the client area.

#include <QWidget>

#include "framework/base/WinUser.h"
#include "framework/window/WndWidget.h"

class QMenuBar;

namespace framework {

class FrameWidget : public WndWidget<QWidget> {
public:
    // `parent` is null for a top-level frame; its caption buttons follow the window style.
    FrameWidget(CWnd* owner, QWidget* parent, DWORD style);

    QWidget* Client() const { return m_client; }
    QMenuBar* MenuBar() const { return m_menuBar; }
    // Puts `menuBar` along the top, in place of the menu bar there was (which is deleted).
    void SetMenuBar(QMenuBar* menuBar);
    // Places the menu bar and the client area for the widget's size as it stands now.
    void LayOut();

protected:
    // The client area takes its new size before the window hears of the resize, so that a frame
    // laying out its children sees the right client rectangle.
    bool event(QEvent* event) override;

private:
    QWidget* m_client;
    QMenuBar* m_menuBar = nullptr;
};

} // namespace framework
