#include "framework/frame/CStatusBar.h"

#include "framework/frame/FrameWindowClasses.h"
#include "framework/base/ResourceTable.h"
#include "framework/frame/StatusBarWidget.h"

CStatusBar::CStatusBar() {
    afx::RegisterFrameWindowClasses();
}
CStatusBar::~CStatusBar() = default;

BOOL CStatusBar::Create(CWnd* parent, DWORD style, UINT id) {
    return CreateBar(afx::kStatusBarClassName, parent, style, id);
}

void CStatusBar::OnWidgetCreated() {
    // Looked up once: the pane setters run after every received byte.
    m_bar = dynamic_cast<framework::StatusBarWidget*>(GetWidget());
}

BOOL CStatusBar::DestroyWindow() {
    m_bar = nullptr;
    return CControlBar::DestroyWindow();
}

framework::StatusBarWidget* CStatusBar::Bar() const {
    return GetWidget() != nullptr ? m_bar : nullptr;
}

BOOL CStatusBar::SetIndicators(const UINT* ids, int count) {
    framework::StatusBarWidget* bar = Bar();
    if (bar == nullptr || count < 0 || (count > 0 && ids == nullptr))
        return FALSE;
    BOOL allFound = TRUE;
    std::vector<framework::StatusPane> panes;
    panes.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        CString text;
        if (!afx::LoadString(ids[i], text))
            allFound = FALSE;
        panes.push_back({ids[i], SBPS_NORMAL, 0, text.str(), {}});
    }
    bar->SetPanes(std::move(panes));
    return allFound;
}

BOOL CStatusBar::WidenPaneFor(int index, LPCSTR text) {
    framework::StatusBarWidget* bar = Bar();
    return bar != nullptr && bar->WidenPaneFor(index, text);
}

int CStatusBar::GetCount() const {
    framework::StatusBarWidget* bar = Bar();
    return bar != nullptr ? bar->Panes().Count() : 0;
}

int CStatusBar::CommandToIndex(UINT id) const {
    framework::StatusBarWidget* bar = Bar();
    return bar != nullptr ? bar->Panes().IndexOf(id) : -1;
}

UINT CStatusBar::GetItemID(int index) const {
    framework::StatusBarWidget* bar = Bar();
    const framework::StatusPane* pane = bar != nullptr ? bar->Panes().At(index) : nullptr;
    return pane != nullptr ? pane->id : 0;
}

void CStatusBar::GetItemRect(int index, LPRECT rect) const {
    framework::StatusBarWidget* bar = Bar();
    QRect r = bar != nullptr ? bar->ItemRect(index) : QRect();
    *rect =
        r.isNull() ? RECT{0, 0, 0, 0} : RECT{r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
}

BOOL CStatusBar::SetPaneText(int index, LPCSTR text, BOOL update) {
    framework::StatusBarWidget* bar = Bar();
    return bar != nullptr && bar->SetPaneText(index, text, update != FALSE);
}

CString CStatusBar::GetPaneText(int index) const {
    CString text;
    GetPaneText(index, text);
    return text;
}

void CStatusBar::GetPaneText(int index, CString& text) const {
    framework::StatusBarWidget* bar = Bar();
    const framework::StatusPane* pane = bar != nullptr ? bar->Panes().At(index) : nullptr;
    text = pane != nullptr ? CString(pane->text) : CString();
}

BOOL CStatusBar::SetPaneTipText(int index, LPCSTR text) {
    framework::StatusBarWidget* bar = Bar();
    return bar != nullptr && bar->SetPaneTip(index, text);
}

CString CStatusBar::GetPaneTipText(int index) const {
    framework::StatusBarWidget* bar = Bar();
    const framework::StatusPane* pane = bar != nullptr ? bar->Panes().At(index) : nullptr;
    return pane != nullptr ? CString(pane->tip) : CString();
}

void CStatusBar::SetPaneStyle(int index, UINT style) {
    if (framework::StatusBarWidget* bar = Bar())
        bar->SetPaneStyle(index, style);
}

UINT CStatusBar::GetPaneStyle(int index) const {
    framework::StatusBarWidget* bar = Bar();
    const framework::StatusPane* pane = bar != nullptr ? bar->Panes().At(index) : nullptr;
    return pane != nullptr ? pane->style : SBPS_NORMAL;
}
