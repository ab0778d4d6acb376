#include "framework/loop/ModalOwner.h"

#include "framework/loop/CWinApp.h"
#include "framework/window/CWnd.h"

ModalOwner::ModalOwner(CWnd* owner) {
    if (owner == nullptr)
        owner = AfxGetMainWnd();
    if (owner == nullptr || owner->GetSafeHwnd() == nullptr)
        return;
    owner = owner->GetTopLevelParent();
    m_owner = owner->GetSafeHwnd();
    if (owner->IsWindowEnabled()) {
        owner->EnableWindow(FALSE);
        m_reenable = true;
    }
}

ModalOwner::~ModalOwner() {
    Restore();
}

CWnd* ModalOwner::Window() const {
    return CWnd::FromHandle(m_owner);
}

QWidget* ModalOwner::Widget() const {
    CWnd* owner = Window();
    return owner ? owner->GetWidget() : nullptr;
}

void ModalOwner::Restore() {
    CWnd* owner = Window();
    if (owner == nullptr)
        return;
    if (m_reenable)
        owner->EnableWindow(TRUE);
    m_reenable = false;
    if (QWidget* widget = owner->GetWidget(); widget && widget->isVisible())
        widget->activateWindow();
    m_owner = nullptr;
}
