#include "framework/controls/ControlSupport.h"

#include <cstring>

#include "framework/window/CWnd.h"
#include "framework/base/Latin1Text.h"

namespace afx {

bool TextOfMessage(UINT message, LPARAM lParam, std::string& text) {
    LPCSTR source = nullptr;
    if (message == WM_SETTEXT)
        source = reinterpret_cast<LPCSTR>(lParam);
    else if (message == WM_CREATE && lParam != 0)
        source = reinterpret_cast<const CREATESTRUCTA*>(lParam)->lpszName;
    else
        return false;
    text = source ? source : "";
    return true;
}

LRESULT CopyText(std::string_view text, LPSTR buffer) {
    if (buffer == nullptr)
        return CB_ERR;
    std::memcpy(buffer, text.data(), text.size());
    buffer[text.size()] = '\0';
    return static_cast<LRESULT>(text.size());
}

bool AnswerTextQuery(std::string_view text, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (message == WM_GETTEXTLENGTH) {
        result = static_cast<LRESULT>(text.size());
        return true;
    }
    if (message != WM_GETTEXT)
        return false;
    auto capacity = static_cast<std::size_t>(wParam);
    auto* buffer = reinterpret_cast<char*>(lParam);
    result = 0;
    if (capacity == 0 || buffer == nullptr)
        return true;
    result = CopyText(text.substr(0, std::min(capacity - 1, text.size())), buffer);
    return true;
}

void NotifyParent(CWnd* control, WORD code) {
    if (control == nullptr || control->GetSafeHwnd() == nullptr)
        return;
    CWnd* parent = control->GetParent();
    if (parent == nullptr || parent->GetSafeHwnd() == nullptr)
        return;
    parent->SendMessage(WM_COMMAND, MAKEWPARAM(static_cast<WORD>(control->GetDlgCtrlID()), code),
                        reinterpret_cast<LPARAM>(control->GetSafeHwnd()));
}

char MnemonicOf(std::string_view text) {
    for (std::size_t i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != '&')
            continue;
        if (text[i + 1] != '&')
            return Latin1Upper(text[i + 1]);
        ++i; // "&&" stands for one ampersand
    }
    return 0;
}

} // namespace afx
