#pragma once
// What a file dialog is asked for: the arguments of CFileDialog as the dialog (or a test standing in
// for it) receives them, with the filter string already parsed.

#include <optional>
#include <string>
#include <vector>

#include "framework/base/WinUser.h"

// The flags a file dialog takes.
inline constexpr DWORD OFN_OVERWRITEPROMPT = 0x00000002;
inline constexpr DWORD OFN_HIDEREADONLY = 0x00000004;
inline constexpr DWORD OFN_ALLOWMULTISELECT = 0x00000200;
inline constexpr DWORD OFN_FILEMUSTEXIST = 0x00001000;

struct FileDialogArgs {
    struct Filter {
        std::string name;     // "Text Files"
        std::string patterns; // as the program gave them, ";" between patterns: "*.txt"
        std::string qtFilter; // the filter as Qt's dialog takes it: "Text Files (*.txt)"
    };

    bool openFileDialog = false;
    std::optional<std::string> defaultExtension; // absent for a null argument; may be empty
    std::optional<std::string> fileName;         // the initial text of the file name box
    DWORD flags = 0;
    std::vector<Filter> filters;
    int selectedFilter = 0; // index into `filters`, which is chosen when the dialog opens
    HWND owner = nullptr;
};

namespace afx {

// Parses "Name|patterns|Name|patterns||" into its filters; it stops at the first empty name or
// pattern list. A missing or empty string gives no filters. Patterns are separated by ";". On Linux
// "*.*" would only match names with a dot, while it means "every file": it becomes "*" in the Qt
// filter.
std::vector<FileDialogArgs::Filter> ParseFileDialogFilter(LPCSTR filter);

} // namespace afx
