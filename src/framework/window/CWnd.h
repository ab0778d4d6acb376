#pragma once
// A window: a message-map target that owns one Qt widget. Messages reach it by SendMessage (at
// once), PostMessage (through the thread's queue) or from its widget's Qt events; whatever its map
// does not handle goes to DefWindowProc, the window class's own behaviour.

#include <QPointer>
#include <QWidget>
#include <vector>

#include "framework/window/CCmdTarget.h"
#include "framework/base/CRect.h"
#include "framework/base/CString.h"
#include "framework/base/Gdi.h"
#include "framework/window/WndWidget.h"

class CWnd : public CCmdTarget {
public:
    CWnd();
    ~CWnd() override;

    HWND m_hWnd = nullptr;
    HWND GetSafeHwnd() const { return m_hWnd; }
    // The window object of a handle, or null when the handle names no live window.
    static CWnd* FromHandle(HWND hwnd);
    static CWnd* FromHandlePermanent(HWND hwnd);
    // Called with every window as it is destroyed (the application's main window may be the one).
    static void SetDestroyedHook(void (*hook)(CWnd*));

    // Creation. `className` names a registered window class; null or "AfxWnd" makes a plain window.
    BOOL CreateEx(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, const RECT& rect,
                  CWnd* parent, UINT id, LPVOID param = nullptr);
    BOOL Create(LPCSTR className, LPCSTR windowName, DWORD style, const RECT& rect, CWnd* parent, UINT id);
    virtual BOOL DestroyWindow();

    // Messages.
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    virtual BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
    virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
    // The default handling of the message being handled now.
    LRESULT Default();
    // A key on its way to the focused window of this top-level window; TRUE when it became a command.
    virtual BOOL TranslateKey(UINT virtualKey, BOOL ctrl, BOOL shift, BOOL alt);

    // Geometry, relative to the parent's client area.
    void GetClientRect(LPRECT rect) const;
    void MoveWindow(int x, int y, int width, int height, BOOL repaint = TRUE);
    void MoveWindow(LPCRECT rect, BOOL repaint = TRUE);
    BOOL ShowWindow(int showCommand);
    void UpdateWindow();
    BOOL EnableWindow(BOOL enable = TRUE);
    BOOL IsWindowEnabled() const;

    // Relations and focus.
    CWnd* GetParent() const;
    CWnd* GetTopLevelParent() const;
    CWnd* GetDlgItem(int id) const;
    int GetDlgCtrlID() const { return static_cast<int>(m_nID); }
    CWnd* SetFocus();
    static CWnd* GetFocus();

    // Text, font, styles.
    void SetWindowText(LPCSTR text);
    int GetWindowText(LPSTR buffer, int maxCount) const;
    void GetWindowText(CString& text) const;
    int GetWindowTextLength() const;
    void SetFont(HFONT font, BOOL redraw = TRUE);
    DWORD GetStyle() const { return m_style; }
    // The tooltip shown while the pointer rests on the window; an empty text removes it. Nothing
    // happens without a window.
    void SetToolTipText(LPCSTR text);

    int MessageBox(LPCSTR text, LPCSTR caption = nullptr, UINT type = MB_OK);

    // The Qt widget of this window (null before creation and after destruction), and the widget that
    // child windows are placed in.
    QWidget* GetWidget() const { return m_widget.data(); }
    virtual QWidget* GetClientWidget() const { return GetWidget(); }

    // Makes this object the window object of an existing window (a dialog's control); the object
    // that stood for it before is left without a window.
    BOOL SubclassWindow(HWND hwnd);

    // Handlers of the standard messages; each does the window's default.
    int OnCreate(LPCREATESTRUCT createStruct);
    void OnClose();
    void OnActivate(UINT state, CWnd* other, BOOL minimized);
    void OnChar(UINT ch, UINT repeatCount, UINT flags);
    void OnLButtonDown(UINT flags, CPoint point);
    void OnSize(UINT type, int cx, int cy);

protected:
    // Called after the window is gone; frames delete themselves here.
    virtual void PostNcDestroy();
    // Gives the window text to the widget (caption, button text ...).
    virtual void ApplyWindowText(const CString& text);
    // Called once the widget exists, before WM_CREATE.
    virtual void OnWidgetCreated() {}
    void AttachWidget(QWidget* widget);

    CString m_windowText;
    DWORD m_style = 0;
    UINT m_nID = 0;
    HFONT m_font = nullptr;
    CWnd* m_pParentWnd = nullptr;

    DECLARE_MESSAGE_MAP()

private:
    friend int afx::RouteWidgetEvent(CWnd*, WndWidgetBase*, QEvent*);
    void DestroyChildren();
    void ReleaseHandle();
    QPointer<QWidget> m_widget;
    // The widget's side of the bridge, kept so that messages need no cast to find it; meaningful
    // only while m_widget is alive.
    WndWidgetBase* m_bridge = nullptr;
};

namespace afx {
// Every live window whose parent is `parent`, in creation order.
std::vector<CWnd*> ChildrenOf(const CWnd* parent);
} // namespace afx
