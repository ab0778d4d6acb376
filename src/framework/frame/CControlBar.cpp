#include "framework/frame/CControlBar.h"

#include <algorithm>

namespace {

// The control bar styles live in the low word of a bar's window style.
constexpr DWORD kBarStyleMask = 0xFFFF;
constexpr LONG kStretched = 32767;

} // namespace

CControlBar::CControlBar() = default;
CControlBar::~CControlBar() = default;

BOOL CControlBar::CreateBar(LPCSTR className, CWnd* parent, DWORD style, UINT id) {
    m_dwStyle = style & kBarStyleMask;
    if (!CreateEx(0, className, nullptr, style | WS_CHILD, CRect(0, 0, 0, 0), parent, id))
        return FALSE;
    // A new bar already has its place and size, so its parent can lay out the rest around it.
    CRect free;
    parent->GetClientRect(&free);
    PlaceAlongEdge(free);
    return TRUE;
}

SIZE CControlBar::CalcFixedLayout(BOOL stretch, BOOL horz) {
    QSize hint = GetWidget() != nullptr ? GetWidget()->sizeHint() : QSize(0, 0);
    if (horz)
        return SIZE{stretch ? kStretched : hint.width(), hint.height()};
    return SIZE{hint.width(), stretch ? kStretched : hint.height()};
}

bool CControlBar::IsShown() const {
    return GetWidget() != nullptr && !GetWidget()->isHidden();
}

void CControlBar::PlaceAlongEdge(CRect& free) {
    DWORD align = m_dwStyle & CBRS_ALIGN_ANY;
    if (align == 0)
        return;
    bool horz = (align & (CBRS_ALIGN_TOP | CBRS_ALIGN_BOTTOM)) != 0;
    SIZE size = CalcFixedLayout(TRUE, horz);
    CRect place = free;
    int across =
        horz ? std::clamp<int>(size.cy, 0, free.Height()) : std::clamp<int>(size.cx, 0, free.Width());
    if ((align & CBRS_ALIGN_BOTTOM) != 0)
        free.bottom = place.top = free.bottom - across;
    else if ((align & CBRS_ALIGN_TOP) != 0)
        free.top = place.bottom = free.top + across;
    else if ((align & CBRS_ALIGN_LEFT) != 0)
        free.left = place.right = free.left + across;
    else
        free.right = place.left = free.right - across;
    MoveWindow(&place);
}
