// Empty buffer and Save buffer: the terminal text as a whole.
#include <string>

#include "app/CDebugApp.h"
#include "app/CMainFrame.h"
#include "framework/dialogs/CFileDialog.h"
#include "framework/loop/MessageBox.h"
#include "platform/files/FileApi.h"
#include "serial/CSerialPort.h"

namespace {

// Writes all of `data`, continuing after a short write; FALSE (with the reason in GetLastErrorText)
// when the file stopped taking bytes.
BOOL WriteWhole(HANDLE file, const char* data, DWORD length, DWORD& written) {
    written = 0;
    while (written < length) {
        DWORD chunk = 0;
        if (!WriteFile(file, data + written, length - written, &chunk, nullptr))
            return FALSE;
        if (chunk == 0) {
            SetLastError(ERROR_WRITE_FAULT);
            return FALSE;
        }
        written += chunk;
    }
    return TRUE;
}

std::string Reason() {
    const char* text = GetLastErrorText();
    return text != nullptr && *text != '\0' ? text : "error " + std::to_string(GetLastError());
}

// Writes the text whole to a new file at `path`; what to tell the user when that failed, else empty.
// The path stays in the file system's own bytes, as the dialog gave it, and the message shows it so,
// which message boxes read as the system's text: a name in any script reads as it did in the dialog.
std::string SaveText(const std::string& path, const char* text, DWORD length) {
    HANDLE file =
        CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return "Can't save the buffer to " + path + ": " + Reason();
    DWORD written = 0;
    BOOL complete = WriteWhole(file, text, length, written);
    std::string reason = complete ? std::string() : Reason();
    // Network and FUSE file systems, and quotas, may report only at close that the data did not
    // make it: that is as much a failed save as a failed write.
    if (!CloseHandle(file) && complete) {
        complete = FALSE;
        reason = Reason() + " on closing the file";
    }
    if (complete)
        return {};
    return "Can't save all of the buffer to " + path + ": " + reason + " (" + std::to_string(written) + " of " +
           std::to_string(length) + " bytes written)";
}

} // namespace

void CMainFrame::OnEmptyBuffer() {
    m_wndTerminal.SetWindowText("");
}

void CMainFrame::OnSaveBuffer() {
    CDebugApp* app = GetDebugApp();
    std::string proposed = app && app->m_pPort ? app->m_pPort->GetName() : std::string();
    CFileDialog dialog(FALSE, "", proposed.c_str(), OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT,
                       "All Files|*.*|Text Files|*.txt||");
    if (dialog.DoModal() != IDOK)
        return;
    CString text;
    m_wndTerminal.GetWindowText(text);
    auto length = static_cast<DWORD>(m_wndTerminal.GetWindowTextLength());
    std::string failure = SaveText(dialog.GetPathName().str(), text.GetString(), length);
    if (!failure.empty())
        MessageBox(failure.c_str(), "Error", MB_OK);
}
