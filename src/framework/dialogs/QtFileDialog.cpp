#include "framework/dialogs/QtFileDialog.h"

#include <QFile>
#include <QFileDialog>

#include "framework/loop/ModalOwner.h"
#include "framework/loop/ModalScope.h"

namespace {

// File names are bytes on Linux: they go to and from Qt in the file system's encoding, so that any
// existing name can be chosen and is returned exactly.
QString FromPath(const std::string& path) {
    return QFile::decodeName(QByteArray(path.data(), static_cast<qsizetype>(path.size())));
}

std::string ToPath(const QString& path) {
    QByteArray bytes = QFile::encodeName(path);
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

void ConfigureMode(QFileDialog& dialog, const FileDialogArgs& args) {
    if (!args.openFileDialog) {
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        dialog.setWindowTitle(QStringLiteral("Save As"));
        dialog.setOption(QFileDialog::DontConfirmOverwrite, (args.flags & OFN_OVERWRITEPROMPT) == 0);
        return;
    }
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setWindowTitle(QStringLiteral("Open"));
    if ((args.flags & OFN_ALLOWMULTISELECT) != 0)
        dialog.setFileMode(QFileDialog::ExistingFiles);
    else
        dialog.setFileMode((args.flags & OFN_FILEMUSTEXIST) != 0 ? QFileDialog::ExistingFile
                                                                 : QFileDialog::AnyFile);
}

void ConfigureNames(QFileDialog& dialog, const FileDialogArgs& args) {
    if (!args.filters.empty()) {
        QStringList filters;
        for (const FileDialogArgs::Filter& filter : args.filters)
            filters << QString::fromLatin1(filter.qtFilter.c_str());
        dialog.setNameFilters(filters);
        dialog.selectNameFilter(filters.value(args.selectedFilter));
    }
    std::string extension = args.defaultExtension.value_or("");
    if (extension.starts_with('.'))
        extension.erase(0, 1);
    if (!extension.empty())
        dialog.setDefaultSuffix(FromPath(extension));
    if (args.fileName && !args.fileName->empty())
        dialog.selectFile(FromPath(*args.fileName));
}

} // namespace

namespace afx {

std::optional<std::string> RunQtFileDialog(const FileDialogArgs& args, CWnd* owner) {
    ModalScope modal;
    ModalOwner ownerWindow(owner);
    QFileDialog dialog(ownerWindow.Widget());
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    ConfigureMode(dialog, args);
    ConfigureNames(dialog, args);
    // Disabling the owner beforehand must not leave its dialog disabled with it.
    dialog.setEnabled(true);
    bool accepted = dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty();
    std::optional<std::string> result;
    if (accepted)
        result = ToPath(dialog.selectedFiles().first());
    dialog.hide();
    ownerWindow.Restore();
    return result;
}

} // namespace afx
