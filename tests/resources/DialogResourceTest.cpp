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
