#include "framework/text/EditViewModel.h"

#include <algorithm>
#include <cstring>
#include <string_view>

#include "framework/text/EditViewColumns.h"
#include "platform/base/Check.h"

namespace framework {

namespace {

constexpr unsigned char kBackspace = 8;
constexpr unsigned char kLineFeed = 10;
constexpr unsigned char kReturn = 13;
constexpr char kBreak[] = {'\r', '\n'};

bool IsBlank(unsigned char byte) {
    return byte == ' ' || byte == '\t';
}

} // namespace

TextBuffer& EditViewModel::ChangeFrom(std::size_t pos) {
    m_columns.Edited(pos);
    return m_text;
}

bool EditViewModel::InsideBreak(std::size_t pos) const {
    return pos > 0 && m_text.IsBreakAt(pos - 1);
}

void EditViewModel::SetText(const char* bytes, std::size_t length) {
    ChangeFrom(0).Assign(bytes, bytes == nullptr ? 0 : length);
    m_caret = m_anchor = 0;
    m_placeKnown = true;
    m_caretLine = m_caretColumn = 0;
}

void EditViewModel::ReplaceSelection(const char* bytes, std::size_t length) {
    Edit(SelectionStart(), SelectionEnd(), bytes, bytes == nullptr ? 0 : length);
}

void EditViewModel::DefaultChar(unsigned char ch) {
    // A plain byte typed at the caret with nothing selected: the caret moves one byte and its column
    // follows from the byte alone.
    if (ch != kBackspace && ch != kReturn && ch != kLineFeed && m_caret == m_anchor && m_placeKnown) {
        ChangeFrom(m_caret).InsertPlainByte(m_caret, static_cast<char>(ch));
        m_anchor = ++m_caret;
        m_caretColumn = EditViewColumns::Advance(m_caretColumn, ch);
        return;
    }
    if (ch == kBackspace) {
        Backspace();
    } else if (ch == kReturn || ch == kLineFeed) {
        ReplaceSelection(kBreak, sizeof kBreak);
    } else {
        const char byte = static_cast<char>(ch);
        ReplaceSelection(&byte, 1);
    }
}

void EditViewModel::Edit(std::size_t from, std::size_t to, const char* bytes, std::size_t length) {
    // Typing at the caret: where the caret ends up follows from the bytes typed alone, unless they
    // join a CR or LF on either side into a new pair.
    const bool typing = m_placeKnown && from == to && from == m_caret && length > 0 &&
                        !(bytes[0] == '\n' && from > 0 && m_text.At(from - 1) == '\r') &&
                        !(bytes[length - 1] == '\r' && from < m_text.Length() && m_text.At(from) == '\n');
    const std::string_view typed = typing ? std::string_view(bytes, length) : std::string_view();
    std::size_t line = m_caretLine;
    std::size_t column = m_caretColumn;
    if (typing)
        PlaceAfter(typed, line, column);
    if (from == to)
        ChangeFrom(from).Insert(from, bytes, length);
    else
        ChangeFrom(from).Replace(from, to - from, bytes, length);
    m_caret = m_anchor = OutOfBreak(from + length, length > 0);
    MT_CHECK(!InsideBreak(m_caret));
    m_placeKnown = typing;
    m_caretLine = line;
    m_caretColumn = column;
}

// Moves line and column over bytes that contain no pair split across their edges.
void EditViewModel::PlaceAfter(std::string_view bytes, std::size_t& line, std::size_t& column) {
    std::size_t rest = 0;
    for (std::size_t i = 0; i + 1 < bytes.size(); ++i) {
        if (bytes[i] == '\r' && bytes[i + 1] == '\n') {
            ++line;
            rest = ++i + 1;
        }
    }
    column = EditViewColumns::Advance(rest == 0 ? column : 0, bytes.substr(rest));
}

void EditViewModel::Backspace() {
    if (HasSelection()) {
        Edit(SelectionStart(), SelectionEnd(), nullptr, 0);
        return;
    }
    if (m_caret == 0)
        return;
    const std::size_t count = m_caret >= 2 && m_text.IsBreakAt(m_caret - 2) ? 2 : 1;
    const bool oneColumn = m_placeKnown && count == 1 && m_text.At(m_caret - 1) != '\t';
    const std::size_t at = m_caret - count;
    ChangeFrom(at).Erase(at, count);
    m_caret = m_anchor = OutOfBreak(at, false);
    MT_CHECK(!InsideBreak(m_caret));
    // Unless a CR and LF came together at the caret, it stays on its line, one column further left.
    m_placeKnown = oneColumn && m_caret == at;
    m_caretColumn -= m_placeKnown ? 1 : 0;
}

void EditViewModel::DeleteForward() {
    if (HasSelection()) {
        Edit(SelectionStart(), SelectionEnd(), nullptr, 0);
        return;
    }
    if (m_caret == m_text.Length())
        return;
    const std::size_t at = m_caret;
    ChangeFrom(at).Erase(at, m_text.IsBreakAt(at) ? 2 : 1);
    m_caret = m_anchor = OutOfBreak(at, false);
    MT_CHECK(!InsideBreak(m_caret));
    m_placeKnown = m_placeKnown && m_caret == at;
}

void EditViewModel::Select(std::size_t anchor, std::size_t caret) {
    const std::size_t length = m_text.Length();
    m_anchor = OutOfBreak(std::min(anchor, length), false);
    MoveCaret(caret, true);
}

void EditViewModel::MoveCaret(std::size_t pos, bool extend) {
    pos = OutOfBreak(std::min(pos, m_text.Length()), false);
    if (pos != m_caret)
        m_placeKnown = false;
    m_caret = pos;
    if (!extend)
        m_anchor = pos;
    MT_CHECK(!InsideBreak(m_caret) && !InsideBreak(m_anchor));
}

std::string EditViewModel::SelectedBytes() const {
    return m_text.Substring(SelectionStart(), SelectionEnd() - SelectionStart());
}

std::size_t EditViewModel::OutOfBreak(std::size_t pos, bool forward) const {
    if (pos == 0 || !m_text.IsBreakAt(pos - 1))
        return pos;
    return forward ? pos + 1 : pos - 1;
}

std::size_t EditViewModel::Left(std::size_t pos) const {
    if (pos == 0)
        return 0;
    return pos >= 2 && m_text.IsBreakAt(pos - 2) ? pos - 2 : pos - 1;
}

std::size_t EditViewModel::Right(std::size_t pos) const {
    if (pos >= m_text.Length())
        return m_text.Length();
    return m_text.IsBreakAt(pos) ? pos + 2 : pos + 1;
}

bool EditViewModel::IsWordByte(std::size_t pos) const {
    const unsigned char byte = m_text.At(pos);
    if ((byte >= '0' && byte <= '9') || (byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z') ||
        byte == '_')
        return true;
    return byte >= 0xC0 && byte != 0xD7 && byte != 0xF7; // Latin-1 letters
}

// Over the rest of the word (or run of other symbols), then over the blanks after it; a line break
// is a step of its own.
std::size_t EditViewModel::WordRight(std::size_t pos) const {
    const std::size_t length = m_text.Length();
    if (pos >= length)
        return length;
    if (m_text.IsBreakAt(pos))
        return pos + 2;
    if (!IsBlank(m_text.At(pos))) {
        const bool word = IsWordByte(pos);
        while (pos < length && !m_text.IsBreakAt(pos) && !IsBlank(m_text.At(pos)) && IsWordByte(pos) == word)
            ++pos;
    }
    while (pos < length && IsBlank(m_text.At(pos)))
        ++pos;
    return pos;
}

std::size_t EditViewModel::WordLeft(std::size_t pos) const {
    if (pos == 0)
        return 0;
    if (pos >= 2 && m_text.IsBreakAt(pos - 2))
        return pos - 2;
    while (pos > 0 && IsBlank(m_text.At(pos - 1)))
        --pos;
    if (pos == 0 || (pos >= 2 && m_text.IsBreakAt(pos - 2)))
        return pos;
    const bool word = IsWordByte(pos - 1);
    while (pos > 0 && !IsBlank(m_text.At(pos - 1)) && IsWordByte(pos - 1) == word &&
           !(pos >= 2 && m_text.IsBreakAt(pos - 2)))
        --pos;
    return pos;
}

std::pair<std::size_t, std::size_t> EditViewModel::WordAt(std::size_t pos) const {
    const std::size_t length = m_text.Length();
    std::size_t first = std::min(pos, length);
    if (first == length || !IsWordByte(first)) {
        if (first > 0 && IsWordByte(first - 1))
            --first;
        else
            return {first, first};
    }
    std::size_t second = first;
    while (first > 0 && IsWordByte(first - 1))
        --first;
    while (second < length && IsWordByte(second))
        ++second;
    return {first, second};
}

std::size_t EditViewModel::PosAt(std::size_t line, std::size_t column) const {
    line = std::min(line, m_text.LineCount() - 1);
    return m_columns.Nearest(m_text, m_text.LineStart(line), m_text.LineEnd(line), column);
}

void EditViewModel::UpdateCaretPlace() const {
    if (m_placeKnown)
        return;
    m_caretLine = m_text.LineOf(m_caret);
    m_caretColumn = m_columns.ColumnAt(m_text, m_text.LineStart(m_caretLine), m_caret);
    m_placeKnown = true;
}

std::size_t EditViewModel::CaretLine() const {
    UpdateCaretPlace();
    return m_caretLine;
}

std::size_t EditViewModel::CaretColumn() const {
    UpdateCaretPlace();
    return m_caretColumn;
}

} // namespace framework
