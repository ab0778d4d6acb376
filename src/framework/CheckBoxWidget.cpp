#include "framework/CheckBoxWidget.h"

#include "framework/ButtonMessages.h"
#include "framework/ControlSupport.h"
#include "framework/DialogConstants.h"

CheckBoxWidget::CheckBoxWidget(CWnd* owner, QWidget* parent, DWORD style)
    : WndWidget<QCheckBox>(owner, parent) {
    DWORD type = style & BS_TYPEMASK;
    m_automatic = type == BS_AUTOCHECKBOX || type == BS_AUTO3STATE;
    setTristate(type == BS_3STATE || type == BS_AUTO3STATE);
    connect(this, &QAbstractButton::clicked, this, [this] { afx::NotifyParent(Owner(), BN_CLICKED); });
}

bool CheckBoxWidget::ClassMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (message) {
    case BM_GETCHECK:
        result = static_cast<LRESULT>(GetCheck());
        return true;
    case BM_SETCHECK:
        SetCheck(wParam);
        result = 0;
        return true;
    default:
        return afx::CommonButtonMessage(*this, m_text, message, wParam, lParam, result);
    }
}

char CheckBoxWidget::Mnemonic() const {
    return afx::MnemonicOf(m_text);
}

UINT CheckBoxWidget::GetCheck() const {
    switch (checkState()) {
    case Qt::Checked:
        return BST_CHECKED;
    case Qt::PartiallyChecked:
        return BST_INDETERMINATE;
    default:
        return BST_UNCHECKED;
    }
}

void CheckBoxWidget::SetCheck(WPARAM state) {
    if (state == BST_UNCHECKED)
        setCheckState(Qt::Unchecked);
    else if (state == BST_INDETERMINATE && isTristate())
        setCheckState(Qt::PartiallyChecked);
    else
        setCheckState(Qt::Checked); // a two-state box shows any other state as checked
}

void CheckBoxWidget::nextCheckState() {
    if (!m_automatic)
        return;
    // Unchecked, checked, then (three-state boxes) indeterminate, and round again.
    UINT next = GetCheck() == BST_UNCHECKED                 ? BST_CHECKED
                : GetCheck() == BST_CHECKED && isTristate() ? BST_INDETERMINATE
                                                            : BST_UNCHECKED;
    SetCheck(next);
}
