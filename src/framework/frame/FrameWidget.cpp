#include "framework/frame/FrameWidget.h"

#include <QMenuBar>

namespace framework {

namespace {

Qt::WindowFlags WindowFlagsOf(DWORD style) {
    Qt::WindowFlags flags = Qt::Window | Qt::CustomizeWindowHint;
    if ((style & WS_CAPTION) == WS_CAPTION)
        flags |= Qt::WindowTitleHint;
    if ((style & WS_SYSMENU) != 0)
        flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    if ((style & WS_MINIMIZEBOX) != 0)
        flags |= Qt::WindowMinimizeButtonHint;
    if ((style & WS_MAXIMIZEBOX) != 0)
        flags |= Qt::WindowMaximizeButtonHint;
    return flags;
}

} // namespace

FrameWidget::FrameWidget(CWnd* owner, QWidget* parent, DWORD style)
    : WndWidget<QWidget>(owner, parent), m_client(new QWidget(this)) {
    if (parent == nullptr)
        setWindowFlags(WindowFlagsOf(style));
    LayOut();
}

void FrameWidget::SetMenuBar(QMenuBar* menuBar) {
    delete m_menuBar;
    m_menuBar = menuBar;
    if (m_menuBar != nullptr) {
        m_menuBar->setParent(this);
        // The menu stays in the window on desktops that offer a global menu bar.
        m_menuBar->setNativeMenuBar(false);
        m_menuBar->show();
    }
    LayOut();
}

void FrameWidget::LayOut() {
    int menuHeight = 0;
    if (m_menuBar != nullptr) {
        menuHeight = m_menuBar->heightForWidth(width());
        if (menuHeight <= 0)
            menuHeight = m_menuBar->sizeHint().height();
        m_menuBar->setGeometry(0, 0, width(), menuHeight);
    }
    m_client->setGeometry(0, menuHeight, width(), std::max(0, height() - menuHeight));
}

bool FrameWidget::event(QEvent* event) {
    if (event->type() == QEvent::Resize)
        LayOut();
    return WndWidget<QWidget>::event(event);
}

} // namespace framework
