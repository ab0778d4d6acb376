#include "framework/dialogs/CFileDialog.h"

#include "framework/loop/CWinApp.h"
#include "framework/window/CWnd.h"
#include "framework/dialogs/QtFileDialog.h"

namespace {

afx::FileDialogHandler& Handler() {
    static afx::FileDialogHandler handler;
    return handler;
}

std::optional<std::string> OptionalText(LPCSTR text) {
    return text ? std::optional<std::string>(text) : std::nullopt;
}

} // namespace

CFileDialog::CFileDialog(BOOL openFileDialog, LPCSTR defExt, LPCSTR fileName, DWORD flags, LPCSTR filter,
                         CWnd* parent)
    : m_pParentWnd(parent) {
    m_args.openFileDialog = openFileDialog != FALSE;
    m_args.defaultExtension = OptionalText(defExt);
    m_args.fileName = OptionalText(fileName);
    m_args.flags = flags;
    m_args.filters = afx::ParseFileDialogFilter(filter);
    m_args.selectedFilter = 0;
}

int CFileDialog::DoModal() {
    CWnd* owner = m_pParentWnd ? m_pParentWnd : AfxGetMainWnd();
    m_args.owner = owner ? owner->GetSafeHwnd() : nullptr;
    std::optional<std::string> chosen = Handler() ? Handler()(m_args) : afx::RunQtFileDialog(m_args, owner);
    m_path = chosen.value_or(std::string());
    return chosen ? IDOK : IDCANCEL;
}

CString CFileDialog::GetPathName() const {
    return CString(m_path);
}

namespace afx {
void SetFileDialogHandler(FileDialogHandler handler) {
    Handler() = std::move(handler);
}
} // namespace afx
