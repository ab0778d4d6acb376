// The file dialog: its arguments as a stand-in receives them, and Qt's real dialog driven from the
// keyboard offscreen.
#include <QAbstractButton>
#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

#include "framework/dialogs/CFileDialog.h"
#include "framework/loop/CWinApp.h"
#include "framework/window/CWnd.h"
#include "framework/loop/ModalScope.h"
#include "support/ShownWindow.h"

namespace {

constexpr LPCSTR kFilter = "All Files|*.*|Text Files|*.txt||";

class FileDialogTest : public ::testing::Test {
protected:
    void TearDown() override { afx::SetFileDialogHandler({}); }
};

TEST_F(FileDialogTest, CancelGivesNoPathAndMissingArgumentsStayMissing) {
    FileDialogArgs seen;
    afx::SetFileDialogHandler([&](const FileDialogArgs& args) -> std::optional<std::string> {
        seen = args;
        return std::nullopt;
    });
    CFileDialog dialog(TRUE);
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_TRUE(seen.openFileDialog);
    EXPECT_FALSE(seen.defaultExtension.has_value());
    EXPECT_FALSE(seen.fileName.has_value());
    EXPECT_EQ(seen.flags, static_cast<DWORD>(OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT));
    EXPECT_TRUE(seen.filters.empty());
    EXPECT_EQ(dialog.GetPathName(), "");
}

// Types `name` into the file name box and presses Enter, as a user does.
void TypeFileName(QFileDialog* dialog, const QString& name) {
    auto* edit = dialog->findChild<QLineEdit*>("fileNameEdit");
    ASSERT_NE(edit, nullptr);
    edit->setFocus();
    edit->setText(name);
    QTest::keyClick(edit, Qt::Key_Return);
}

// Runs `steps` inside the dialog's modal loop once the dialog is up; cancels a dialog left open.
int RunDialog(CFileDialog& dialog, const std::function<void(QFileDialog*)>& steps) {
    QTimer::singleShot(0, [&] {
        QFileDialog* shown = nullptr;
        EXPECT_TRUE(QTest::qWaitFor([&] { return (shown = Shown<QFileDialog>()) != nullptr; }, 3000));
        if (shown == nullptr)
            return;
        steps(shown);
        QTimer::singleShot(5000, shown, [shown] {
            ADD_FAILURE() << "the file dialog was left open";
            shown->reject();
        });
    });
    return dialog.DoModal();
}

class RealFileDialogTest : public FileDialogTest {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        QFile text(dir.filePath("notes.txt"));
        ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    }
    std::string Path(const char* name) const { return QFile::encodeName(dir.filePath(name)).toStdString(); }
    QTemporaryDir dir;
};

// The main window owns the dialog and is disabled while it runs; a typed path and Enter choose.
TEST_F(RealFileDialogTest, ATypedPathAndEnterChooseTheFileWhileTheMainWindowWaits) {
    CWinApp app;
    CWnd main;
    ASSERT_TRUE(main.CreateEx(0, nullptr, "main", WS_OVERLAPPEDWINDOW, CRect(0, 0, 300, 200), nullptr, 0));
    main.ShowWindow(SW_SHOW);
    app.m_pMainWnd = &main;
    std::string start = Path("COM1");
    CFileDialog dialog(FALSE, "", start.c_str(), OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, kFilter);
    int depth = 0;
    bool mainEnabled = true;
    QWidget* parent = nullptr;
    QStringList filters;
    QString selected;
    int result = RunDialog(dialog, [&](QFileDialog* shown) {
        depth = ModalScope::Depth();
        mainEnabled = main.IsWindowEnabled();
        parent = shown->parentWidget();
        filters = shown->nameFilters();
        selected = shown->selectedNameFilter();
        EXPECT_EQ(shown->findChild<QLineEdit*>("fileNameEdit")->text().toStdString(), "COM1");
        TypeFileName(shown, dir.filePath("capture.log"));
    });
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(dialog.GetPathName(), Path("capture.log"));
    EXPECT_FALSE(QFile::exists(dir.filePath("capture.log"))) << "choosing creates nothing";
    EXPECT_EQ(depth, 1);
    EXPECT_FALSE(mainEnabled);
    EXPECT_EQ(parent, main.GetWidget());
    EXPECT_TRUE(main.IsWindowEnabled());
    EXPECT_EQ(filters, QStringList({"All Files (*)", "Text Files (*.txt)"}));
    EXPECT_EQ(selected.toStdString(), "All Files (*)");
    app.m_pMainWnd = nullptr;
    main.DestroyWindow();
}

TEST_F(RealFileDialogTest, AnExistingFileIsReplacedOnlyAfterTheUserAgrees) {
    std::string start = Path("COM1");
    CFileDialog dialog(FALSE, "", start.c_str(), OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, kFilter);
    bool asked = false;
    int result = RunDialog(dialog, [&](QFileDialog* shown) {
        QTimer::singleShot(0, [&] {
            QMessageBox* box = nullptr;
            asked = QTest::qWaitFor([&] { return (box = Shown<QMessageBox>()) != nullptr; }, 3000);
            if (box)
                box->button(QMessageBox::Yes)->click();
        });
        TypeFileName(shown, dir.filePath("notes.txt"));
    });
    EXPECT_TRUE(asked);
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(dialog.GetPathName(), Path("notes.txt"));

    CFileDialog silent(FALSE, "", start.c_str(), OFN_HIDEREADONLY, kFilter);
    EXPECT_EQ(RunDialog(silent, [&](QFileDialog* shown) { TypeFileName(shown, dir.filePath("notes.txt")); }),
              IDOK);
    EXPECT_EQ(silent.GetPathName(), Path("notes.txt"));
}

TEST_F(RealFileDialogTest, ADefaultExtensionIsAddedOnlyWhenGiven) {
    CFileDialog plain(FALSE, "", nullptr, OFN_HIDEREADONLY, kFilter);
    RunDialog(plain, [&](QFileDialog* shown) { TypeFileName(shown, dir.filePath("capture")); });
    EXPECT_EQ(plain.GetPathName(), Path("capture"));

    CFileDialog withExtension(FALSE, "log", nullptr, OFN_HIDEREADONLY, kFilter);
    RunDialog(withExtension, [&](QFileDialog* shown) { TypeFileName(shown, dir.filePath("capture")); });
    EXPECT_EQ(withExtension.GetPathName(), Path("capture.log"));
}

} // namespace
