#pragma once
// The real file dialog behind CFileDialog: Qt's own, not the desktop's, so that it behaves the same
// everywhere and can be driven from the keyboard alone (a path typed into the file name box and
// Enter choose it). It runs inside a modal loop, owned by `owner`'s window (disabled meanwhile).

#include <optional>
#include <string>

#include "framework/dialogs/FileDialogArgs.h"

class CWnd;

namespace afx {
// The chosen path (in the file system's own bytes), or nothing when the dialog was cancelled.
std::optional<std::string> RunQtFileDialog(const FileDialogArgs& args, CWnd* owner);
} // namespace afx
