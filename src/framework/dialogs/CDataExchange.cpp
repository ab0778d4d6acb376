#include "framework/dialogs/CDataExchange.h"

#include "framework/window/CWnd.h"
#include "framework/controls/DialogConstants.h"
#include "framework/loop/MessageDispatch.h"

CDataExchange::CDataExchange(CWnd* dlgWnd, BOOL saveAndValidate)
    : m_bSaveAndValidate(saveAndValidate), m_pDlgWnd(dlgWnd) {}

HWND CDataExchange::PrepareCtrl(int id) {
    CWnd* control = m_pDlgWnd ? m_pDlgWnd->GetDlgItem(id) : nullptr;
    if (control == nullptr)
        Fail();
    m_lastControl = control->GetSafeHwnd();
    return m_lastControl;
}

void CDataExchange::Fail() {
    if (CWnd* control = CWnd::FromHandle(m_lastControl))
        control->SetFocus();
    throw Failure{};
}

void DDX_Control(CDataExchange* dx, int id, CWnd& control) {
    if (control.GetSafeHwnd() != nullptr)
        return;
    HWND hwnd = dx->PrepareCtrl(id);
    if (!control.SubclassWindow(hwnd))
        dx->Fail();
}

void DDX_Check(CDataExchange* dx, int id, int& value) {
    HWND hwnd = dx->PrepareCtrl(id);
    if (dx->m_bSaveAndValidate) {
        value = static_cast<int>(::SendMessage(hwnd, BM_GETCHECK, 0, 0));
        return;
    }
    if (value < 0 || value > 2)
        value = 0;
    ::SendMessage(hwnd, BM_SETCHECK, static_cast<WPARAM>(value), 0);
}

void DDX_CBString(CDataExchange* dx, int id, CString& value) {
    HWND hwnd = dx->PrepareCtrl(id);
    if (dx->m_bSaveAndValidate) {
        CWnd::FromHandle(hwnd)->GetWindowText(value);
        return;
    }
    // A drop-down list refuses a text that is not one of its entries: the selection stays.
    ::SendMessage(hwnd, CB_SELECTSTRING, static_cast<WPARAM>(-1),
                  reinterpret_cast<LPARAM>(value.GetString()));
}
