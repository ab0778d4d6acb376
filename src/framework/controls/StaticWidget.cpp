#include "framework/controls/StaticWidget.h"

#include <QBitmap>
#include <QPainter>
#include <QStyle>
#include <cstdlib>

#include "framework/controls/ControlSupport.h"
#include "framework/base/Latin1Text.h"
#include "framework/base/ResourceTable.h"

StaticWidget::StaticWidget(CWnd* owner, QWidget* parent, DWORD style)
    : WndWidget<QWidget>(owner, parent), m_style(style) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
}

bool StaticWidget::IsBitmap() const {
    return (m_style & SS_TYPEMASK) == SS_BITMAP;
}

bool StaticWidget::ClassMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (afx::TextOfMessage(message, lParam, m_text)) {
        TextChanged();
        result = message == WM_SETTEXT ? TRUE : 0;
        return message == WM_SETTEXT;
    }
    return afx::AnswerTextQuery(m_text, message, wParam, lParam, result);
}

char StaticWidget::Mnemonic() const {
    if (IsBitmap() || (m_style & SS_NOPREFIX) != 0)
        return 0;
    return afx::MnemonicOf(m_text);
}

void StaticWidget::TextChanged() {
    if (IsBitmap())
        LoadBitmap();
    update();
}

void StaticWidget::LoadBitmap() {
    // The number may be written "#105" as well as "105".
    const char* digits = m_text.c_str() + (m_text.starts_with('#') ? 1 : 0);
    m_bitmap = afx::LoadBitmap(static_cast<UINT>(std::strtoul(digits, nullptr, 10)));
    if (m_bitmap.isNull())
        return;
    if (!m_bitmap.hasAlphaChannel()) {
        QColor background = m_bitmap.toImage().pixelColor(0, 0);
        m_bitmap.setMask(m_bitmap.createMaskFromColor(background, Qt::MaskInColor));
    }
    resize(m_bitmap.size());
}

int StaticWidget::TextFlags() const {
    int flags = Qt::AlignTop | Qt::TextWordWrap;
    flags |= (m_style & SS_TYPEMASK) == SS_RIGHT ? Qt::AlignRight : Qt::AlignLeft;
    if ((m_style & SS_NOPREFIX) == 0) {
        flags |= Qt::TextShowMnemonic;
        if (!style()->styleHint(QStyle::SH_UnderlineShortcut, nullptr, this))
            flags |= Qt::TextHideMnemonic;
    }
    return flags;
}

void StaticWidget::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (IsBitmap()) {
        painter.drawPixmap(0, 0, m_bitmap);
        return;
    }
    style()->drawItemText(&painter, rect(), TextFlags(), palette(), isEnabled(), afx::FromLatin1(m_text),
                          QPalette::WindowText);
}
