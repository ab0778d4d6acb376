#pragma once
// The save-file and open-file dialog. DoModal runs Qt's own (non-native) file dialog, so that it
// looks and behaves the same under any desktop, inside a modal loop and owned by the parent or the
// application's main window, which stays disabled while it runs. Tests replace it with a handler.
//
// The filter "All Files|*.*|Text Files|*.txt||" lists name and patterns in pairs; the first filter is
// selected when the dialog opens. A non-empty default extension is added to a typed name that has
// none. OFN_OVERWRITEPROMPT asks before an existing file is chosen for saving; in open mode
// OFN_FILEMUSTEXIST only lets an existing file be chosen and OFN_ALLOWMULTISELECT several.
// The read-only check box (OFN_READONLY, OFN_HIDEREADONLY) has no counterpart and is never shown.

#include <functional>
#include <optional>
#include <string>

#include "framework/base/CString.h"
#include "framework/dialogs/FileDialogArgs.h"

class CWnd;

class CFileDialog {
public:
    explicit CFileDialog(BOOL openFileDialog, LPCSTR defExt = nullptr, LPCSTR fileName = nullptr,
                         DWORD flags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, LPCSTR filter = nullptr,
                         CWnd* parent = nullptr);
    CFileDialog(const CFileDialog&) = delete;
    CFileDialog& operator=(const CFileDialog&) = delete;

    // IDOK or IDCANCEL.
    int DoModal();

    // The full path as chosen, unchanged; empty before OK.
    CString GetPathName() const;

    const FileDialogArgs& Args() const { return m_args; }

private:
    FileDialogArgs m_args;
    CWnd* m_pParentWnd;
    std::string m_path;
};

namespace afx {
// Stands in for the dialog: the chosen path for OK, nothing for Cancel.
using FileDialogHandler = std::function<std::optional<std::string>(const FileDialogArgs& args)>;
// Installs a handler that stands in for every file dialog; an empty handler restores the real one.
void SetFileDialogHandler(FileDialogHandler handler);
} // namespace afx
