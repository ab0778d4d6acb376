// Dialogs built from templates, each run for real offscreen with the test's steps inside its modal loop.
#include <QApplication>
#include <QTest>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>
#include <vector>

#include "framework/base/ResourceTable.h"
#include "framework/controls/CButton.h"
#include "framework/controls/CComboBox.h"
#include "framework/controls/DialogConstants.h"
#include "framework/dialogs/CDataExchange.h"
#include "framework/dialogs/CDialog.h"
#include "framework/loop/CWinApp.h"
#include "framework/loop/ModalScope.h"

namespace {

constexpr UINT kTestDialog = 7001;
constexpr int kStop = 101, kParity = 102, kPort = 103, kFlag = 201, kQuiet = 202, kApply = 3;
constexpr int kMissingControl = 999;

constexpr DWORD kChild = WS_CHILD | WS_VISIBLE;
constexpr DWORD kList = kChild | CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP | WS_GROUP;

void RegisterTestTemplates() {
    DialogTemplate t{};
    t.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT;
    t.cx = 200;
    t.cy = 120;
    t.title = "Test Dialog";
    t.fontFace = "MS Sans Serif";
    t.pointSize = 8;
    t.items = {
        {"COMBOBOX", "", kStop, 10, 10, 50, 60, kList},
        {"COMBOBOX", "", kParity, 10, 30, 50, 60, kList},
        {"STATIC", "&Port:", IDC_STATIC, 70, 10, 30, 10, kChild | SS_RIGHT},
        {"COMBOBOX", "", kPort, 105, 10, 50, 60, kList | CBS_UPPERCASE},
        {"BUTTON", "&Options", IDC_STATIC, 5, 50, 150, 40, kChild | BS_GROUPBOX},
        {"BUTTON", "&Flag", kFlag, 10, 60, 60, 10, kChild | BS_AUTOCHECKBOX | WS_TABSTOP | WS_GROUP},
        {"BUTTON", "&Quiet", kQuiet, 10, 72, 60, 10, kChild | BS_AUTOCHECKBOX},
        {"STATIC", "A&B", IDC_STATIC, 80, 60, 40, 10, kChild | SS_LEFT | SS_NOPREFIX},
        {"BUTTON", "OK", IDOK, 10, 100, 50, 14, kChild | BS_DEFPUSHBUTTON | WS_TABSTOP | WS_GROUP},
        {"BUTTON", "Cancel", IDCANCEL, 70, 100, 50, 14, kChild | BS_PUSHBUTTON | WS_TABSTOP},
        {"BUTTON", "&Apply", kApply, 130, 100, 50, 14, kChild | BS_PUSHBUTTON},
    };
    t.initData = {{kStop, {"1", "1.5", "2"}}, {kParity, {"Even", "Odd", "None", "Mark", "Space"}}};
    afx::RegisterDialog(kTestDialog, t);
}

// A dialog on the test template that records its data exchanges and commands.
class TestDialog : public CDialog {
public:
    explicit TestDialog(CWnd* parent = nullptr) : CDialog(kTestDialog, parent) {}

    BOOL OnInitDialog() override {
        for (const std::string& entry : portEntries)
            GetDlgItem(kPort)->SendMessage(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.c_str()));
        return CDialog::OnInitDialog();
    }

    void DoDataExchange(CDataExchange* dx) override {
        exchanges.push_back(dx->m_bSaveAndValidate);
        DDX_Control(dx, kPort, m_portList);
        DDX_CBString(dx, kStop, m_stop);
        DDX_CBString(dx, kParity, m_parity);
        DDX_Check(dx, kFlag, m_flag);
        DDX_Check(dx, kQuiet, m_quiet);
        DDX_CBString(dx, kPort, m_port);
        if (failExchange)
            DDX_Check(dx, kMissingControl, m_flag);
    }

    void OnApply() { ++applyCommands; }
    void OnFlag() { ++flagCommands; }

    CComboBox* Combo(int id) { return static_cast<CComboBox*>(GetDlgItem(id)); }
    CButton* Button(int id) { return static_cast<CButton*>(GetDlgItem(id)); }
    QWidget* Widget(int id) { return GetDlgItem(id)->GetWidget(); }

    CComboBox m_portList;
    CString m_stop = "1";
    CString m_parity = "none";
    CString m_port = "com2";
    int m_flag = 1;
    int m_quiet = 5;
    std::vector<std::string> portEntries{"com1", "Com2"};
    bool failExchange = false;
    std::vector<BOOL> exchanges;
    int applyCommands = 0;
    int flagCommands = 0;

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(TestDialog, CDialog)
ON_COMMAND(kApply, &TestDialog::OnApply)
ON_COMMAND(kFlag, &TestDialog::OnFlag)
END_MESSAGE_MAP()

// Runs `dialog` modally; `whileOpen` runs inside its modal loop once its window is up and active.
// A dialog that the steps leave open is ended after a while, as a failure.
INT_PTR RunModal(CDialog& dialog, const std::function<void()>& whileOpen) {
    QTimer::singleShot(0, [&] {
        if (QWidget* window = dialog.GetWidget()) {
            EXPECT_TRUE(QTest::qWaitForWindowActive(window, 2000));
        }
        whileOpen();
    });
    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, [&] {
        ADD_FAILURE() << "the dialog was left open";
        dialog.EndDialog(-2);
    });
    guard.start(10000);
    return dialog.DoModal();
}

// A key pressed on the widget that has the keyboard focus, as the keyboard sends it.
void Press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QWidget* focus = QApplication::focusWidget();
    ASSERT_NE(focus, nullptr);
    QTest::keyClick(focus, key, modifiers);
}

// A click where a control is, received by whatever lies on top there, as a mouse's click is.
void ClickWhere(QWidget* control) {
    QWidget* parent = control->parentWidget();
    const QPoint at = control->geometry().center();
    QWidget* top = parent->childAt(at);
    ASSERT_NE(top, nullptr);
    QTest::mouseClick(top, Qt::LeftButton, Qt::NoModifier, top->mapFrom(parent, at));
}

int FocusId() {
    CWnd* focus = CWnd::GetFocus();
    return focus ? focus->GetDlgCtrlID() : 0;
}

class DialogTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { RegisterTestTemplates(); }
    // Runs the test's dialog with `steps` inside its modal loop, then cancels it.
    void WhileOpen(const std::function<void()>& steps) {
        RunModal(dlg, [&] {
            steps();
            dlg.EndDialog(IDCANCEL);
        });
    }
    TestDialog dlg;
};

// To the list: the first entry beginning with the member's text, whatever its case ("1" picks "1",
// not "1.5"; "none" picks "None"); a text no entry begins with leaves the selection as it was.
// From the list: the selected text, or nothing.
TEST_F(DialogTest, ListsExchangeTheFirstEntryBeginningWithTheMemberAndTheSelectedText) {
    dlg.m_parity = "Parity";
    WhileOpen([&] {
        CComboBox* stop = dlg.Combo(kStop);
        ASSERT_EQ(stop->GetCount(), 3);
        CString text;
        stop->GetLBText(1, text);
        EXPECT_EQ(text, "1.5");
        EXPECT_EQ(stop->GetCurSel(), 0);
        EXPECT_EQ(dlg.Combo(kPort)->GetCurSel(), 1);
        EXPECT_EQ(dlg.Combo(kParity)->GetCurSel(), CB_ERR);
        dlg.Combo(kParity)->SetCurSel(3);
        dlg.m_stop = "2";
        EXPECT_TRUE(dlg.UpdateData(FALSE));
        EXPECT_EQ(dlg.Combo(kParity)->GetCurSel(), 3);
        EXPECT_EQ(stop->GetCurSel(), 2);
        dlg.m_parity = "none";
        EXPECT_TRUE(dlg.UpdateData(FALSE));
        EXPECT_EQ(dlg.Combo(kParity)->GetCurSel(), 2);

        stop->SetCurSel(1);
        dlg.Combo(kParity)->SetCurSel(-1);
        EXPECT_TRUE(dlg.UpdateData(TRUE));
        EXPECT_EQ(dlg.m_stop, "1.5");
        EXPECT_EQ(dlg.m_parity, "");
    });
}

// A member outside 0 to 2 shows unchecked; a state set from outside other than unchecked shows checked.
TEST_F(DialogTest, CheckBoxesExchangeZeroAndOneAndShowAnOutOfRangeValueUnchecked) {
    WhileOpen([&] {
        EXPECT_EQ(dlg.Button(kFlag)->GetCheck(), 1);
        EXPECT_EQ(dlg.Button(kQuiet)->GetCheck(), 0); // the member held 5
        EXPECT_EQ(dlg.m_quiet, 0);
        ClickWhere(dlg.Widget(kFlag)); // inside the group box, which must not take the click
        ClickWhere(dlg.Widget(kQuiet));
        EXPECT_TRUE(dlg.UpdateData(TRUE));
        EXPECT_EQ(dlg.m_flag, 0);
        EXPECT_EQ(dlg.m_quiet, 1);
        dlg.Button(kFlag)->SetCheck(2);
        EXPECT_EQ(dlg.Button(kFlag)->GetCheck(), 1);
    });
    EXPECT_EQ(dlg.flagCommands, 1); // each click also tells the dialog
}

TEST_F(DialogTest, EnterClicksTheDefaultButtonOrTheFocusedPushButton) {
    EXPECT_EQ(RunModal(dlg,
                       [&] {
                           dlg.Combo(kParity)->SetCurSel(4);
                           Press(Qt::Key_Return); // the focus is on the first list
                       }),
              IDOK);
    EXPECT_EQ(dlg.m_parity, "Space");
    EXPECT_EQ(dlg.m_port, "COM2") << "an upper-case list gives upper case";
    EXPECT_EQ(dlg.exchanges, (std::vector<BOOL>{FALSE, TRUE}));

    TestDialog second;
    EXPECT_EQ(RunModal(second,
                       [&] {
                           second.Widget(kApply)->setFocus();
                           Press(Qt::Key_Enter);
                           EXPECT_EQ(second.applyCommands, 1);
                           second.Widget(IDCANCEL)->setFocus();
                           Press(Qt::Key_Return);
                       }),
              IDCANCEL);
    EXPECT_EQ(second.exchanges, std::vector<BOOL>{FALSE});
}

TEST_F(DialogTest, AFailedExchangeKeepsTheDialogOpen) {
    bool stillOpen = false;
    INT_PTR result = RunModal(dlg, [&] {
        dlg.failExchange = true;
        QTest::mouseClick(dlg.Widget(IDOK), Qt::LeftButton);
        QTest::qWait(20);
        stillOpen = dlg.GetWidget() && dlg.GetWidget()->isVisible();
        dlg.EndDialog(IDCANCEL);
    });
    EXPECT_TRUE(stillOpen);
    EXPECT_EQ(result, IDCANCEL);
}

// Tab stops only at tab stops, in the template's order; the arrow keys move within a group, reach
// its controls without a tab stop and go round past the label to the group's first control.
TEST_F(DialogTest, TabFollowsTheTemplateOrderAndArrowKeysMoveWithinTheGroup) {
    std::vector<int> forward, backward, arrowed;
    const auto press = [](std::vector<int>& seen, Qt::Key key, Qt::KeyboardModifiers modifiers = {}) {
        Press(key, modifiers);
        seen.push_back(FocusId());
    };
    WhileOpen([&] {
        forward.push_back(FocusId()); // the first tab stop has the focus at the start
        for (int i = 0; i < 6; ++i)
            press(forward, Qt::Key_Tab);
        for (int i = 0; i < 2; ++i)
            press(backward, Qt::Key_Tab, Qt::ShiftModifier);
        dlg.Widget(kFlag)->setFocus();
        for (Qt::Key key : {Qt::Key_Down, Qt::Key_Down, Qt::Key_Up})
            press(arrowed, key);
    });
    EXPECT_EQ(forward, (std::vector<int>{kStop, kParity, kPort, kFlag, IDOK, IDCANCEL, kStop}));
    EXPECT_EQ(backward, (std::vector<int>{IDCANCEL, IDOK}));
    EXPECT_EQ(arrowed, (std::vector<int>{kQuiet, kFlag, kQuiet}));
}

TEST_F(DialogTest, MnemonicsFocusTheControlAfterALabelAndClickButtons) {
    WhileOpen([&] {
        Press(Qt::Key_P, Qt::AltModifier);
        EXPECT_EQ(FocusId(), kPort);
        Press(Qt::Key_O, Qt::AltModifier); // the group box's: the next tab stop, not clicked
        EXPECT_EQ(FocusId(), kFlag);
        EXPECT_EQ(dlg.Button(kFlag)->GetCheck(), 1);
        dlg.Widget(kStop)->setFocus();
        Press(Qt::Key_Q, Qt::AltModifier); // a check box takes the focus and toggles
        EXPECT_EQ(FocusId(), kQuiet);
        EXPECT_EQ(dlg.Button(kQuiet)->GetCheck(), 1);
        Press(Qt::Key_B, Qt::AltModifier); // "A&B" shows its "&": no mnemonic
        EXPECT_EQ(FocusId(), kQuiet);
        Press(Qt::Key_A, Qt::AltModifier);
        EXPECT_EQ(dlg.applyCommands, 1);
        Press(Qt::Key_A); // on a check box the letter alone will do
        EXPECT_EQ(dlg.applyCommands, 2);
        CString text;
        dlg.Button(kFlag)->GetWindowText(text);
        EXPECT_EQ(text, "&Flag");
        dlg.Button(kFlag)->SetWindowText("Fl&ip");
        Press(Qt::Key_I, Qt::AltModifier);
        EXPECT_EQ(dlg.Button(kFlag)->GetCheck(), 0) << "a new text brings its own mnemonic";
    });
}

// The main window owns the dialog and is disabled while it runs.
TEST_F(DialogTest, TheMainWindowIsDisabledWhileTheDialogIsOpen) {
    CWinApp app;
    CWnd main;
    ASSERT_TRUE(main.CreateEx(0, nullptr, "main", WS_OVERLAPPEDWINDOW, CRect(0, 0, 400, 300), nullptr, 0));
    main.ShowWindow(SW_SHOW);
    app.m_pMainWnd = &main;
    bool mainEnabledDuring = true, dialogEnabledDuring = false;
    int depth = 0;
    WhileOpen([&] {
        mainEnabledDuring = main.IsWindowEnabled();
        dialogEnabledDuring = dlg.IsWindowEnabled() && dlg.GetDlgItem(kStop)->IsWindowEnabled();
        EXPECT_EQ(dlg.GetOwner(), &main);
        depth = ModalScope::Depth();
    });
    EXPECT_FALSE(mainEnabledDuring);
    EXPECT_TRUE(dialogEnabledDuring);
    EXPECT_EQ(depth, 1);
    EXPECT_TRUE(main.IsWindowEnabled());
    EXPECT_EQ(ModalScope::Depth(), 0);
    app.m_pMainWnd = nullptr;
    main.DestroyWindow();
}

} // namespace
