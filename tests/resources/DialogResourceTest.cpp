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

// The lists' entries as the template gives them; the port list is filled when the dialog opens.
TEST(PortSettingsTemplate, ListsHoldTheirEntries) {
    resources::RegisterPortSettingsDialog();
    const DialogTemplate* dialog = afx::FindDialog(IDD_PORT_SETTINGS);
    ASSERT_NE(dialog, nullptr);
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

TEST(PortSettingsTemplate, BuildsTheDialogWithTheFirstListFocused) {
    resources::RegisterPortSettingsDialog();
    CDialog dialog(IDD_PORT_SETTINGS);
    std::string title;
    std::vector<int> tabs;
    RunModal(dialog, [&] {
        title = dialog.GetWidget()->windowTitle().toStdString();
        auto* ports = static_cast<CComboBox*>(dialog.GetDlgItem(544));
        ports->AddString("com7");
        ports->SetCurSel(0);
        EXPECT_EQ(Text(*ports), "COM7");
        tabs = TabOrder(10);
    });
    EXPECT_EQ(title, "Select Serial Port");
    EXPECT_EQ(tabs, (std::vector<int>{544, 545, 546, 547, 548, 549, 550, 551, 1, 2}));
}

} // namespace
