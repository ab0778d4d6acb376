#include "framework/window/CWnd.h"

#include <QApplication>
#include <QScreen>
#include <cstring>

#include "framework/base/CurrentMessage.h"
#include "framework/base/Latin1Text.h"
#include "framework/window/PostedMessageQueue.h"
#include "framework/window/WindowClass.h"
#include "framework/window/WindowTable.h"

BEGIN_MESSAGE_MAP(CWnd, CCmdTarget)
END_MESSAGE_MAP()

CWnd::CWnd() = default;

CWnd::~CWnd() {
    if (m_hWnd != nullptr) {
        // The object goes before its window: take the window down without calling back into the
        // object's overrides, which are already gone.
        ReleaseHandle();
    }
    if (QWidget* widget = m_widget.data()) {
        if (auto* bridge = WndWidgetBase::FromWidget(widget); bridge && bridge->Owner() == this)
            bridge->SetOwner(nullptr);
        if (widget->parentWidget() == nullptr)
            delete widget;
    }
}

CWnd* CWnd::FromHandle(HWND hwnd) {
    return afx::LookupWindow(hwnd);
}
CWnd* CWnd::FromHandlePermanent(HWND hwnd) {
    return afx::LookupWindow(hwnd);
}

namespace afx {
CWnd* WndFromHandle(HWND hwnd) {
    return LookupWindow(hwnd);
}

std::vector<CWnd*> ChildrenOf(const CWnd* parent) {
    std::vector<CWnd*> children;
    for (CWnd* wnd : WindowsInCreationOrder())
        if (wnd->GetParent() == parent)
            children.push_back(wnd);
    return children;
}
} // namespace afx

namespace {
// Set by the application object, which must forget its main window when that window goes.
void (*g_destroyedHook)(CWnd*) = nullptr;
} // namespace

void CWnd::SetDestroyedHook(void (*hook)(CWnd*)) {
    g_destroyedHook = hook;
}

namespace {

// Three quarters of the desktop, as the desktop places a new window, but never smaller than a
// comfortable working size where the screen has room for it.
QRect DefaultTopLevelGeometry() {
    QRect area(0, 0, 1024, 768);
    if (QScreen* screen = QGuiApplication::primaryScreen())
        area = screen->availableGeometry();
    int width = std::min(area.width(), std::max(800, area.width() * 3 / 4));
    int height = std::min(area.height(), std::max(560, area.height() * 3 / 4));
    return QRect(area.left() + (area.width() - width) / 2, area.top() + (area.height() - height) / 2, width,
                 height);
}

QRect GeometryFromRect(const RECT& rect, bool topLevel) {
    if (rect.left == CW_USEDEFAULT || rect.right == CW_USEDEFAULT)
        return topLevel ? DefaultTopLevelGeometry() : QRect(0, 0, 100, 100);
    return QRect(rect.left, rect.top, std::max(0, rect.right - rect.left),
                 std::max(0, rect.bottom - rect.top));
}

} // namespace

BOOL CWnd::CreateEx(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, const RECT& rect,
                    CWnd* parent, UINT id, LPVOID param) {
    if (m_hWnd != nullptr)
        return FALSE;
    const WindowClassInfo* cls = afx::FindWindowClass(className);
    if (cls == nullptr)
        return FALSE;
    bool child = (style & WS_CHILD) != 0;
    if (child && (parent == nullptr || parent->GetClientWidget() == nullptr))
        return FALSE;
    m_style = style;
    m_nID = id;
    m_pParentWnd = parent;
    m_windowText = windowName ? windowName : "";
    QWidget* parentWidget = child ? parent->GetClientWidget() : nullptr;
    AttachWidget(cls->create(this, parentWidget, style, exStyle));
    m_hWnd = afx::AllocateWindowHandle(this);
    m_widget->setGeometry(GeometryFromRect(rect, !child));
    ApplyWindowText(m_windowText);
    OnWidgetCreated();

    QRect g = m_widget->geometry();
    CREATESTRUCTA cs{param,  nullptr, parent ? parent->m_hWnd : nullptr, g.height(), g.width(),
                     g.y(),  g.x(),   static_cast<LONG>(style),          windowName, className,
                     exStyle};
    if (SendMessage(WM_CREATE, 0, reinterpret_cast<LPARAM>(&cs)) == -1) {
        DestroyWindow();
        return FALSE;
    }
    if (m_widget && (style & WS_VISIBLE) != 0 && child)
        m_widget->show();
    return TRUE;
}

BOOL CWnd::Create(LPCSTR className, LPCSTR windowName, DWORD style, const RECT& rect, CWnd* parent, UINT id) {
    return CreateEx(0, className, windowName, style | WS_CHILD, rect, parent, id);
}

void CWnd::AttachWidget(QWidget* widget) {
    m_widget = widget;
    m_bridge = WndWidgetBase::FromWidget(widget);
}

void CWnd::DestroyChildren() {
    for (CWnd* child : afx::ChildrenOf(this))
        child->DestroyWindow();
}

void CWnd::ReleaseHandle() {
    PostedMessageQueue::Instance().Discard(m_hWnd);
    afx::ReleaseWindowHandle(m_hWnd);
    m_hWnd = nullptr;
}

BOOL CWnd::DestroyWindow() {
    if (m_hWnd == nullptr)
        return FALSE;
    SendMessage(WM_DESTROY);
    DestroyChildren();
    ReleaseHandle();
    if (QWidget* widget = m_widget.data()) {
        if (auto* bridge = WndWidgetBase::FromWidget(widget))
            bridge->SetOwner(nullptr);
        widget->hide();
        // The widget may be in the middle of handling the event that led here: delete it later.
        widget->deleteLater();
    }
    m_widget = nullptr;
    m_bridge = nullptr;
    if (g_destroyedHook != nullptr)
        g_destroyedHook(this);
    PostNcDestroy();
    return TRUE;
}

void CWnd::PostNcDestroy() {}

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    CurrentMessage current{this, message, wParam, lParam};
    CurrentMessage::Scope scope(current);
    return WindowProc(message, wParam, lParam);
}

BOOL CWnd::PostMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    // A window that has no handle (not created, or destroyed) has nobody to deliver to.
    if (m_hWnd == nullptr)
        return FALSE;
    PostedMessageQueue::Instance().Post(MSG{m_hWnd, message, wParam, lParam});
    return TRUE;
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (!OnWndMsg(message, wParam, lParam, &result))
        result = DefWindowProc(message, wParam, lParam);
    return result;
}

BOOL CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    if (message == WM_COMMAND) {
        if (!OnCommand(wParam, lParam))
            return FALSE;
        *result = 0;
        return TRUE;
    }
    const AFX_MSGMAP_ENTRY* entry = FindMessageEntry(message, 0);
    if (entry == nullptr)
        return FALSE;
    *result = entry->pfn(this, wParam, lParam);
    return TRUE;
}

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM) {
    return OnCmdMsg(LOWORD(wParam));
}

LRESULT CWnd::Default() {
    CurrentMessage* current = CurrentMessage::Top();
    if (current == nullptr || current->wnd != this)
        return 0;
    return DefWindowProc(current->message, current->wParam, current->lParam);
}

BOOL CWnd::TranslateKey(UINT, BOOL, BOOL, BOOL) {
    return FALSE;
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    CurrentMessage* current = CurrentMessage::Top();
    if (current != nullptr && current->wnd == this && current->message == message &&
        current->event != nullptr && !current->baseDone) {
        current->baseDone = true;
        return current->widget->BaseEvent(current->event) ? 1 : 0;
    }
    if (WndWidgetBase* bridge = m_widget ? m_bridge : nullptr) {
        LRESULT classResult = 0;
        if (bridge->ClassMessage(message, wParam, lParam, classResult))
            return classResult;
    }
    switch (message) {
    case WM_CLOSE:
        DestroyWindow();
        return 0;
    case WM_SETTEXT:
        m_windowText = reinterpret_cast<LPCSTR>(lParam);
        ApplyWindowText(m_windowText);
        return TRUE;
    case WM_GETTEXTLENGTH:
        return m_windowText.GetLength();
    case WM_GETTEXT: {
        auto capacity = static_cast<std::size_t>(wParam);
        if (capacity == 0 || lParam == 0)
            return 0;
        std::size_t n = std::min(capacity - 1, static_cast<std::size_t>(m_windowText.GetLength()));
        std::memcpy(reinterpret_cast<char*>(lParam), m_windowText.GetString(), n);
        reinterpret_cast<char*>(lParam)[n] = '\0';
        return static_cast<LRESULT>(n);
    }
    case WM_SETFONT:
        m_font = reinterpret_cast<HFONT>(wParam);
        if (m_widget) {
            m_widget->setFont(afx::FontFromHandle(m_font));
            if (lParam != 0)
                m_widget->update();
        }
        return 0;
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(m_font);
    default:
        return 0;
    }
}

void CWnd::ApplyWindowText(const CString& text) {
    if (m_widget && m_widget->isWindow())
        m_widget->setWindowTitle(QString::fromLatin1(text.GetString(), text.GetLength()));
}

void CWnd::GetClientRect(LPRECT rect) const {
    QWidget* client = GetClientWidget();
    *rect = client ? RECT{0, 0, client->width(), client->height()} : RECT{0, 0, 0, 0};
}

void CWnd::MoveWindow(int x, int y, int width, int height, BOOL repaint) {
    if (!m_widget)
        return;
    m_widget->setGeometry(x, y, std::max(0, width), std::max(0, height));
    if (repaint)
        m_widget->update();
}

void CWnd::MoveWindow(LPCRECT rect, BOOL repaint) {
    MoveWindow(rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top, repaint);
}

BOOL CWnd::ShowWindow(int showCommand) {
    if (!m_widget)
        return FALSE;
    BOOL wasVisible = m_widget->isVisible();
    switch (showCommand) {
    case SW_HIDE:
        m_widget->hide();
        break;
    case SW_SHOWMAXIMIZED:
        m_widget->showMaximized();
        break;
    case SW_SHOWMINIMIZED:
        m_widget->showMinimized();
        break;
    default:
        m_widget->show();
        break;
    }
    if (showCommand != SW_HIDE && m_widget->isWindow()) {
        m_widget->raise();
        m_widget->activateWindow();
    }
    return wasVisible;
}

void CWnd::UpdateWindow() {
    if (m_widget && m_widget->isVisible())
        m_widget->repaint();
}

BOOL CWnd::EnableWindow(BOOL enable) {
    if (!m_widget)
        return FALSE;
    BOOL wasDisabled = !m_widget->isEnabled();
    m_widget->setEnabled(enable != FALSE);
    return wasDisabled;
}

BOOL CWnd::IsWindowEnabled() const {
    return m_widget && m_widget->isEnabled();
}

CWnd* CWnd::GetParent() const {
    return m_pParentWnd;
}

CWnd* CWnd::GetTopLevelParent() const {
    const CWnd* wnd = this;
    while (wnd->m_pParentWnd != nullptr && (wnd->m_style & WS_CHILD) != 0)
        wnd = wnd->m_pParentWnd;
    return const_cast<CWnd*>(wnd);
}

CWnd* CWnd::GetDlgItem(int id) const {
    for (CWnd* child : afx::ChildrenOf(this))
        if (child->GetDlgCtrlID() == id)
            return child;
    return nullptr;
}

CWnd* CWnd::SetFocus() {
    CWnd* old = GetFocus();
    if (m_widget)
        m_widget->setFocus(Qt::OtherFocusReason);
    return old;
}

CWnd* CWnd::GetFocus() {
    for (QWidget* w = QApplication::focusWidget(); w != nullptr; w = w->parentWidget()) {
        if (auto* bridge = WndWidgetBase::FromWidget(w); bridge && bridge->Owner())
            return bridge->Owner();
    }
    return nullptr;
}

void CWnd::SetWindowText(LPCSTR text) {
    SendMessage(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text ? text : ""));
}

int CWnd::GetWindowText(LPSTR buffer, int maxCount) const {
    if (maxCount <= 0)
        return 0;
    return static_cast<int>(const_cast<CWnd*>(this)->SendMessage(WM_GETTEXT, static_cast<WPARAM>(maxCount),
                                                                 reinterpret_cast<LPARAM>(buffer)));
}

void CWnd::GetWindowText(CString& text) const {
    int length = GetWindowTextLength();
    std::string buffer(static_cast<std::size_t>(length) + 1, '\0');
    int copied = GetWindowText(buffer.data(), length + 1);
    buffer.resize(static_cast<std::size_t>(std::max(0, copied)));
    text = CString(std::move(buffer));
}

int CWnd::GetWindowTextLength() const {
    return static_cast<int>(const_cast<CWnd*>(this)->SendMessage(WM_GETTEXTLENGTH));
}

void CWnd::SetToolTipText(LPCSTR text) {
    if (QWidget* widget = GetWidget())
        widget->setToolTip(afx::FromLatin1(text ? text : ""));
}

void CWnd::SetFont(HFONT font, BOOL redraw) {
    SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(font), redraw);
}

BOOL CWnd::SubclassWindow(HWND hwnd) {
    CWnd* current = FromHandlePermanent(hwnd);
    if (current == nullptr || m_hWnd != nullptr)
        return FALSE;
    m_hWnd = hwnd;
    m_widget = current->m_widget;
    m_style = current->m_style;
    m_nID = current->m_nID;
    m_pParentWnd = current->m_pParentWnd;
    m_windowText = current->m_windowText;
    m_font = current->m_font;
    m_bridge = current->m_bridge;
    current->m_hWnd = nullptr;
    current->m_widget = nullptr;
    current->m_bridge = nullptr;
    afx::RebindWindowHandle(hwnd, this);
    if (auto* bridge = WndWidgetBase::FromWidget(m_widget.data()))
        bridge->SetOwner(this);
    OnWidgetCreated();
    return TRUE;
}

// Standard handlers: each passes its message on to the default handling.
int CWnd::OnCreate(LPCREATESTRUCT) {
    return static_cast<int>(Default());
}
void CWnd::OnClose() {
    Default();
}
void CWnd::OnActivate(UINT, CWnd*, BOOL) {
    Default();
}
void CWnd::OnChar(UINT, UINT, UINT) {
    Default();
}
void CWnd::OnLButtonDown(UINT, CPoint) {
    Default();
}
void CWnd::OnSize(UINT, int, int) {
    Default();
}
