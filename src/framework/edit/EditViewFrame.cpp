// EditView: what a frame draws. Text received at a terminal's usual pace adds a line or two per
// frame at the bottom; the lines above it are the same pixels one or two lines higher, so they are
// moved rather than drawn again, and only the lines that changed are painted.

#include <QRegion>
#include <algorithm>

#include "framework/edit/EditView.h"

namespace framework {

void EditView::DrawFrame() {
    const Shown before = m_shown;
    const std::size_t dirtyFrom = m_dirtyFrom;
    const bool all = m_dirtyAll;
    m_dirtyAll = false;
    m_dirtyFrom = kNoLine;
    m_shown = {m_firstLine, m_firstColumn, true};
    // Only a view that moved down by less than a window, and not sideways, keeps pixels worth moving.
    const bool movable = !all && before.valid && before.firstColumn == m_firstColumn &&
                         m_firstLine >= before.firstLine && m_firstLine - before.firstLine < m_visibleLines;
    if (!movable) {
        viewport()->update();
        return;
    }
    if (m_firstLine > before.firstLine) {
        // Qt draws the strip this uncovers at the bottom, and the whole view where it cannot move pixels.
        viewport()->scroll(0, -static_cast<int>(m_firstLine - before.firstLine) * m_lineHeight);
    }
    // Nothing changed below the window's last line, partial one included (or nothing at all).
    if (dirtyFrom > m_firstLine + m_visibleLines)
        return;
    const int top = dirtyFrom <= m_firstLine ? 0 : static_cast<int>(dirtyFrom - m_firstLine) * m_lineHeight;
    viewport()->update(0, top, viewport()->width(), viewport()->height() - top);
}

// A paint that Qt asks for (a window uncovered, say) draws the view where it stands now. If that is
// not where the rest of the screen stands, the screen shows two places: the next frame draws it all.
void EditView::NotePainted(const QRegion& area) {
    const bool moved = m_shown.firstLine != m_firstLine || m_shown.firstColumn != m_firstColumn;
    if (QRegion(viewport()->rect()).subtracted(area).isEmpty()) {
        m_shown = {m_firstLine, m_firstColumn, true};
    } else if (moved) {
        MarkDirty();
    }
}

} // namespace framework
