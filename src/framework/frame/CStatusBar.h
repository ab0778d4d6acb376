#pragma once
// A status bar: a control bar of fixed-width panes, each made from an indicator ID whose string is
// the pane's first text and sets its width, unless the program widens it for a longer text. Pane
// texts are 8-bit. Setting a pane's text or style draws the pane again at the next frame, even when
// it held that value already.

#include "framework/frame/CControlBar.h"

namespace framework {
class StatusBarWidget;
}

class CStatusBar : public CControlBar {
public:
    CStatusBar();
    ~CStatusBar() override;

    virtual BOOL Create(CWnd* parent, DWORD style = WS_CHILD | WS_VISIBLE | CBRS_BOTTOM,
                        UINT id = AFX_IDW_STATUS_BAR);
    BOOL DestroyWindow() override;

    // One pane per ID, in order, all in the normal style. FALSE when the bar has no window or an ID
    // has no string (that pane starts empty, as narrow as its borders).
    BOOL SetIndicators(const UINT* ids, int count);

    // Widens the pane, when it is narrower, so that `text` fits in it whole: for a pane whose
    // later texts can be wider than its first one. A pane never narrows. FALSE when `index` names
    // no pane.
    BOOL WidenPaneFor(int index, LPCSTR text);

    int GetCount() const;
    // -1 when no pane has the ID.
    int CommandToIndex(UINT id) const;
    // 0 when `index` names no pane.
    UINT GetItemID(int index) const;
    // The pane's rectangle in the bar's client coordinates; empty when `index` names no pane.
    void GetItemRect(int index, LPRECT rect) const;

    // FALSE when `index` names no pane. With `update` unset a change shows at the next repaint.
    BOOL SetPaneText(int index, LPCSTR text, BOOL update = TRUE);
    CString GetPaneText(int index) const;
    void GetPaneText(int index, CString& text) const;
    // The tooltip of a pane; an empty text removes it. FALSE when `index` names no pane.
    BOOL SetPaneTipText(int index, LPCSTR text);
    CString GetPaneTipText(int index) const;
    void SetPaneStyle(int index, UINT style);
    // SBPS_NORMAL (0) when `index` names no pane.
    UINT GetPaneStyle(int index) const;

protected:
    void OnWidgetCreated() override;

private:
    // Null while the bar has no window.
    framework::StatusBarWidget* Bar() const;

    framework::StatusBarWidget* m_bar = nullptr;
};
