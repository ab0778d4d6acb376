#include "framework/controls/GroupBoxWidget.h"

#include <QStyleOptionGroupBox>
#include <QStylePainter>

#include "framework/controls/ControlSupport.h"
#include "framework/controls/DialogConstants.h"
#include "framework/base/Latin1Text.h"

GroupBoxWidget::GroupBoxWidget(CWnd* owner, QWidget* parent) : WndWidget<QWidget>(owner, parent) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    // Controls made before the box (an inner box's frame, say) stay drawn over it, as do those after.
    lower();
}

bool GroupBoxWidget::ClassMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (afx::TextOfMessage(message, lParam, m_text)) {
        update();
        result = message == WM_SETTEXT ? TRUE : 0;
        return message == WM_SETTEXT;
    }
    if (message == BM_GETCHECK || message == BM_SETCHECK || message == BM_CLICK) {
        result = 0;
        return true;
    }
    return afx::AnswerTextQuery(m_text, message, wParam, lParam, result);
}

char GroupBoxWidget::Mnemonic() const {
    return afx::MnemonicOf(m_text);
}

void GroupBoxWidget::paintEvent(QPaintEvent*) {
    QStylePainter painter(this);
    QStyleOptionGroupBox option;
    option.initFrom(this);
    option.text = afx::FromLatin1(m_text);
    option.textAlignment = Qt::AlignLeft;
    option.textColor = palette().color(QPalette::WindowText);
    option.lineWidth = 1;
    option.midLineWidth = 0;
    option.features = QStyleOptionFrame::None;
    option.subControls = QStyle::SC_GroupBoxFrame;
    if (!m_text.empty())
        option.subControls |= QStyle::SC_GroupBoxLabel;
    painter.drawComplexControl(QStyle::CC_GroupBox, option);
}
