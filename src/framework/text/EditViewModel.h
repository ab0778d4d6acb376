#pragma once
// What an edit view edits, without the widget: the text, the caret and the selection anchor, and
// the control's own editing and navigation rules.
//
// A CR LF pair is one line break for every purpose here: the caret and the anchor never stand
// between its two bytes, moving left or right steps over both, backspace and delete remove both.
// When an edit brings a CR and an LF together around the caret, the caret moves out of the new
// pair: after it when text was inserted, before it when text was removed.
//
// The caret's line and column are kept up to date cheaply while typing at the caret, so that typing
// into a megabyte-long line costs no more than typing into a short one; columns in long lines are
// found through an index of them (EditViewColumnIndex) that every edit here keeps right: each goes
// through ChangeFrom, which tells the index where the text changed.

#include <cstddef>
#include <string>
#include <string_view>

#include "framework/text/EditViewColumnIndex.h"
#include "framework/text/TextBuffer.h"

namespace framework {

class EditViewModel {
public:
    const TextBuffer& Buffer() const { return m_text; }

    std::size_t Caret() const { return m_caret; }
    std::size_t Anchor() const { return m_anchor; }
    std::size_t SelectionStart() const { return m_anchor < m_caret ? m_anchor : m_caret; }
    std::size_t SelectionEnd() const { return m_anchor < m_caret ? m_caret : m_anchor; }
    bool HasSelection() const { return m_anchor != m_caret; }

    // Whole text replaced; caret at the start, nothing selected.
    void SetText(const char* bytes, std::size_t length);
    // The selection (or nothing, at the caret) replaced by raw bytes; the caret ends after them.
    void ReplaceSelection(const char* bytes, std::size_t length);
    // The control's own handling of a character: CR and LF insert a line break (CR LF), backspace
    // removes the selection or what is before the caret, any other byte is inserted.
    void DefaultChar(unsigned char ch);
    void Backspace();
    // The Delete key: the selection, or the byte (or line break) after the caret.
    void DeleteForward();

    // Selects from anchor to caret (clamped to the text).
    void Select(std::size_t anchor, std::size_t caret);
    // Moves the caret; with extend the anchor stays, otherwise the selection collapses.
    void MoveCaret(std::size_t pos, bool extend);
    std::string SelectedBytes() const;

    // Where the navigation keys lead from pos.
    std::size_t Left(std::size_t pos) const;
    std::size_t Right(std::size_t pos) const;
    std::size_t WordLeft(std::size_t pos) const;
    std::size_t WordRight(std::size_t pos) const;
    std::size_t Home(std::size_t pos) const { return m_text.LineStart(m_text.LineOf(pos)); }
    std::size_t End(std::size_t pos) const { return m_text.LineEnd(m_text.LineOf(pos)); }
    // The position in line nearest to column (for Up, Down and mouse clicks).
    std::size_t PosAt(std::size_t line, std::size_t column) const;
    // The word around pos (for double clicks): [first, second).
    std::pair<std::size_t, std::size_t> WordAt(std::size_t pos) const;

    // Where the columns of long lines fall, kept up to date with the edits made here; for drawing.
    EditViewColumnIndex& Columns() const { return m_columns; }

    std::size_t CaretLine() const;
    std::size_t CaretColumn() const;

private:
    // The text, to be changed from pos on: every edit goes through here, so that the column index
    // hears where the text changed before it is next used.
    TextBuffer& ChangeFrom(std::size_t pos);
    // pos lies between the CR and the LF of a line break.
    bool InsideBreak(std::size_t pos) const;
    void Edit(std::size_t from, std::size_t to, const char* bytes, std::size_t length);
    std::size_t OutOfBreak(std::size_t pos, bool forward) const;
    bool IsWordByte(std::size_t pos) const;
    void UpdateCaretPlace() const;
    static void PlaceAfter(std::string_view bytes, std::size_t& line, std::size_t& column);

    TextBuffer m_text;
    std::size_t m_caret = 0;
    std::size_t m_anchor = 0;
    // Line and column of m_caret, when m_placeKnown.
    mutable bool m_placeKnown = true;
    mutable std::size_t m_caretLine = 0;
    mutable std::size_t m_caretColumn = 0;
    mutable EditViewColumnIndex m_columns;
};

} // namespace framework
