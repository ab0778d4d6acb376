// Empty buffer and Save buffer on the whole program, with a stand-in for the save-file dialog.
#include <QAbstractButton>
#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include "AppHarness.h"
#include "framework/dialogs/CFileDialog.h"
#include "framework/loop/MessageBox.h"
#include "platform/files/FileHandle.h"
#include "support/SimulatedDevice.h"
#include "resources/ResourceIds.h"
#include "support/FileBytes.h"
#include "support/ShownWindow.h"

namespace {

using platform::SimulatedDevice;

// A file system that loses the data it was given and says so only when the file is closed, as NFS
// and FUSE file systems do; the descriptor is released all the same, as close() always does.
int g_closeErrno = 0;
int CloseThatFails(int fd) {
    close(fd);
    errno = g_closeErrno;
    return -1;
}

// "Ünïcødé-日本.txt" as the file system holds it (UTF-8).
const std::string kUnicodeName = "\xC3\x9Cn\xC3\xAF\x63\xC3\xB8\x64\xC3\xA9-\xE6\x97\xA5\xE6\x9C\xAC.txt";

class BufferCommandsTest : public testing::Test {
protected:
    void SetUp() override {
        harness.Start();
        afx::SetFileDialogHandler([this](const FileDialogArgs& args) {
            dialogs.push_back(args);
            return answer;
        });
    }
    void TearDown() override {
        afx::SetFileDialogHandler({});
        platform::FileHandle::SetCloseCall(nullptr);
    }
    void Save() { harness.Frame()->SendMessage(WM_COMMAND, ID_SAVE_BUFFER, 0); }
    void SaveTo(const std::string& path) {
        answer = path;
        Save();
    }
    void SetText(const std::string& text) {
        harness.Frame()->m_wndTerminal.SetText(text.data(), text.size());
    }
    std::string Path(const char* name) const { return (dir.path() + "/" + name).toStdString(); }

    AppHarness harness;
    QTemporaryDir dir;
    std::optional<std::string> answer; // the path chosen, or nothing for Cancel
    std::vector<FileDialogArgs> dialogs;
};

TEST_F(BufferCommandsTest, TheProposedNameIsTheNameGivenLastEvenAfterAFailedOpen) {
    answer.reset();
    SimulatedDevice::Register("COM7")->SetPresence(SimulatedDevice::Presence::Busy);
    SimulatedDevice::Register("COM8");
    harness.ChoosePort("COM8");
    harness.Port().Close();
    harness.Port().Open("COM7"); // in use elsewhere: fails, and the name stays
    Save();
    ASSERT_EQ(dialogs.size(), 1u);
    EXPECT_EQ(dialogs[0].fileName, std::optional<std::string>("COM7"));
}

TEST_F(BufferCommandsTest, AnEmptyTerminalGivesAnEmptyFileAndAnExistingFileIsReplaced) {
    WriteFileBytes(Path("old.txt"), "a much longer old content");
    SaveTo(Path("old.txt"));
    EXPECT_TRUE(std::filesystem::exists(Path("old.txt")));
    EXPECT_EQ(std::filesystem::file_size(Path("old.txt")), 0u);
    SaveTo(Path("new.txt"));
    EXPECT_TRUE(std::filesystem::exists(Path("new.txt")));
    SetText("xy");
    WriteFileBytes(Path("old.txt"), "0123456789");
    SaveTo(Path("old.txt"));
    EXPECT_EQ(ReadFileBytes(Path("old.txt")), "xy");
}

TEST_F(BufferCommandsTest, CancelTouchesNoFile) {
    SetText("text");
    WriteFileBytes(Path("keep.txt"), "kept");
    answer.reset();
    Save();
    EXPECT_EQ(ReadFileBytes(Path("keep.txt")), "kept");
}

TEST_F(BufferCommandsTest, ATargetThatCannotBeWrittenShowsAnErrorNamingTheFile) {
    SetText("text");
    SaveTo(dir.path().toStdString());
    ASSERT_EQ(harness.boxes.size(), 1u);
    EXPECT_EQ(harness.boxes[0].caption, "Error");
    EXPECT_NE(harness.boxes[0].text.find(dir.path().toStdString()), std::string::npos);
    EXPECT_NE(harness.boxes[0].text.find("directory"), std::string::npos) << harness.boxes[0].text;

    WriteFileBytes(Path("ro.txt"), "old");
    chmod(Path("ro.txt").c_str(), 0444);
    SaveTo(Path("ro.txt"));
    ASSERT_EQ(harness.boxes.size(), 2u);
    EXPECT_NE(harness.boxes[1].text.find(Path("ro.txt")), std::string::npos);
    EXPECT_EQ(ReadFileBytes(Path("ro.txt")), "old");
}

TEST_F(BufferCommandsTest, EmptyBufferClearsTheTextAndLeavesEverythingElse) {
    auto sim = SimulatedDevice::Register("COM7");
    harness.ChoosePort("COM7");
    sim->SetCts(true);
    harness.RunFor(40);
    SetText("some text");
    harness.Frame()->m_wndTerminal.m_bLocalEcho = 1;
    UINT ctsStyle = harness.PaneStyle(1);
    CString port = harness.PaneText(11);
    harness.Frame()->SendMessage(WM_COMMAND, ID_EMPTY_BUFFER, 0);
    EXPECT_EQ(harness.TerminalText(), "");
    EXPECT_EQ(harness.Port().GetState(), Idle);
    EXPECT_EQ(harness.Frame()->m_wndTerminal.m_bLocalEcho, 1);
    EXPECT_EQ(harness.PaneStyle(1), ctsStyle);
    EXPECT_EQ(harness.PaneText(11), port);
    sim->Inject("n");
    EXPECT_TRUE(harness.RunUntil([&] { return harness.TerminalText() == "n"; }));
}

// A file that stops taking bytes part way (the size limit: EFBIG) and a file system that reports at
// close that the data is lost both show the box with the path, the system's reason and the count.
TEST_F(BufferCommandsTest, AFailureAtWriteOrOnlyAtCloseShowsTheErrorBoxWithPathReasonAndCount) {
    SetText(std::string(5000, 'x'));
    const std::string path = Path(kUnicodeName.c_str());
    const std::string prefix = "Can't save all of the buffer to " + path + ": ";

    rlimit limit{};
    getrlimit(RLIMIT_FSIZE, &limit);
    rlimit small = limit;
    small.rlim_cur = 1000;
    auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    setrlimit(RLIMIT_FSIZE, &small);
    SaveTo(path);
    setrlimit(RLIMIT_FSIZE, &limit);
    std::signal(SIGXFSZ, oldHandler);
    ASSERT_EQ(harness.boxes.size(), 1u);
    EXPECT_EQ(harness.boxes[0].caption, "Error");
    EXPECT_EQ(harness.boxes[0].text, prefix + std::strerror(EFBIG) + " (1000 of 5000 bytes written)");

    platform::FileHandle::SetCloseCall(CloseThatFails);
    for (int error : {EIO, EDQUOT, ENOSPC}) {
        g_closeErrno = error;
        harness.boxes.clear();
        SaveTo(path);
        ASSERT_EQ(harness.boxes.size(), 1u) << std::strerror(error);
        EXPECT_EQ(harness.boxes[0].caption, "Error");
        EXPECT_EQ(harness.boxes[0].owner, harness.Frame()->GetSafeHwnd());
        EXPECT_EQ(harness.boxes[0].text,
                  prefix + std::strerror(error) + " on closing the file (5000 of 5000 bytes written)");
    }
    // A failing close never hides a failed write, which came first and says more.
    small.rlim_cur = 10;
    oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    setrlimit(RLIMIT_FSIZE, &small);
    harness.boxes.clear();
    SaveTo(path);
    setrlimit(RLIMIT_FSIZE, &limit);
    std::signal(SIGXFSZ, oldHandler);
    ASSERT_EQ(harness.boxes.size(), 1u);
    EXPECT_EQ(harness.boxes[0].text, prefix + std::strerror(EFBIG) + " (10 of 5000 bytes written)");
}

// The real dialog and the real box: a name typed in any script names the file created and reads
// the same in the box.
TEST_F(BufferCommandsTest, AUnicodeNameChosenInTheDialogReadsTheSameInTheErrorBox) {
    SetText("text");
    afx::SetFileDialogHandler({});
    afx::SetMessageBoxHandler({});
    platform::FileHandle::SetCloseCall(CloseThatFails);
    g_closeErrno = EIO;
    const QString typed = dir.path() + QString::fromUtf8("/\u00DCn\u00EFc\u00F8d\u00E9-\u65E5\u672C.txt");
    QString shown;
    QTimer guard; // a step that failed must not leave the test waiting in a modal loop
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, [] {
        ADD_FAILURE() << "a dialog or box was left open";
        if (auto* box = Shown<QMessageBox>())
            box->reject();
        if (auto* dialog = Shown<QFileDialog>())
            dialog->reject();
    });
    guard.start(10000);
    QTimer::singleShot(0, [&] {
        QFileDialog* dialog = nullptr;
        ASSERT_TRUE(QTest::qWaitFor([&] { return (dialog = Shown<QFileDialog>()) != nullptr; }, 3000));
        auto* edit = dialog->findChild<QLineEdit*>("fileNameEdit");
        ASSERT_NE(edit, nullptr);
        edit->setText(typed);
        QTimer::singleShot(0, [&] {
            QMessageBox* box = nullptr;
            ASSERT_TRUE(QTest::qWaitFor([&] { return (box = Shown<QMessageBox>()) != nullptr; }, 3000));
            shown = box->text();
            box->button(QMessageBox::Ok)->click();
        });
        QTest::keyClick(edit, Qt::Key_Return);
    });
    Save();
    EXPECT_TRUE(std::filesystem::exists(Path(kUnicodeName.c_str())));
    EXPECT_EQ(ReadFileBytes(Path(kUnicodeName.c_str())), "text");
    const QString wanted = "Can't save all of the buffer to " + typed + ": " +
                           QString::fromLocal8Bit(std::strerror(EIO)) +
                           " on closing the file (4 of 4 bytes written)";
    EXPECT_EQ(shown.toStdString(), wanted.toStdString());
}

} // namespace
