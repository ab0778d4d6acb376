// EditView: where the view stands, keeping the caret in sight, and the scroll bars.

#include <QEvent>
#include <QScrollBar>
#include <algorithm>
#include <climits>

#include "framework/edit/EditView.h"
#include "framework/edit/EditViewScrollBar.h"

namespace framework {

namespace {

int ToInt(std::size_t value) {
    return static_cast<int>(std::min<std::size_t>(value, INT_MAX));
}

} // namespace

std::size_t EditView::FirstVisibleLine() const {
    return m_firstLine;
}

std::size_t EditView::HorizontalOffset() const {
    return m_firstColumn;
}

// Brings the caret into the window: vertically by the fewest lines, horizontally by half a window,
// so that typing at the right edge does not scroll at every character. Only the view's place changes
// here; the bars follow at the frame, so a line received costs no call into them.
void EditView::ScrollCaretIntoView(bool textOnlyGrew) {
    const std::size_t line = m_model.CaretLine();
    const std::size_t column = m_model.CaretColumn();
    const std::size_t lines = m_visibleLines;
    const std::size_t columns = m_visibleColumns;
    std::size_t first = m_firstLine;
    std::size_t offset = m_firstColumn;
    // The usual case while text streams in: the caret is in sight, and text that only grew cannot
    // have pulled the end of the text above the window.
    const bool inSight =
        line >= first && line < first + lines && column >= offset && column < offset + columns;
    if (inSight && column < m_knownWidth && (textOnlyGrew || first <= VerticalRange()))
        return;
    // The scroll range grows in steps too, for the same reason.
    if (column + 1 > m_knownWidth)
        m_knownWidth = column + 1 + columns;
    if (line < first)
        first = line;
    else if (line >= first + lines)
        first = line + 1 - lines;
    if (column < offset)
        offset = column - std::min(column, columns / 2);
    else if (column >= offset + columns)
        offset = column + 1 - columns + columns / 2;
    m_firstLine = std::min(first, VerticalRange());
    m_firstColumn = std::min(offset, HorizontalRange());
}

std::size_t EditView::VerticalRange() const {
    const std::size_t lineCount = m_model.Buffer().LineCount();
    return lineCount > m_visibleLines ? lineCount - m_visibleLines : 0;
}

std::size_t EditView::HorizontalRange() const {
    return m_knownWidth > m_visibleColumns ? m_knownWidth - m_visibleColumns : 0;
}

// Page Up and Page Down move the view by a window before the caret follows.
void EditView::ScrollLines(std::ptrdiff_t delta) {
    SyncScrollBars();
    QScrollBar* bar = verticalScrollBar();
    bar->setValue(static_cast<int>(std::clamp<std::ptrdiff_t>(static_cast<std::ptrdiff_t>(bar->value()) + delta,
                                                              INT_MIN, INT_MAX)));
}

void EditView::SyncScrollBars() {
    m_barsBehind = false;
    m_settingBars = true;
    SetBar(Qt::Vertical, VerticalRange(), m_visibleLines, m_firstLine);
    SetBar(Qt::Horizontal, HorizontalRange(), m_visibleColumns, m_firstColumn);
    m_settingBars = false;
    // A place past a range that shrank is where the bar stopped.
    m_firstLine = static_cast<std::size_t>(m_vertical.value);
    m_firstColumn = static_cast<std::size_t>(m_horizontal.value);
}

// Hands a bar its range, page and value. What the bars hold is mirrored here, so that the usual
// case, nothing to change, costs no call into them.
void EditView::SetBar(Qt::Orientation which, std::size_t maximum, std::size_t page, std::size_t value) {
    BarState& state = which == Qt::Vertical ? m_vertical : m_horizontal;
    const int max = ToInt(maximum);
    const int step = ToInt(page);
    const int at = std::min(ToInt(value), max);
    if (state.maximum == max && state.page == step && state.value == at)
        return;
    // The view put its own bars in place when it was made.
    auto* bar = static_cast<EditViewScrollBar*>(which == Qt::Vertical ? verticalScrollBar() : horizontalScrollBar());
    bar->SetState(max, step, at);
    state = {bar->maximum(), bar->pageStep(), bar->value()};
}

// Whoever moved a scroll bar (the user dragging it, clicking its arrows or trough, a wheel, PageUp
// and PageDown, or this view handing it its place), the view shows, hit-tests and scrolls from
// where that bar now is. Only the bar that moved is read: the other may not have caught up yet.
void EditView::scrollContentsBy(int dx, int dy) {
    if (dy != 0) {
        m_vertical.value = verticalScrollBar()->value();
        m_firstLine = static_cast<std::size_t>(m_vertical.value);
    }
    if (dx != 0) {
        m_horizontal.value = horizontalScrollBar()->value();
        m_firstColumn = static_cast<std::size_t>(m_horizontal.value);
    }
    if (!m_settingBars)
        MarkDirty();
}

// The user acts on a bar as it stands for the text now, not as it stood at the last frame.
bool EditView::eventFilter(QObject* watched, QEvent* event) {
    const bool onBar = watched == verticalScrollBar() || watched == horizontalScrollBar();
    if (onBar && m_barsBehind) {
        switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
        case QEvent::Wheel:
        case QEvent::KeyPress:
            SyncScrollBars();
            break;
        default:
            break;
        }
    }
    return QAbstractScrollArea::eventFilter(watched, event);
}

} // namespace framework
