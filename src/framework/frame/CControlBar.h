#pragma once
// A control bar: a child window of a frame that sits along one edge of the frame's client area (a
// status bar at the bottom, say). Its bar style word (the CBRS_ values in the low word of its window
// style) says which edge and which borders it draws; the frame's RepositionBars places it.

#include "framework/window/CWnd.h"

class CControlBar : public CWnd {
public:
    CControlBar();
    ~CControlBar() override;

    // The bar's size: for a bar along the top or bottom (`horz`), its height is what counts and
    // `stretch` asks for the full width; the reverse for a bar along a side.
    virtual SIZE CalcFixedLayout(BOOL stretch, BOOL horz);

    // Moves the bar to its edge of `free` (a rectangle of the parent's client area) and takes the
    // strip it covers off `free`. A bar with no edge in its style stays where it is.
    void PlaceAlongEdge(CRect& free);
    // The bar takes part in the layout: it is not hidden (its frame may not be shown yet).
    bool IsShown() const;

protected:
    // Makes the bar's window from `className` and keeps the bar style of `style`.
    BOOL CreateBar(LPCSTR className, CWnd* parent, DWORD style, UINT id);

    DWORD m_dwStyle = 0;
};
