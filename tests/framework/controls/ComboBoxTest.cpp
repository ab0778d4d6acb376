// The combo box window: its list, selection and text through CComboBox and the CB_* messages.
#include <QComboBox>
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "framework/controls/CComboBox.h"
#include "framework/controls/DialogConstants.h"
#include "framework/loop/MessageDispatch.h"

namespace {

class ComboBoxTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(parent.CreateEx(0, nullptr, "p", WS_OVERLAPPED, CRect(0, 0, 300, 300), nullptr, 0));
    }
    void TearDown() override { parent.DestroyWindow(); }

    void Make(CComboBox& box, DWORD style, std::vector<const char*> entries = {}) {
        ASSERT_TRUE(box.Create(style | WS_VISIBLE | WS_VSCROLL, CRect(10, 10, 110, 110), &parent, 500));
        for (const char* entry : entries)
            box.AddString(entry);
    }

    static std::vector<std::string> Entries(const CComboBox& box) {
        std::vector<std::string> entries;
        for (int i = 0; i < box.GetCount(); ++i) {
            CString text;
            box.GetLBText(i, text);
            entries.push_back(text.str());
        }
        return entries;
    }

    static std::string Text(const CWnd& box) {
        CString text;
        box.GetWindowText(text);
        return text.str();
    }

    CWnd parent;
    CComboBox box;
};

TEST_F(ComboBoxTest, EntriesStayInTheOrderAddedAndNothingIsSelectedByItself) {
    Make(box, CBS_DROPDOWNLIST, {"b", "A", "c"});
    EXPECT_EQ(box.GetCurSel(), CB_ERR);
    EXPECT_EQ(box.AddString("A"), 3); // duplicates are kept
    EXPECT_EQ(Entries(box), (std::vector<std::string>{"b", "A", "c", "A"}));
}

TEST_F(ComboBoxTest, SettingTheSelectionOutOfRangeClearsItAndFails) {
    Make(box, CBS_DROPDOWNLIST, {"one", "two"});
    EXPECT_EQ(box.SetCurSel(1), 1);
    EXPECT_EQ(box.GetCurSel(), 1);
    EXPECT_EQ(Text(box), "two");
    EXPECT_EQ(box.GetWindowTextLength(), 3);
    EXPECT_EQ(box.SetCurSel(2), CB_ERR);
    EXPECT_EQ(box.GetCurSel(), CB_ERR);
    EXPECT_EQ(Text(box), "");
    box.SetCurSel(0);
    EXPECT_EQ(box.SetCurSel(-1), CB_ERR);
    EXPECT_EQ(box.GetCurSel(), CB_ERR);
}

// Selecting by text finds the first entry after the start, wrapping round, that begins with the text
// without regard to case; with none found the selection stays as it was.
TEST_F(ComboBoxTest, SelectingByTextIsByPrefixWithoutRegardToCaseFromAfterTheStartWrappingRound) {
    Make(box, CBS_DROPDOWNLIST, {"1", "1.5", "None", "none2", "Even"});
    const auto select = [&](int startAfter, const char* text) {
        return box.SendMessage(CB_SELECTSTRING, static_cast<WPARAM>(static_cast<LONG_PTR>(startAfter)),
                               reinterpret_cast<LPARAM>(text));
    };
    EXPECT_EQ(select(0, "1"), 1);
    EXPECT_EQ(select(1, "1"), 0); // wraps round to the top
    EXPECT_EQ(select(2, "NONE"), 3);
    EXPECT_EQ(select(99, "e"), 4); // a start past the end searches from the top
    EXPECT_EQ(select(3, "Nonexistent"), CB_ERR);
    EXPECT_EQ(box.GetCurSel(), 4);
    EXPECT_EQ(Text(box), "Even");
    const auto findExact = [&](const char* text) {
        return box.SendMessage(CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(text));
    };
    EXPECT_EQ(findExact("NONE2"), 3);
    EXPECT_EQ(findExact("non"), CB_ERR);
}

TEST_F(ComboBoxTest, TextOfAnEntryItsLengthAndTheWindowTextOfAList) {
    Make(box, CBS_DROPDOWNLIST, {"abc", "caf\xe9 \xff"});
    EXPECT_EQ(box.GetLBTextLen(1), 6);
    char buffer[8];
    EXPECT_EQ(box.GetLBText(1, buffer), 6);
    EXPECT_STREQ(buffer, "caf\xe9 \xff"); // every 8-bit character kept
    EXPECT_EQ(box.GetLBTextLen(2), CB_ERR);
    EXPECT_EQ(box.GetLBText(-1, buffer), CB_ERR);
    // A list's window text picks the entry of exactly that text.
    EXPECT_EQ(box.SendMessage(WM_SETTEXT, 0, reinterpret_cast<LPARAM>("abc")), TRUE);
    EXPECT_EQ(box.GetCurSel(), 0);
    EXPECT_EQ(box.SendMessage(WM_SETTEXT, 0, reinterpret_cast<LPARAM>("ab")), CB_ERR);
    EXPECT_EQ(box.GetCurSel(), 0);
}

TEST_F(ComboBoxTest, AnyWindowObjectStandingForTheBoxAnswersItsMessages) {
    Make(box, CBS_DROPDOWNLIST, {"x", "y"});
    HWND handle = box.GetSafeHwnd();
    EXPECT_EQ(::SendMessage(handle, CB_GETCOUNT, 0, 0), 2);
    CWnd* found = parent.GetDlgItem(500);
    ASSERT_EQ(found, &box);
    CWnd plain;
    ASSERT_TRUE(plain.SubclassWindow(handle));
    EXPECT_EQ(plain.SendMessage(CB_SETCURSEL, 1), 1);
    EXPECT_EQ(Text(plain), "y");
    // The object that stood for it before has no window any more and reports failure.
    EXPECT_EQ(box.GetCount(), CB_ERR);
    plain.DestroyWindow();
}

// The opened list shows an entry's tooltip role where the pointer rests; an empty text removes it.
TEST_F(ComboBoxTest, EachEntryKeepsItsOwnTip) {
    Make(box, CBS_DROPDOWNLIST, {"COM0", "COM1", "COM255"});
    EXPECT_EQ(box.SetItemTipText(2, "the loopback plug"), CB_OKAY);
    EXPECT_EQ(box.SetItemTipText(3, "past the end"), CB_ERR);
    EXPECT_EQ(box.SetItemTipText(-1, "before the start"), CB_ERR);
    auto* widget = static_cast<QComboBox*>(box.GetWidget());
    EXPECT_EQ(widget->itemData(2, Qt::ToolTipRole).toString(), "the loopback plug");
    EXPECT_FALSE(widget->itemData(1, Qt::ToolTipRole).isValid());
    box.SetItemTipText(2, "");
    EXPECT_FALSE(widget->itemData(2, Qt::ToolTipRole).isValid());
}

} // namespace
