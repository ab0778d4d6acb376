#include "framework/dialogs/DialogWidget.h"

#include <QKeyEvent>
#include <QPainter>
#include <QStyleOptionFrame>

#include "framework/window/CWnd.h"
#include "framework/controls/DialogConstants.h"
#include "framework/dialogs/DialogKeyboard.h"
#include "framework/dialogs/DialogNavigator.h"

namespace {
// The width of the sunken client edge, as the platform draws it.
constexpr int kClientEdge = 2;
} // namespace

namespace afx {

Qt::WindowFlags DialogWindowFlags(DWORD style, DWORD exStyle) {
    Qt::WindowFlags flags = (exStyle & WS_EX_TOOLWINDOW) != 0 ? Qt::Tool : Qt::Dialog;
    flags |= Qt::CustomizeWindowHint;
    if ((style & WS_CAPTION) == WS_CAPTION)
        flags |= Qt::WindowTitleHint;
    if ((style & WS_SYSMENU) != 0)
        flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    return flags;
}

} // namespace afx

DialogWidget::DialogWidget(CWnd* owner, QWidget* parent, DWORD style, DWORD exStyle)
    : WndWidget<QWidget>(owner, parent,
                         (style & WS_CHILD) != 0 ? Qt::Widget : afx::DialogWindowFlags(style, exStyle)),
      m_client(new QWidget(this)), m_edge((exStyle & WS_EX_CLIENTEDGE) != 0 ? kClientEdge : 0),
      m_sizable((style & WS_THICKFRAME) != 0) {
    m_client->installEventFilter(this);
    m_client->setGeometry(rect().adjusted(m_edge, m_edge, -m_edge, -m_edge));
}

void DialogWidget::SetClientSize(QSize size) {
    QSize whole = size + QSize(2 * m_edge, 2 * m_edge);
    if (m_sizable || !isWindow())
        resize(whole);
    else
        setFixedSize(whole);
}

bool DialogWidget::ClassMessage(UINT message, WPARAM, LPARAM, LRESULT& result) {
    if (message != DM_GETDEFID || Owner() == nullptr)
        return false;
    CWnd* button = DialogNavigator(*Owner()).DefaultButton();
    result = button ? MAKELPARAM(static_cast<WORD>(button->GetDlgCtrlID()), DC_HASDEFID) : 0;
    return true;
}

bool DialogWidget::HandleKey(QEvent* event) {
    if (Owner() == nullptr)
        return false;
    auto* key = static_cast<QKeyEvent*>(event);
    DialogKeyboard keyboard(*Owner());
    if (event->type() == QEvent::ShortcutOverride) {
        // Taking the key here makes it arrive as a key press, ahead of any shortcut of Qt's.
        if (!keyboard.IsMnemonic(*key))
            return false;
        event->accept();
        return true;
    }
    return event->type() == QEvent::KeyPress && keyboard.KeyPress(*key);
}

bool DialogWidget::event(QEvent* event) {
    if ((event->type() == QEvent::KeyPress || event->type() == QEvent::ShortcutOverride) && HandleKey(event))
        return true;
    return WndWidget<QWidget>::event(event);
}

bool DialogWidget::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::ChildAdded:
        // Every control placed in the client area passes its keys by the dialog first.
        if (watched == m_client)
            static_cast<QChildEvent*>(event)->child()->installEventFilter(this);
        return false;
    case QEvent::KeyPress:
    case QEvent::ShortcutOverride:
        return HandleKey(event);
    default:
        return false;
    }
}

bool DialogWidget::focusNextPrevChild(bool next) {
    if (Owner() != nullptr && DialogKeyboard(*Owner()).Tab(next))
        return true;
    return WndWidget<QWidget>::focusNextPrevChild(next);
}

void DialogWidget::resizeEvent(QResizeEvent* event) {
    m_client->setGeometry(rect().adjusted(m_edge, m_edge, -m_edge, -m_edge));
    WndWidget<QWidget>::resizeEvent(event);
}

void DialogWidget::paintEvent(QPaintEvent*) {
    if (m_edge == 0)
        return;
    QPainter painter(this);
    QStyleOptionFrame option;
    option.initFrom(this);
    option.lineWidth = m_edge;
    option.midLineWidth = 0;
    option.state |= QStyle::State_Sunken;
    style()->drawPrimitive(QStyle::PE_Frame, &option, &painter, this);
}
