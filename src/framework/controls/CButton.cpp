#include "framework/controls/CButton.h"

#include "framework/controls/DialogConstants.h"
#include "framework/controls/ControlWindowClasses.h"

CButton::CButton() {
    afx::RegisterControlWindowClasses();
}

BOOL CButton::Create(LPCSTR caption, DWORD style, const RECT& rect, CWnd* parent, UINT id) {
    return CreateEx(0, "BUTTON", caption, style | WS_CHILD, rect, parent, id);
}

int CButton::GetCheck() const {
    return static_cast<int>(const_cast<CButton*>(this)->SendMessage(BM_GETCHECK));
}

void CButton::SetCheck(int check) {
    SendMessage(BM_SETCHECK, static_cast<WPARAM>(check));
}

void CButton::Click() {
    SendMessage(BM_CLICK);
}
