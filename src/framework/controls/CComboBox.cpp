#include "framework/controls/CComboBox.h"

#include <algorithm>
#include <string>

#include "framework/controls/DialogConstants.h"
#include "framework/controls/ControlWindowClasses.h"

CComboBox::CComboBox() {
    afx::RegisterControlWindowClasses();
}

namespace {
LPARAM TextParam(LPCSTR text) {
    return reinterpret_cast<LPARAM>(text ? text : "");
}
WPARAM IndexParam(int index) {
    return static_cast<WPARAM>(static_cast<LONG_PTR>(index));
}
} // namespace

LRESULT CComboBox::Send(UINT message, WPARAM wParam, LPARAM lParam) const {
    if (GetSafeHwnd() == nullptr)
        return CB_ERR;
    return const_cast<CComboBox*>(this)->SendMessage(message, wParam, lParam);
}

int CComboBox::GetCount() const {
    return static_cast<int>(Send(CB_GETCOUNT));
}

int CComboBox::GetCurSel() const {
    return static_cast<int>(Send(CB_GETCURSEL));
}

int CComboBox::SetCurSel(int select) {
    return static_cast<int>(Send(CB_SETCURSEL, IndexParam(select)));
}

int CComboBox::AddString(LPCSTR text) {
    return static_cast<int>(Send(CB_ADDSTRING, 0, TextParam(text)));
}

int CComboBox::GetLBText(int index, LPSTR text) const {
    return static_cast<int>(Send(CB_GETLBTEXT, IndexParam(index), reinterpret_cast<LPARAM>(text)));
}

void CComboBox::GetLBText(int index, CString& text) const {
    int length = GetLBTextLen(index);
    if (length == CB_ERR) {
        text.Empty();
        return;
    }
    std::string buffer(static_cast<std::size_t>(length) + 1, '\0');
    int copied = GetLBText(index, buffer.data());
    buffer.resize(static_cast<std::size_t>(std::max(0, copied)));
    text = CString(std::move(buffer));
}

int CComboBox::GetLBTextLen(int index) const {
    return static_cast<int>(Send(CB_GETLBTEXTLEN, IndexParam(index)));
}

int CComboBox::SetItemTipText(int index, LPCSTR text) {
    return static_cast<int>(Send(CB_SETITEMTIPTEXT, IndexParam(index), TextParam(text)));
}
