// EditView: keyboard, mouse, input method and context menu.

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QScrollBar>
#include <algorithm>
#include <cmath>

#include "framework/edit/EditView.h"
#include "framework/edit/KeyTranslator.h"

namespace framework {

// Tab is a character for the line, not a way to the next widget.
bool EditView::focusNextPrevChild(bool) {
    return false;
}

void EditView::keyPressEvent(QKeyEvent* event) {
    if (Navigate(*event)) {
        event->accept();
        return;
    }
    if (const auto ch = KeyTranslator::Translate(*event)) {
        Typed(*ch, event->isAutoRepeat());
        event->accept();
        return;
    }
    event->ignore();
}

void EditView::Typed(unsigned char ch, bool autoRepeat) {
    if (m_typedHandler)
        m_typedHandler(ch, autoRepeat);
    else
        DefaultChar(ch);
}

// The keys that move the caret or edit without being characters.
bool EditView::Navigate(const QKeyEvent& event) {
    const Qt::KeyboardModifiers modifiers = event.modifiers();
    if (modifiers.testFlag(Qt::AltModifier) || modifiers.testFlag(Qt::MetaModifier))
        return false;
    const bool shift = modifiers.testFlag(Qt::ShiftModifier);
    const bool control = modifiers.testFlag(Qt::ControlModifier);
    const std::size_t caret = m_model.Caret();
    switch (event.key()) {
    case Qt::Key_Insert:
        if (control == shift)
            return false;
        if (control)
            Copy();
        else
            Paste();
        return true;
    case Qt::Key_Delete:
        if (control)
            return false;
        m_model.DeleteForward();
        m_goalKept = false;
        AfterChange();
        return true;
    case Qt::Key_Left:
        MoveCaret(control                            ? m_model.WordLeft(caret)
                  : m_model.HasSelection() && !shift ? m_model.SelectionStart()
                                                     : m_model.Left(caret),
                  shift);
        return true;
    case Qt::Key_Right:
        MoveCaret(control                            ? m_model.WordRight(caret)
                  : m_model.HasSelection() && !shift ? m_model.SelectionEnd()
                                                     : m_model.Right(caret),
                  shift);
        return true;
    case Qt::Key_Home:
        MoveCaret(control ? 0 : m_model.Home(caret), shift);
        return true;
    case Qt::Key_End:
        MoveCaret(control ? m_model.Buffer().Length() : m_model.End(caret), shift);
        return true;
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
        return !control && NavigateLines(event.key(), shift);
    default:
        return false;
    }
}

// Up, Down, PageUp and PageDown keep aiming at the column where the first of them started.
bool EditView::NavigateLines(int key, bool extend) {
    if (!m_goalKept)
        m_goalColumn = m_model.CaretColumn();
    const auto page = static_cast<std::ptrdiff_t>(VisibleLines());
    const std::ptrdiff_t delta = key == Qt::Key_Up       ? -1
                                 : key == Qt::Key_Down   ? 1
                                 : key == Qt::Key_PageUp ? -page
                                                         : page;
    const auto last = static_cast<std::ptrdiff_t>(m_model.Buffer().LineCount() - 1);
    const std::ptrdiff_t line =
        std::clamp(static_cast<std::ptrdiff_t>(m_model.CaretLine()) + delta, std::ptrdiff_t{0}, last);
    if (key == Qt::Key_PageUp || key == Qt::Key_PageDown)
        ScrollLines(delta);
    m_model.MoveCaret(m_model.PosAt(static_cast<std::size_t>(line), m_goalColumn), extend);
    m_goalKept = true;
    AfterChange();
    return true;
}

void EditView::MoveCaret(std::size_t pos, bool extend) {
    m_model.MoveCaret(pos, extend);
    m_goalKept = false;
    AfterChange();
}

std::size_t EditView::PosAt(const QPoint& point) const {
    const auto row = static_cast<std::ptrdiff_t>(std::floor(static_cast<double>(point.y()) / m_lineHeight));
    const auto last = static_cast<std::ptrdiff_t>(m_model.Buffer().LineCount() - 1);
    const std::ptrdiff_t line =
        std::clamp(static_cast<std::ptrdiff_t>(FirstVisibleLine()) + row, std::ptrdiff_t{0}, last);
    const auto cells = static_cast<std::ptrdiff_t>(std::lround(point.x() / m_cellWidth));
    const std::ptrdiff_t column =
        std::max<std::ptrdiff_t>(0, static_cast<std::ptrdiff_t>(HorizontalOffset()) + cells);
    return m_model.PosAt(static_cast<std::size_t>(line), static_cast<std::size_t>(column));
}

void EditView::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    MoveCaret(PosAt(event->position().toPoint()), event->modifiers().testFlag(Qt::ShiftModifier));
    m_selecting = true;
    event->accept();
}

void EditView::mouseMoveEvent(QMouseEvent* event) {
    if (m_selecting && event->buttons().testFlag(Qt::LeftButton))
        MoveCaret(PosAt(event->position().toPoint()), true);
    event->accept();
}

void EditView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        m_selecting = false;
    event->accept();
}

void EditView::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    const auto word = m_model.WordAt(PosAt(event->position().toPoint()));
    m_model.Select(word.first, word.second);
    m_goalKept = false;
    AfterChange();
    event->accept();
}

// The menu pops up and this returns at once: nothing waits on it, so the receive loop goes on.
void EditView::contextMenuEvent(QContextMenuEvent* event) {
    m_copyAction->setEnabled(m_model.HasSelection());
    m_pasteAction->setEnabled(!QGuiApplication::clipboard()->text().isEmpty());
    m_menu->popup(event->globalPos());
    event->accept();
}

// Text composed by an input method (dead keys, compose sequences) is typed character by character.
void EditView::inputMethodEvent(QInputMethodEvent* event) {
    const QString text = event->commitString();
    for (const QChar c : text) {
        // Halves of a character beyond the basic plane are not Latin-1 either.
        if (const auto byte = c.isSurrogate() ? std::nullopt : KeyTranslator::Printable(c.unicode()))
            Typed(*byte, false);
    }
    event->accept();
}

QVariant EditView::inputMethodQuery(Qt::InputMethodQuery query) const {
    if (query == Qt::ImEnabled)
        return true;
    if (query == Qt::ImCursorRectangle) {
        const auto line = static_cast<double>(CaretLine()) - static_cast<double>(FirstVisibleLine());
        const auto column = static_cast<double>(CaretColumn()) - static_cast<double>(HorizontalOffset());
        const QRect caret(static_cast<int>(column * m_cellWidth), static_cast<int>(line * m_lineHeight), 1,
                          m_lineHeight);
        return caret.translated(viewport()->pos());
    }
    return QAbstractScrollArea::inputMethodQuery(query);
}

} // namespace framework
