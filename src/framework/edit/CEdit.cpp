#include "framework/edit/CEdit.h"

#include <cstring>

#include "framework/edit/EditView.h"
#include "framework/loop/MessageDispatch.h"
#include "framework/window/WindowClass.h"

namespace {

QWidget* CreateEditWidget(CWnd* owner, QWidget* parent, DWORD, DWORD) {
    return new WndWidget<framework::EditView>(owner, parent);
}

// The second parameter of a WM_CHAR from the keyboard: repeat count 1, and the bit that says the key
// was already down for a key held down. Its high word is never the received-character mark 0xFFFF.
LPARAM KeyboardCharFlags(bool autoRepeat) {
    return autoRepeat ? 0x40000001 : 0x00000001;
}

} // namespace

namespace afx {
void RegisterEditWindowClass() {
    static const bool registered = (RegisterWindowClass({"EDIT", &CreateEditWidget}), true);
    (void)registered;
}
} // namespace afx

CEdit::CEdit() {
    afx::RegisterEditWindowClass();
}

BOOL CEdit::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id) {
    return CreateEx(0, "EDIT", "", style | WS_CHILD, rect, parent, id);
}

framework::EditView* CEdit::GetView() const {
    return GetWidget() != nullptr ? m_view.data() : nullptr;
}

void CEdit::OnWidgetCreated() {
    m_view = dynamic_cast<framework::EditView*>(GetWidget());
    if (framework::EditView* view = m_view.data())
        // By handle: a key that reaches the widget after this object is gone is dropped.
        view->SetTypedCharHandler([hwnd = m_hWnd](unsigned code, bool autoRepeat) {
            ::PostMessage(hwnd, WM_CHAR, code, KeyboardCharFlags(autoRepeat));
        });
}

void CEdit::ReplaceSel(LPCSTR text, BOOL canUndo) {
    SendMessage(EM_REPLACESEL, static_cast<WPARAM>(canUndo), reinterpret_cast<LPARAM>(text ? text : ""));
}

void CEdit::ReplaceSel(const char* text, std::size_t length) {
    if (framework::EditView* view = GetView())
        view->ReplaceSel(text, length);
}

void CEdit::SetSel(int start, int end, BOOL) {
    SendMessage(EM_SETSEL, static_cast<WPARAM>(start), static_cast<LPARAM>(end));
}

void CEdit::GetSel(int& start, int& end) const {
    DWORD s = 0, e = 0;
    const_cast<CEdit*>(this)->SendMessage(EM_GETSEL, reinterpret_cast<WPARAM>(&s),
                                          reinterpret_cast<LPARAM>(&e));
    start = static_cast<int>(s);
    end = static_cast<int>(e);
}

std::string CEdit::GetText() const {
    framework::EditView* view = GetView();
    return view ? view->Text() : std::string();
}

void CEdit::SetText(const char* text, std::size_t length) {
    if (framework::EditView* view = GetView())
        view->SetText(text, length);
}

LRESULT CEdit::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    framework::EditView* view = GetView();
    if (view == nullptr)
        return CWnd::DefWindowProc(message, wParam, lParam);
    switch (message) {
    case WM_CHAR:
        view->DefaultChar(static_cast<unsigned char>(wParam & 0xFF));
        return 0;
    case EM_REPLACESEL: {
        auto text = reinterpret_cast<LPCSTR>(lParam);
        view->ReplaceSel(text, text ? std::strlen(text) : 0);
        return 0;
    }
    case WM_SETTEXT: {
        auto text = reinterpret_cast<LPCSTR>(lParam);
        view->SetText(text, text ? std::strlen(text) : 0);
        return TRUE;
    }
    case WM_GETTEXTLENGTH:
        return static_cast<LRESULT>(view->TextLength());
    case WM_GETTEXT: {
        auto capacity = static_cast<std::size_t>(wParam);
        auto* buffer = reinterpret_cast<char*>(lParam);
        if (capacity == 0 || buffer == nullptr)
            return 0;
        std::string text = view->Text();
        std::size_t n = std::min(capacity - 1, text.size());
        std::memcpy(buffer, text.data(), n);
        buffer[n] = '\0';
        return static_cast<LRESULT>(n);
    }
    case WM_SETFONT:
        CWnd::DefWindowProc(message, wParam, lParam);
        view->SetFont(afx::FontFromHandle(reinterpret_cast<HFONT>(wParam)));
        return 0;
    case EM_SETSEL:
        view->SetSel(static_cast<std::size_t>(static_cast<int>(wParam) < 0
                                                  ? framework::EditView::kNoSelection
                                                  : static_cast<std::size_t>(wParam)),
                     static_cast<std::size_t>(lParam < 0 ? static_cast<LPARAM>(view->TextLength()) : lParam));
        return 0;
    case EM_GETSEL: {
        std::size_t s = 0, e = 0;
        view->GetSel(s, e);
        if (wParam != 0)
            *reinterpret_cast<DWORD*>(wParam) = static_cast<DWORD>(s);
        if (lParam != 0)
            *reinterpret_cast<DWORD*>(lParam) = static_cast<DWORD>(e);
        return static_cast<LRESULT>(MAKELPARAM(static_cast<WORD>(s), static_cast<WORD>(e)));
    }
    default:
        return CWnd::DefWindowProc(message, wParam, lParam);
    }
}
