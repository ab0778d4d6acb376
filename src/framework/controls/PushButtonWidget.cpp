#include "framework/controls/PushButtonWidget.h"

#include "framework/controls/ButtonMessages.h"
#include "framework/controls/ControlSupport.h"
#include "framework/controls/DialogConstants.h"

PushButtonWidget::PushButtonWidget(CWnd* owner, QWidget* parent, DWORD style)
    : WndWidget<QPushButton>(owner, parent) {
    // Enter is the dialog's to hand out; the default button is only drawn as such.
    setAutoDefault(false);
    setDefault((style & BS_TYPEMASK) == BS_DEFPUSHBUTTON);
    connect(this, &QAbstractButton::clicked, this, [this] { afx::NotifyParent(Owner(), BN_CLICKED); });
}

bool PushButtonWidget::ClassMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (message == BM_GETCHECK || message == BM_SETCHECK) {
        result = 0;
        return true;
    }
    return afx::CommonButtonMessage(*this, m_text, message, wParam, lParam, result);
}

char PushButtonWidget::Mnemonic() const {
    return afx::MnemonicOf(m_text);
}
