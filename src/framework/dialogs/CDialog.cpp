#include "framework/dialogs/CDialog.h"

#include <QPointer>

#include "framework/dialogs/CDataExchange.h"
#include "framework/dialogs/DialogBuilder.h"
#include "framework/dialogs/DialogNavigator.h"
#include "framework/dialogs/DialogWidget.h"
#include "framework/dialogs/DialogWindowClasses.h"
#include "framework/loop/ModalOwner.h"
#include "framework/loop/ModalScope.h"
#include "framework/base/ResourceTable.h"

namespace {

template <class T, auto Fn>
LRESULT InitDialogThunk(CCmdTarget* target, WPARAM, LPARAM) {
    return (static_cast<T*>(target)->*Fn)();
}

} // namespace

BEGIN_MESSAGE_MAP(CDialog, CWnd){WM_INITDIALOG, 0, 0, &InitDialogThunk<CDialog, &CDialog::HandleInitDialog>},
    ON_COMMAND(IDOK, &CDialog::OnOK) ON_COMMAND(IDCANCEL, &CDialog::OnCancel) END_MESSAGE_MAP()

        CDialog::CDialog(UINT templateId, CWnd* parent)
    : m_nIDTemplate(templateId), m_pParentArg(parent) {
    afx::RegisterDialogWindowClass();
}

CDialog::~CDialog() {
    if (GetSafeHwnd() != nullptr)
        TearDown();
}

INT_PTR CDialog::DoModal() {
    m_pTemplate = afx::FindDialog(m_nIDTemplate);
    if (m_pTemplate == nullptr || GetSafeHwnd() != nullptr)
        return -1;
    ModalScope modal;
    ModalOwner owner(m_pParentArg);
    m_nModalResult = -1;
    m_ended = false;
    if (!DialogBuilder(*m_pTemplate).Build(*this, owner.Window(), m_controls)) {
        TearDown();
        return -1;
    }
    SendMessage(WM_INITDIALOG);
    if (!m_ended && GetSafeHwnd() != nullptr) {
        ShowModalWindow();
        QEventLoop loop;
        m_loop = &loop;
        if (!m_ended && GetSafeHwnd() != nullptr)
            loop.exec(QEventLoop::DialogExec);
        m_loop = nullptr;
    }
    // The owner comes back before the dialog goes, so that it, not some other window, is activated.
    if (QWidget* widget = GetWidget())
        widget->hide();
    owner.Restore();
    TearDown();
    return m_nModalResult;
}

void CDialog::ShowModalWindow() {
    QWidget* widget = GetWidget();
    // The focus that initialisation chose is given again once the window is up and active.
    QPointer<QWidget> focus = widget->focusWidget();
    widget->setWindowModality(GetParent() ? Qt::WindowModal : Qt::NonModal);
    widget->show();
    widget->raise();
    widget->activateWindow();
    if (focus)
        focus->setFocus(Qt::ActiveWindowFocusReason);
}

void CDialog::TearDown() {
    QPointer<QWidget> widget = GetWidget();
    DestroyWindow();
    // Nothing of the window outlives the run: its widgets go now, not at some later turn of a loop.
    delete widget.data();
    m_controls.clear();
    m_pTemplate = nullptr;
}

LRESULT CDialog::HandleInitDialog() {
    BOOL setFocus = OnInitDialog();
    if (setFocus && GetSafeHwnd() != nullptr) {
        if (CWnd* first = DialogNavigator(*this).NextTabStop(nullptr, true))
            first->GetWidget()->setFocus(Qt::TabFocusReason);
    }
    return setFocus;
}

BOOL CDialog::OnInitDialog() {
    AppendListEntries();
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::AppendListEntries() {
    if (m_pTemplate == nullptr)
        return;
    for (const DialogInitEntry& entry : m_pTemplate->initData) {
        CWnd* control = GetDlgItem(entry.controlId);
        if (control == nullptr)
            continue;
        for (const std::string& text : entry.strings)
            control->SendMessage(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    }
}

void CDialog::OnOK() {
    if (UpdateData(TRUE))
        EndDialog(IDOK);
}

void CDialog::OnCancel() {
    EndDialog(IDCANCEL);
}

void CDialog::EndDialog(int result) {
    m_nModalResult = result;
    m_ended = true;
    if (m_loop != nullptr)
        m_loop->exit();
}

BOOL CDialog::UpdateData(BOOL saveAndValidate) {
    if (GetSafeHwnd() == nullptr)
        return FALSE;
    CDataExchange dx(this, saveAndValidate);
    try {
        DoDataExchange(&dx);
    } catch (const CDataExchange::Failure&) {
        return FALSE;
    }
    return TRUE;
}

void CDialog::DoDataExchange(CDataExchange*) {}

QWidget* CDialog::GetClientWidget() const {
    auto* widget = dynamic_cast<DialogWidget*>(GetWidget());
    return widget ? widget->Client() : GetWidget();
}

LRESULT CDialog::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    // The caption's close box (and WM_CLOSE from anywhere) is Cancel.
    if (message == WM_CLOSE) {
        SendMessage(WM_COMMAND, MAKEWPARAM(IDCANCEL, 0), 0);
        return 0;
    }
    return CWnd::DefWindowProc(message, wParam, lParam);
}

void CDialog::PostNcDestroy() {
    // A window destroyed while the loop runs ends the run.
    m_ended = true;
    if (m_loop != nullptr)
        m_loop->exit();
}
