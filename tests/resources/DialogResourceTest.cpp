// Dialog templates 103 (terminal options) and 130 (port settings): their data as the tables give it,
// and the dialogs that the framework builds from them.
#include <QApplication>
#include <QTest>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "framework/controls/CComboBox.h"
#include "framework/dialogs/CDialog.h"
#include "framework/base/ResourceTable.h"
#include "framework/window/WindowTable.h"
#include "resources/ProgramResources.h"
#include "resources/ResourceIds.h"

namespace {

constexpr DWORD kVisibleChild = WS_CHILD | WS_VISIBLE;

struct Expected {
    const char* className;
    const char* text;
    int id;
    short x, y, cx, cy;
    DWORD style;
};

void ExpectItems(const DialogTemplate& dialog, const std::vector<Expected>& expected) {
    ASSERT_EQ(dialog.items.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE("control " + std::to_string(i + 1) + " " + expected[i].text);
        const DialogItemTemplate& item = dialog.items[i];
        EXPECT_EQ(item.className, expected[i].className);
        EXPECT_EQ(item.text, expected[i].text);
        EXPECT_EQ(item.id, expected[i].id);
        EXPECT_EQ((std::vector<short>{item.x, item.y, item.cx, item.cy}),
                  (std::vector<short>{expected[i].x, expected[i].y, expected[i].cx, expected[i].cy}));
        EXPECT_EQ(item.style, expected[i].style) << std::hex << item.style << " " << expected[i].style;
        EXPECT_EQ(item.exStyle, 0u);
    }
}

// Runs the dialog on `templateId` modally; `whileOpen` runs inside its modal loop.
INT_PTR RunModal(CDialog& dialog, const std::function<void()>& whileOpen) {
    QTimer::singleShot(0, [&] {
        EXPECT_TRUE(QTest::qWaitForWindowActive(dialog.GetWidget(), 2000));
        whileOpen();
        dialog.EndDialog(IDCANCEL);
    });
    return dialog.DoModal();
}

std::string Text(const CWnd& wnd) {
    CString text;
    wnd.GetWindowText(text);
    return text.str();
}

// The control with the focus, then after each press of Tab.
std::vector<int> TabOrder(int presses) {
    std::vector<int> order;
    for (int i = 0; i < presses; ++i) {
        order.push_back(CWnd::GetFocus() ? CWnd::GetFocus()->GetDlgCtrlID() : 0);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    return order;
}

TEST(TerminalOptionsTemplate, HasTheTablesWindowAndControls) {
    resources::RegisterTerminalOptionsDialog();
    const DialogTemplate* dialog = afx::FindDialog(IDD_TERMINAL_OPTIONS);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->style, 0x80C800C4u);
    EXPECT_EQ(dialog->exStyle, 0x280u);
    EXPECT_EQ(dialog->cx, 210);
    EXPECT_EQ(dialog->cy, 125);
    EXPECT_EQ(dialog->title, "Terminal Options");
    EXPECT_EQ(dialog->fontFace, "MS Sans Serif");
    EXPECT_EQ(dialog->pointSize, 8);
    EXPECT_TRUE(dialog->initData.empty());
    constexpr DWORD check = kVisibleChild | BS_AUTOCHECKBOX;
    constexpr DWORD group = kVisibleChild | BS_GROUPBOX;
    ExpectItems(*dialog,
                {
                    {"BUTTON", "OK", 1, 7, 104, 95, 14, kVisibleChild | BS_DEFPUSHBUTTON | WS_TABSTOP},
                    {"BUTTON", "Cancel", 2, 104, 104, 99, 14, kVisibleChild | BS_PUSHBUTTON | WS_TABSTOP},
                    {"BUTTON", "&TTY Options:", -1, 7, 13, 196, 88, group},
                    {"BUTTON", "Autowrap long lines", 552, 18, 33, 81, 10, check | WS_TABSTOP},
                    {"BUTTON", "Send CR only (NO LF)", 553, 18, 43, 94, 10, check},
                    {"BUTTON", "Enable local echo", 554, 18, 53, 83, 10, check},
                    {"BUTTON", "Transmitter options", -1, 13, 24, 183, 42, group},
                    {"BUTTON", "Filter LF", 556, 18, 80, 71, 10, check},
                    {"BUTTON", "Receiver options", -1, 13, 69, 183, 26, group},
                });
}

TEST(PortSettingsTemplate, HasTheTablesWindowControlsAndLists) {
    resources::RegisterPortSettingsDialog();
    const DialogTemplate* dialog = afx::FindDialog(IDD_PORT_SETTINGS);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->style, 0x80C800C0u);
    EXPECT_EQ(dialog->exStyle, static_cast<DWORD>(WS_EX_TOOLWINDOW | WS_EX_CLIENTEDGE));
    EXPECT_EQ(dialog->cx, 196);
    EXPECT_EQ(dialog->cy, 165);
    EXPECT_EQ(dialog->title, "Select Serial Port");
    EXPECT_EQ(dialog->fontFace, "MS Sans Serif");
    EXPECT_EQ(dialog->pointSize, 8);
    constexpr DWORD list =
        kVisibleChild | CBS_DROPDOWNLIST | CBS_HASSTRINGS | WS_VSCROLL | WS_TABSTOP | WS_GROUP;
    constexpr DWORD check = kVisibleChild | BS_AUTOCHECKBOX | WS_TABSTOP | WS_GROUP;
    constexpr DWORD right = kVisibleChild | SS_RIGHT;
    ExpectItems(*dialog,
                {
                    {"BUTTON", "&COM Options:", -1, 7, 13, 181, 123, kVisibleChild | BS_GROUPBOX},
                    {"STATIC", "&Port:", -1, 14, 30, 40, 10, right},
                    {"COMBOBOX", "", 544, 59, 28, 55, 76, list | CBS_UPPERCASE},
                    {"STATIC", "&Baud Rate:", -1, 14, 51, 40, 10, right},
                    {"COMBOBOX", "", 545, 59, 49, 55, 76, list},
                    {"STATIC", "&Data Bits:", -1, 14, 72, 40, 10, right},
                    {"COMBOBOX", "", 546, 59, 70, 55, 66, list},
                    {"STATIC", "P&arity:", -1, 14, 93, 40, 10, right},
                    {"COMBOBOX", "", 547, 59, 91, 55, 64, list},
                    {"STATIC", "&Stop Bits:", -1, 14, 114, 40, 10, right},
                    {"COMBOBOX", "", 548, 59, 112, 55, 80, list},
                    {"STATIC", "F&low:", -1, 125, 27, 40, 10, kVisibleChild | SS_LEFT},
                    {"BUTTON", "DTR/DSR", 549, 125, 38, 50, 10, check},
                    {"BUTTON", "RTS/CTS", 550, 125, 49, 50, 10, check},
                    {"BUTTON", "XON/XOFF", 551, 125, 60, 57, 10, check},
                    {"BUTTON", "Ok", 1, 7, 142, 90, 13, kVisibleChild | BS_DEFPUSHBUTTON | WS_TABSTOP},
                    {"BUTTON", "Cancel", 2, 98, 142, 90, 13, kVisibleChild | BS_PUSHBUTTON | WS_TABSTOP},
                });
    std::vector<std::pair<int, std::vector<std::string>>> lists;
    for (const DialogInitEntry& entry : dialog->initData)
        if (!entry.strings.empty())
            lists.emplace_back(entry.controlId, entry.strings);
    EXPECT_EQ(lists, (std::vector<std::pair<int, std::vector<std::string>>>{
                         {545,
                          {"110", "300", "1200", "2400", "4800", "9600", "19200", "38400", "57600", "115200",
                           "230000", "460800", "921600"}},
                         {546, {"4", "5", "6", "7", "8"}},
                         {547, {"Even", "Odd", "None", "Mark", "Space"}},
                         {548, {"1", "1.5", "2"}},
                     }));
}

TEST(TerminalOptionsTemplate, BuildsTheDialogWithItsControlsInOrder) {
    resources::RegisterTerminalOptionsDialog();
    CDialog dialog(IDD_TERMINAL_OPTIONS);
    std::vector<std::pair<int, std::string>> controls;
    std::vector<int> tabs;
    std::string title;
    RunModal(dialog, [&] {
        title = dialog.GetWidget()->windowTitle().toStdString();
        EXPECT_TRUE(dialog.GetWidget()->windowFlags().testFlag(Qt::Tool));
        for (CWnd* child : afx::ChildrenOf(&dialog))
            controls.emplace_back(child->GetDlgCtrlID(), Text(*child));
        tabs = TabOrder(4);
    });
    EXPECT_EQ(title, "Terminal Options");
    EXPECT_EQ(controls, (std::vector<std::pair<int, std::string>>{{1, "OK"},
                                                                  {2, "Cancel"},
                                                                  {-1, "&TTY Options:"},
                                                                  {552, "Autowrap long lines"},
                                                                  {553, "Send CR only (NO LF)"},
                                                                  {554, "Enable local echo"},
                                                                  {-1, "Transmitter options"},
                                                                  {556, "Filter LF"},
                                                                  {-1, "Receiver options"}}));
    // Tab visits OK, Cancel and the first check box only.
    EXPECT_EQ(tabs, (std::vector<int>{1, 2, 552, 1}));
}

TEST(PortSettingsTemplate, BuildsTheDialogWithItsListsFilledAndTheFirstListFocused) {
    resources::RegisterPortSettingsDialog();
    CDialog dialog(IDD_PORT_SETTINGS);
    std::vector<int> counts;
    std::string eleventhBaud, title;
    std::vector<int> tabs;
    RunModal(dialog, [&] {
        title = dialog.GetWidget()->windowTitle().toStdString();
        for (int id : {544, 545, 546, 547, 548})
            counts.push_back(static_cast<CComboBox*>(dialog.GetDlgItem(id))->GetCount());
        CString text;
        static_cast<CComboBox*>(dialog.GetDlgItem(545))->GetLBText(10, text);
        eleventhBaud = text.str();
        auto* ports = static_cast<CComboBox*>(dialog.GetDlgItem(544));
        ports->AddString("com7");
        ports->SetCurSel(0);
        EXPECT_EQ(Text(*ports), "COM7");
        tabs = TabOrder(10);
    });
    EXPECT_EQ(title, "Select Serial Port");
    EXPECT_EQ(counts, (std::vector<int>{0, 13, 5, 5, 3}));
    EXPECT_EQ(eleventhBaud, "230000");
    EXPECT_EQ(tabs, (std::vector<int>{544, 545, 546, 547, 548, 549, 550, 551, 1, 2}));
}

} // namespace
