#include "framework/controls/CheckBoxWidget.h"

#include "framework/controls/ButtonMessages.h"
#include "framework/controls/ControlSupport.h"
#include "framework/controls/DialogConstants.h"

CheckBoxWidget::CheckBoxWidget(CWnd* owner, QWidget* parent) : WndWidget<QCheckBox>(owner, parent) {
    connect(this, &QAbstractButton::clicked, this, [this] { afx::NotifyParent(Owner(), BN_CLICKED); });
}

bool CheckBoxWidget::ClassMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (message) {
    case BM_GETCHECK:
        result = isChecked() ? BST_CHECKED : BST_UNCHECKED;
        return true;
    case BM_SETCHECK:
        setChecked(wParam != BST_UNCHECKED); // any state but unchecked shows checked
        result = 0;
        return true;
    default:
        return afx::CommonButtonMessage(*this, m_text, message, wParam, lParam, result);
    }
}

char CheckBoxWidget::Mnemonic() const {
    return afx::MnemonicOf(m_text);
}
