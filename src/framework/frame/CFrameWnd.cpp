#include "framework/frame/CFrameWnd.h"

#include <algorithm>

#include "framework/frame/CControlBar.h"
#include "framework/loop/CWinApp.h"
#include "framework/frame/FrameWidget.h"
#include "framework/frame/FrameWindowClasses.h"
#include "framework/frame/MenuBuilder.h"
#include "framework/base/ResourceTable.h"
#include "framework/window/WindowClass.h"
#include "framework/window/WindowTable.h"

BEGIN_MESSAGE_MAP(CFrameWnd, CWnd)
ON_WM_CREATE()
ON_WM_CLOSE()
ON_WM_SIZE()
END_MESSAGE_MAP()

const CRect CFrameWnd::rectDefault(CW_USEDEFAULT, CW_USEDEFAULT, 0, 0);

CFrameWnd::CFrameWnd() {
    afx::RegisterFrameWindowClasses();
}

CFrameWnd::~CFrameWnd() {
    if (CWinApp* app = AfxGetApp(); app != nullptr && app->m_pMainWnd == this)
        app->m_pMainWnd = nullptr;
}

BOOL CFrameWnd::Create(LPCSTR className, LPCSTR title, DWORD style, const RECT& rect, CWnd* parent,
                       UINT menuId, DWORD exStyle) {
    if (menuId != 0 && afx::FindMenu(menuId) == nullptr)
        return FALSE;
    m_menuId = menuId;
    if (className == nullptr)
        className = afx::kFrameClassName;
    if (!CreateEx(exStyle, className, title, style, rect, parent, 0))
        return FALSE;
    RecalcLayout();
    return TRUE;
}

BOOL CFrameWnd::CreateEx(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, const RECT& rect,
                         CWnd* parent, UINT id, LPVOID param) {
    if (!CWnd::CreateEx(exStyle, className, windowName, style, rect, parent, id, param))
        return FALSE;
    m_autoDelete = true;
    return TRUE;
}

void CFrameWnd::OnWidgetCreated() {
    auto* frame = dynamic_cast<framework::FrameWidget*>(GetWidget());
    if (frame == nullptr)
        return;
    if (const MenuResource* menu = m_menuId != 0 ? afx::FindMenu(m_menuId) : nullptr)
        frame->SetMenuBar(framework::MenuBuilder::Build(*menu, m_hWnd));
    else
        frame->LayOut();
}

QWidget* CFrameWnd::GetClientWidget() const {
    if (auto* frame = dynamic_cast<framework::FrameWidget*>(GetWidget()))
        return frame->Client();
    return GetWidget();
}

QMenuBar* CFrameWnd::GetMenuBar() const {
    auto* frame = dynamic_cast<framework::FrameWidget*>(GetWidget());
    return frame != nullptr ? frame->MenuBar() : nullptr;
}

BOOL CFrameWnd::LoadAccelTable(UINT id) {
    const AcceleratorResource* table = afx::FindAccelerators(id);
    if (table == nullptr)
        return FALSE;
    m_accelerators = framework::AcceleratorTable(*table);
    return TRUE;
}

BOOL CFrameWnd::TranslateKey(UINT virtualKey, BOOL ctrl, BOOL shift, BOOL alt) {
    WORD command = m_accelerators.Find(virtualKey, ctrl != FALSE, shift != FALSE, alt != FALSE);
    if (command == 0)
        return FALSE;
    // The handler may close the frame: nothing of this object is touched after it.
    SendMessage(WM_COMMAND, MAKEWPARAM(command, 1), 0);
    return TRUE;
}

BOOL CFrameWnd::OnCmdMsg(UINT id) {
    if (CWnd::OnCmdMsg(id))
        return TRUE;
    CWinApp* app = AfxGetApp();
    return app != nullptr && app->OnCmdMsg(id);
}

void CFrameWnd::RecalcLayout(BOOL) {
    if (m_inRecalcLayout)
        return;
    m_inRecalcLayout = true;
    RepositionBars(0, 0xFFFF, AFX_IDW_PANE_FIRST);
    m_inRecalcLayout = false;
}

void CFrameWnd::RepositionBars(UINT first, UINT last, UINT idLeftOver) {
    CRect free;
    GetClientRect(&free);
    for (CWnd* child : afx::ChildrenOf(this)) {
        auto id = static_cast<UINT>(child->GetDlgCtrlID());
        auto* bar = dynamic_cast<CControlBar*>(child);
        if (bar != nullptr && id >= first && id <= last && bar->IsShown())
            bar->PlaceAlongEdge(free);
    }
    if (CWnd* leftOver = GetDlgItem(static_cast<int>(idLeftOver)))
        leftOver->MoveWindow(&free);
}

int CFrameWnd::OnCreate(LPCREATESTRUCT createStruct) {
    return CWnd::OnCreate(createStruct);
}

void CFrameWnd::OnClose() {
    DestroyWindow();
}

void CFrameWnd::OnSize(UINT type, int cx, int cy) {
    CWnd::OnSize(type, cx, cy);
    RecalcLayout();
}

void CFrameWnd::OnActivate(UINT state, CWnd* other, BOOL minimized) {
    CWnd::OnActivate(state, other, minimized);
}

void CFrameWnd::PostNcDestroy() {
    if (m_autoDelete)
        delete this;
}
