#pragma once
// A frame window: a top-level window with a title, a menu bar along its top, keyboard accelerators,
// control bars along the edges of its client area and one child (the view) filling the rest.
//
// Frames live on the heap: once its window is gone a frame deletes itself. Commands reach the
// frame's own map first and then the application object's (Exit, for one, is the application's).

#include "framework/frame/AcceleratorTable.h"
#include "framework/window/CWnd.h"

class QMenuBar;

class CFrameWnd : public CWnd {
public:
    CFrameWnd();
    ~CFrameWnd() override;

    // The desktop's default place and size for a new top-level window.
    static const CRect rectDefault;

    // Makes the frame's window. A null class name means the framework's frame class; `menuId`
    // names a registered menu (0: none), and creation fails when no menu has that number.
    BOOL Create(LPCSTR className, LPCSTR title, DWORD style, const RECT& rect, CWnd* parent = nullptr,
                UINT menuId = 0, DWORD exStyle = 0);
    BOOL CreateEx(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, const RECT& rect,
                  CWnd* parent, UINT id, LPVOID param = nullptr);

    // Makes the registered accelerator table `id` the frame's; FALSE when there is none.
    BOOL LoadAccelTable(UINT id);
    BOOL TranslateKey(UINT virtualKey, BOOL ctrl, BOOL shift, BOOL alt) override;
    BOOL OnCmdMsg(UINT id) override;

    // Lays out the control bars and the view; called whenever the client area changes size.
    virtual void RecalcLayout(BOOL notify = TRUE);
    // Places each visible control bar whose ID lies in [first, last] along its edge of the client
    // area, in creation order, and gives what is left to the child with ID `idLeftOver`.
    void RepositionBars(UINT first, UINT last, UINT idLeftOver);

    // The area below the menu bar, where child windows live.
    QWidget* GetClientWidget() const override;
    // Null when the frame has no menu.
    QMenuBar* GetMenuBar() const;

    int OnCreate(LPCREATESTRUCT createStruct);
    void OnClose();
    void OnSize(UINT type, int cx, int cy);
    void OnActivate(UINT state, CWnd* other, BOOL minimized);

protected:
    void PostNcDestroy() override;
    void OnWidgetCreated() override;

    DECLARE_MESSAGE_MAP()

private:
    framework::AcceleratorTable m_accelerators;
    UINT m_menuId = 0;
    // Set once the window has been made: a frame whose creation failed stays for its creator to
    // delete, since it may still be running its own constructor.
    bool m_autoDelete = false;
    bool m_inRecalcLayout = false;
};
