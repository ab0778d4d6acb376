// Empty buffer and Save buffer on the whole program, with a stand-in for the save-file dialog.
#include <QTemporaryDir>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "AppHarness.h"
#include "framework/CFileDialog.h"
#include "platform/SimulatedDevice.h"
#include "resources/ResourceIds.h"

namespace {

using platform::SimulatedDevice;

std::string ReadFileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void WriteFileBytes(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

class BufferCommandsTest : public testing::Test {
protected:
    void SetUp() override {
        harness.Start();
        afx::SetFileDialogHandler([this](const FileDialogArgs& args) {
            dialogs.push_back(args);
            return answer;
        });
    }
    void TearDown() override { afx::SetFileDialogHandler({}); }
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

TEST_F(BufferCommandsTest, TheDialogIsASaveDialogWithTheStatedChoices) {
    answer.reset();
    Save();
    ASSERT_EQ(dialogs.size(), 1u);
    const FileDialogArgs& args = dialogs[0];
    EXPECT_FALSE(args.openFileDialog);
    EXPECT_EQ(args.defaultExtension, std::optional<std::string>(""));
    EXPECT_EQ(args.fileName, std::optional<std::string>(""));
    EXPECT_EQ(args.flags, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT);
    ASSERT_EQ(args.filters.size(), 2u);
    EXPECT_EQ(args.filters[0].name, "All Files");
    EXPECT_EQ(args.filters[0].patterns, "*.*");
    EXPECT_EQ(args.filters[1].name, "Text Files");
    EXPECT_EQ(args.filters[1].patterns, "*.txt");
    EXPECT_EQ(args.selectedFilter, 0);
}

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

TEST_F(BufferCommandsTest, TheFileHoldsTheTextByteForByte) {
    SetText("ab\r\ncd");
    SaveTo(Path("two.txt"));
    EXPECT_EQ(ReadFileBytes(Path("two.txt")), "ab\r\ncd");
    std::string every;
    for (int b = 0; b < 256; ++b)
        every += static_cast<char>(b);
    SetText(every);
    SaveTo(Path("all.bin"));
    EXPECT_EQ(ReadFileBytes(Path("all.bin")), every);
    EXPECT_TRUE(harness.boxes.empty());
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

} // namespace
