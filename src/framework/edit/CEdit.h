#pragma once
// The multi-line edit control: 8-bit text with CR LF line breaks, shown in an EditView. Keys that
// give a character are posted to the window as WM_CHAR, as the keyboard does, and the control's own
// handling of WM_CHAR inserts, breaks the line or deletes; a derived class can intercept WM_CHAR in
// its message map and pass it on with Default().

#include <string>

#include "framework/window/CWnd.h"

namespace framework {
class EditView;
}

class CEdit : public CWnd {
public:
    CEdit();
    BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);

    // Replaces the selection (or inserts at the caret) with a NUL-terminated text, or with `length`
    // bytes of any value. Edits here are never recorded for undo.
    void ReplaceSel(LPCSTR text, BOOL canUndo = FALSE);
    void ReplaceSel(const char* text, std::size_t length);
    void SetSel(int start, int end, BOOL noScroll = FALSE);
    void GetSel(int& start, int& end) const;
    // The whole text, every byte.
    std::string GetText() const;
    void SetText(const char* text, std::size_t length);

    framework::EditView* GetView() const;

protected:
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnWidgetCreated() override;

private:
    // Found once when the window is made: every received byte goes through it.
    QPointer<framework::EditView> m_view;
};

namespace afx {
void RegisterEditWindowClass();
}
