// A line that talks while the window is busy: a dialog held open, a handler that stalls. The line
// never waits for the program (the feed drops what the pty refuses), and the program must lose
// nothing of it: once the window is free again, every byte is in the terminal, in order.
#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>
#include <optional>
#include <thread>
#include <unistd.h>

#include "AppHarness.h"
#include "support/RunSeed.h"
#include "framework/dialogs/CFileDialog.h"
#include "framework/loop/MessageBox.h"
#include "framework/window/WndWidget.h"
#include "platform/ports/DeviceDirectory.h"
#include "platform/tty/PtyPair.h"
#include "resources/ResourceIds.h"
#include "support/LossyLine.h"
#include "support/RunSeed.h"

namespace {

// Whatever modal window is up when the time comes is answered as a user would: a file dialog
// with a file name, a message box or one of the program's dialogs with OK.
void AnswerModalAfter(int milliseconds, const std::string& path) {
    QTimer::singleShot(milliseconds, [path] {
        QWidget* modal = QApplication::activeModalWidget();
        if (auto* files = qobject_cast<QFileDialog*>(modal)) {
            files->selectFile(QString::fromStdString(path));
            static_cast<QDialog*>(files)->accept(); // as its Save button does
        } else if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            box->accept();
        } else if (auto* bridge = modal ? WndWidgetBase::FromWidget(modal) : nullptr) {
            AppHarness::Press(*dynamic_cast<CDialog*>(bridge->Owner()), IDOK);
        } else {
            ADD_FAILURE() << "no modal window was up";
        }
    });
}

class BusyWindowTest : public testing::Test {
protected:
    void SetUp() override {
        keptDirectory = platform::DeviceDirectory();
        ASSERT_TRUE(pty.Ok() && devices.isValid() && files.isValid());
        const std::string node = devices.path().toStdString() + "/ttyUSB0";
        ASSERT_EQ(symlink(pty.SlavePath().c_str(), node.c_str()), 0);
        platform::SetDeviceDirectory(devices.path().toStdString());
        harness.Start([](CDialog& d) {
            AppHarness::Choose(d, IDC_PORT, "COM33");
            AppHarness::Press(d, IDOK);
        });
        ASSERT_EQ(harness.Port().GetState(), Idle);
    }
    void TearDown() override {
        afx::SetFileDialogHandler({});
        platform::SetDeviceDirectory(keptDirectory);
    }

    // Feeds lines for `seconds` at `bytesPerSecond` and runs `busy` (on the window's thread) a
    // moment after the feed starts; then every byte the line took must reach the terminal.
    void FeedWhile(double bytesPerSecond, double seconds, const std::function<void()>& busy) {
        const std::uint64_t seed = RunSeed();
        SCOPED_TRACE(SeedNote(seed));
        LossyLine line(pty.Master(), LossyLine::Lines(static_cast<std::size_t>(bytesPerSecond * seconds), seed),
                       bytesPerSecond, seed);
        harness.RunFor(200);
        busy();
        harness.RunUntil([&] { return line.Done(); }, static_cast<int>(seconds * 1000) + 5000);
        harness.RunUntil([&] { return harness.TerminalLength() >= line.Delivered().size(); }, 20000);
        EXPECT_EQ(line.Dropped(), 0u) << "bytes the line could not deliver while the window was busy";
        EXPECT_EQ(harness.TerminalText().size(), line.Offered().size());
        EXPECT_TRUE(harness.TerminalText() == line.Offered()) << "the terminal's text is not the feed, in order";
    }

    // The command's dialog stays open for `holdMs`.
    void HoldDialog(UINT command, int holdMs) {
        AnswerModalAfter(holdMs, files.filePath("saved.txt").toStdString());
        harness.Frame()->SendMessage(WM_COMMAND, command, 0);
    }

    std::string keptDirectory;
    PtyPair pty;
    QTemporaryDir devices;
    QTemporaryDir files;
    AppHarness harness;
};

struct Held {
    const char* name;
    UINT command;
    bool failingSave; // the save dialog is answered at once with a file that cannot be made
};

const Held kDialogs[] = {
    {"SaveDialog", ID_SAVE_BUFFER, false},
    {"ErrorBox", ID_SAVE_BUFFER, true},
    {"AboutBox", ID_APP_ABOUT, false},
    {"OptionsDialog", ID_TERMINAL_SETTINGS, false},
};

struct Line {
    double baud;
    int holdMs;
};

class DialogHeldOpen : public BusyWindowTest, public testing::WithParamInterface<std::tuple<Held, Line>> {};

TEST_P(DialogHeldOpen, LosesNothingOfWhatTheLineSends) {
    const auto [held, line] = GetParam();
    if (held.failingSave) {
        afx::SetFileDialogHandler([](const FileDialogArgs&) {
            return std::optional<std::string>("/nonexistent/martool-test/saved.txt");
        });
        afx::SetMessageBoxHandler({}); // the real box, held open
    }
    FeedWhile(LossyLine::Pace(line.baud), line.holdMs / 1000.0 + 1.0, [&] { HoldDialog(held.command, line.holdMs); });
}

INSTANTIATE_TEST_SUITE_P(Dialogs, DialogHeldOpen,
                         testing::Combine(testing::ValuesIn(kDialogs),
                                          testing::Values(Line{115200, 10000}, Line{3000000, 1000})),
                         [](const testing::TestParamInfo<std::tuple<Held, Line>>& p) {
                             return std::string(std::get<0>(p.param).name) +
                                    (std::get<1>(p.param).baud > 1e6 ? "At3Mbaud" : "At115200");
                         });

TEST_F(BusyWindowTest, AStalledHandlerLosesNothingAtAMegabyteASecond) {
    FeedWhile(1e6, 1.5, [] {
        QTimer::singleShot(0, [] { std::this_thread::sleep_for(std::chrono::milliseconds(500)); });
    });
}

} // namespace
