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

#include "framework/CString.h"
#include "framework/FileDialogArgs.h"

class CWnd;

inline constexpr DWORD OFN_READONLY = 0x00000001;
inline constexpr DWORD OFN_OVERWRITEPROMPT = 0x00000002;
inline constexpr DWORD OFN_HIDEREADONLY = 0x00000004;
inline constexpr DWORD OFN_NOCHANGEDIR = 0x00000008;
inline constexpr DWORD OFN_SHOWHELP = 0x00000010;
inline constexpr DWORD OFN_NOVALIDATE = 0x00000100;
inline constexpr DWORD OFN_ALLOWMULTISELECT = 0x00000200;
inline constexpr DWORD OFN_EXTENSIONDIFFERENT = 0x00000400;
inline constexpr DWORD OFN_PATHMUSTEXIST = 0x00000800;
inline constexpr DWORD OFN_FILEMUSTEXIST = 0x00001000;
inline constexpr DWORD OFN_CREATEPROMPT = 0x00002000;
inline constexpr DWORD OFN_NOREADONLYRETURN = 0x00008000;
inline constexpr DWORD OFN_EXPLORER = 0x00080000;

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
