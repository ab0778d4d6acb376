// Menu 101 and accelerator table 104, as a frame built from them presents them.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QMenu>
#include <QMenuBar>
#include <vector>

#include "framework/CFrameWnd.h"
#include "framework/MenuBuilder.h"
#include "framework/ResourceTable.h"
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

struct Item {
    const char* text; // null for a separator
    UINT command;
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

TEST_F(MainMenuTest, PopupsAndItemsCarryTheirTextsAndCommands) {
    const std::vector<std::pair<const char*, std::vector<Item>>> expected = {
        {"File",
         {{"Empty buffer\tCtrl+E", ID_EMPTY_BUFFER},
          {"Save buffer\tCtrl+S", ID_SAVE_BUFFER},
          {nullptr, 0},
          {"Port settings ...", ID_PORT_SETTINGS},
          {"Terminal Settings ...", ID_TERMINAL_SETTINGS},
          {nullptr, 0},
          {"Exit", 57665}}},
        {"Driver", {{"Toggle DTR\tCtrl+D", ID_TOGGLE_DTR}, {"Toggle RTS\tCtrl+R", ID_TOGGLE_RTS}}},
        {"System", {{"Info\tCtrl + I", ID_SYSTEM_INFO}}},
        {"Help", {{"About...", 57664}}},
    };
    ASSERT_EQ(frame->GetMenuBar()->actions().size(), static_cast<qsizetype>(expected.size()));
    for (std::size_t p = 0; p < expected.size(); ++p) {
        SCOPED_TRACE(expected[p].first);
        EXPECT_EQ(frame->GetMenuBar()->actions().at(static_cast<int>(p))->text(), expected[p].first);
        QList<QAction*> actions = Popup(static_cast<int>(p))->actions();
        ASSERT_EQ(actions.size(), static_cast<qsizetype>(expected[p].second.size()));
        for (int i = 0; i < actions.size(); ++i) {
            const Item& item = expected[p].second[static_cast<std::size_t>(i)];
            QAction* action = actions[i];
            SCOPED_TRACE(i);
            EXPECT_EQ(action->isSeparator(), item.text == nullptr);
            if (item.text == nullptr)
                continue;
            EXPECT_EQ(action->text(), item.text);
            EXPECT_EQ(MenuBuilder::CommandOf(action), item.command);
            EXPECT_TRUE(action->isEnabled());
            EXPECT_FALSE(action->isCheckable());
            EXPECT_TRUE(action->shortcut().isEmpty());
        }
    }
}

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
