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
        ASSERT_TRUE(box.CreateEx(0, "COMBOBOX", "", style | WS_CHILD | WS_VISIBLE | WS_VSCROLL,
                                 CRect(10, 10, 110, 110), &parent, 500));
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
