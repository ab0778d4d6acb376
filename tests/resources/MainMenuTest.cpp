// Accelerator table 104 and the shortcuts menu 101 shows, as a frame built from them presents them
// (the whole program's main frame test checks the menu's items).
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QMenu>
#include <QMenuBar>
#include <vector>

#include "framework/frame/CFrameWnd.h"
#include "framework/frame/MenuBuilder.h"
#include "framework/base/ResourceTable.h"
#include "resources/ProgramResources.h"
#include "resources/ResourceIds.h"

using framework::MenuBuilder;

namespace {

// A frame that records every command that reaches it.
class RecordingFrame : public CFrameWnd {
public:
    BOOL OnCmdMsg(UINT id) override {
        commands.push_back(id);
        return TRUE;
    }
    std::vector<UINT> commands;
};

class MainMenuTest : public ::testing::Test {
protected:
    void SetUp() override {
        resources::RegisterMenuAndAccelerators();
        frame = new RecordingFrame;
        ASSERT_TRUE(frame->Create(nullptr, "Marloven Debug Utility", WS_OVERLAPPEDWINDOW,
                                  CFrameWnd::rectDefault, nullptr, IDR_MAINFRAME));
        ASSERT_TRUE(frame->LoadAccelTable(IDR_ACCELERATORS));
    }
    void TearDown() override {
        frame->DestroyWindow();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    QMenu* Popup(int index) const { return frame->GetMenuBar()->actions().at(index)->menu(); }

    RecordingFrame* frame = nullptr;
};

TEST_F(MainMenuTest, TheFiveCtrlKeysAreTheFrameCommandsAndNothingElseIs) {
    struct Key {
        char key;
        UINT command;
    };
    for (Key k : {Key{'D', ID_TOGGLE_DTR}, Key{'E', ID_EMPTY_BUFFER}, Key{'I', ID_SYSTEM_INFO},
                  Key{'R', ID_TOGGLE_RTS}, Key{'S', ID_SAVE_BUFFER}}) {
        SCOPED_TRACE(k.key);
        frame->commands.clear();
        EXPECT_TRUE(frame->TranslateKey(static_cast<UINT>(k.key), TRUE, FALSE, FALSE));
        EXPECT_EQ(frame->commands, std::vector<UINT>{k.command});
        EXPECT_FALSE(frame->TranslateKey(static_cast<UINT>(k.key), FALSE, FALSE, FALSE)) << "Ctrl is needed";
    }
    for (char other : {'A', 'C', 'Q', 'V', 'X', 'Z'})
        EXPECT_FALSE(frame->TranslateKey(static_cast<UINT>(other), TRUE, FALSE, FALSE)) << other;
    const AcceleratorResource* table = afx::FindAccelerators(IDR_ACCELERATORS);
    ASSERT_NE(table, nullptr);
    ASSERT_EQ(table->entries.size(), 5u);
    for (const ACCEL& entry : table->entries)
        EXPECT_EQ(entry.fVirt, FVIRTKEY | FCONTROL | FNOINVERT)
            << "virtual keys, Ctrl only, no menu highlight";
}

TEST_F(MainMenuTest, TheShortcutShownBesideAnItemIsTheKeyThatRunsIt) {
    const AcceleratorResource* table = afx::FindAccelerators(IDR_ACCELERATORS);
    ASSERT_NE(table, nullptr);
    int shown = 0;
    for (int p = 0; p < 4; ++p) {
        for (QAction* action : Popup(p)->actions()) {
            QString text = action->text();
            if (!text.contains('\t'))
                continue;
            ++shown;
            QString shortcut = text.section('\t', 1).remove(' ');
            ASSERT_TRUE(shortcut.startsWith("Ctrl+")) << text.toStdString();
            UINT key = shortcut.back().toLatin1();
            auto entry = std::find_if(table->entries.begin(), table->entries.end(),
                                      [&](const ACCEL& a) { return a.key == key; });
            ASSERT_NE(entry, table->entries.end()) << text.toStdString();
            EXPECT_EQ(entry->cmd, MenuBuilder::CommandOf(action)) << text.toStdString();
        }
    }
    EXPECT_EQ(shown, 5);
}

} // namespace
