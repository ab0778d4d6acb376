#include "framework/controls/ComboBoxWidget.h"

#include <QAbstractItemView>

#include "framework/controls/ControlSupport.h"
#include "framework/controls/DialogConstants.h"
#include "framework/base/Latin1Text.h"

ComboBoxWidget::ComboBoxWidget(CWnd* owner, QWidget* parent, DWORD style)
    : WndWidget<QComboBox>(owner, parent), m_style(style) {
    // The list is kept as the messages say: no sorting or merging by Qt.
    setDuplicatesEnabled(true);
    // With a placeholder Qt does not select the first entry by itself when the list fills: the
    // selection is only ever what CB_SETCURSEL, CB_SELECTSTRING or the user made it.
    setPlaceholderText(QStringLiteral(" "));
    setCurrentIndex(-1);
}

void ComboBoxWidget::SetDroppedHeight(int listHeight) {
    int closed = sizeHint().height();
    int rowHeight = std::max(1, fontMetrics().height() + 2);
    setMaxVisibleItems(std::max(1, (listHeight - closed) / rowHeight));
    resize(width(), closed);
}

bool ComboBoxWidget::ClassMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    auto text = reinterpret_cast<LPCSTR>(lParam);
    switch (message) {
    case WM_CREATE:
        if (lParam != 0)
            SetDroppedHeight(reinterpret_cast<const CREATESTRUCTA*>(lParam)->cy);
        return false;
    case WM_SETTEXT:
        result = SetText(text ? text : "") ? TRUE : CB_ERR;
        return true;
    case CB_ADDSTRING:
        result = AddString(text);
        return true;
    case CB_GETCOUNT:
        result = count();
        return true;
    case CB_GETCURSEL:
        result = currentIndex() < 0 ? CB_ERR : currentIndex();
        return true;
    case CB_SETCURSEL:
        result = SetCurSel(wParam);
        return true;
    case CB_GETLBTEXT:
        result = GetLBText(wParam, reinterpret_cast<LPSTR>(lParam));
        return true;
    case CB_GETLBTEXTLEN:
        result = GetLBTextLen(wParam);
        return true;
    case CB_FINDSTRINGEXACT:
        result = Find(wParam, text, true);
        return true;
    case CB_SELECTSTRING:
        result = SelectString(wParam, text);
        return true;
    case CB_SETITEMTIPTEXT:
        result = SetItemTipText(wParam, text);
        return true;
    default:
        return AnswerText(message, wParam, lParam, result);
    }
}

bool ComboBoxWidget::IsValidIndex(WPARAM index) const {
    return static_cast<LONG_PTR>(index) >= 0 && static_cast<LONG_PTR>(index) < count();
}

std::string ComboBoxWidget::ItemText(int index) const {
    return afx::ToLatin1(itemText(index));
}

std::string ComboBoxWidget::CurrentText() const {
    return currentIndex() < 0 ? std::string() : ItemText(currentIndex());
}

std::string ComboBoxWidget::Stored(LPCSTR text) const {
    std::string_view value = text ? text : "";
    return (m_style & CBS_UPPERCASE) != 0 ? afx::Latin1Upper(value) : std::string(value);
}

LRESULT ComboBoxWidget::AddString(LPCSTR text) {
    int index = count();
    addItem(afx::FromLatin1(Stored(text)));
    return index;
}

LRESULT ComboBoxWidget::SetCurSel(WPARAM index) {
    if (!IsValidIndex(index)) {
        setCurrentIndex(-1);
        return CB_ERR;
    }
    setCurrentIndex(static_cast<int>(index));
    return static_cast<LRESULT>(index);
}

LRESULT ComboBoxWidget::SelectString(WPARAM startAfter, LPCSTR text) {
    LRESULT found = Find(startAfter, text, false);
    if (found != CB_ERR)
        setCurrentIndex(static_cast<int>(found));
    return found;
}

LRESULT ComboBoxWidget::GetLBText(WPARAM index, LPSTR buffer) const {
    if (!IsValidIndex(index) || buffer == nullptr)
        return CB_ERR;
    return afx::CopyText(ItemText(static_cast<int>(index)), buffer);
}

LRESULT ComboBoxWidget::GetLBTextLen(WPARAM index) const {
    if (!IsValidIndex(index))
        return CB_ERR;
    return static_cast<LRESULT>(ItemText(static_cast<int>(index)).size());
}

// The list's view shows the entry's tooltip role when the pointer rests on it.
LRESULT ComboBoxWidget::SetItemTipText(WPARAM index, LPCSTR text) {
    if (!IsValidIndex(index))
        return CB_ERR;
    std::string_view tip = text ? text : "";
    setItemData(static_cast<int>(index), tip.empty() ? QVariant() : QVariant(afx::FromLatin1(tip)),
                Qt::ToolTipRole);
    return CB_OKAY;
}

LRESULT ComboBoxWidget::Find(WPARAM startAfter, LPCSTR text, bool exact) const {
    int n = count();
    auto after = static_cast<LONG_PTR>(startAfter);
    int first = after < 0 || after >= n ? 0 : static_cast<int>(after) + 1;
    std::string_view wanted = text ? text : "";
    for (int k = 0; k < n; ++k) {
        int index = (first + k) % n;
        std::string entry = ItemText(index);
        if (exact ? afx::EqualsNoCase(entry, wanted) : afx::StartsWithNoCase(entry, wanted))
            return index;
    }
    return CB_ERR;
}

bool ComboBoxWidget::SetText(const std::string& text) {
    // The box only picks from its list: it shows the entry of that text, if there is one.
    LRESULT found = Find(static_cast<WPARAM>(-1), text.c_str(), true);
    if (found == CB_ERR)
        return false;
    setCurrentIndex(static_cast<int>(found));
    return true;
}

bool ComboBoxWidget::AnswerText(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) const {
    if (message != WM_GETTEXT && message != WM_GETTEXTLENGTH)
        return false;
    return afx::AnswerTextQuery(CurrentText(), message, wParam, lParam, result);
}
