#include "framework/controls/CButton.h"

#include "framework/controls/DialogConstants.h"
#include "framework/controls/ControlWindowClasses.h"

CButton::CButton() {
    afx::RegisterControlWindowClasses();
}

int CButton::GetCheck() const {
    return static_cast<int>(const_cast<CButton*>(this)->SendMessage(BM_GETCHECK));
}

void CButton::SetCheck(int check) {
    SendMessage(BM_SETCHECK, static_cast<WPARAM>(check));
}
