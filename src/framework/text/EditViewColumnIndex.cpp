#include "framework/text/EditViewColumnIndex.h"

#include <algorithm>

#include "framework/text/TextBuffer.h"

namespace framework {

EditViewColumnIndex::Place EditViewColumnIndex::Seek(const TextBuffer& text, std::size_t start, std::size_t end,
                                                     std::size_t target) {
    Place from{start, 0};
    if (Line* line = Find(start, end)) {
        ExtendToColumn(text, *line, target, end);
        const auto after = std::upper_bound(line->marks.begin(), line->marks.end(), target,
                                            [](std::size_t column, const Place& mark) { return column < mark.column; });
        from = *(after - 1); // the first mark is column 0
    }
    const Place at = EditViewColumns::Seek(text, from, end, target);
    m_scanned += at.pos - from.pos;
    return at;
}

std::size_t EditViewColumnIndex::ColumnAt(const TextBuffer& text, std::size_t start, std::size_t pos,
                                          Place known) {
    Place from{start, 0};
    if (Line* line = Find(start, pos)) {
        Extend(text, *line, pos, pos);
        from = MarkBefore(*line, pos);
    }
    if (known.pos > from.pos && known.pos <= pos)
        from = known;
    std::size_t column = from.column;
    for (const std::string_view piece : text.Pieces(from.pos, pos - from.pos))
        column = EditViewColumns::Advance(column, piece);
    m_scanned += pos - from.pos;
    return column;
}

std::size_t EditViewColumnIndex::Nearest(const TextBuffer& text, std::size_t start, std::size_t end,
                                         std::size_t target) {
    return EditViewColumns::Nearer(text, Seek(text, start, end, target), end, target);
}

// The line indexed from start, made when it is long enough to be worth it (end is as far as it is
// known to reach); null for a short line.
EditViewColumnIndex::Line* EditViewColumnIndex::Find(std::size_t start, std::size_t end) {
    Forget();
    ++m_uses;
    const auto found = std::find_if(m_lines.begin(), m_lines.end(), [start](const Line& l) { return l.start == start; });
    if (found != m_lines.end()) {
        found->lastUse = m_uses;
        return &*found;
    }
    if (end - start < kStride)
        return nullptr;
    if (m_lines.size() >= kMaxLines) {
        const auto oldest = std::min_element(m_lines.begin(), m_lines.end(),
                                             [](const Line& a, const Line& b) { return a.lastUse < b.lastUse; });
        m_lines.erase(oldest);
    }
    m_lines.push_back(Line{start, {Place{start, 0}}, m_uses});
    return &m_lines.back();
}

// Applies the edits made since the last use. A byte's column depends only on the bytes before it in
// its line, so marks before the first edited byte stay right; a line that starts after it may no
// longer be a line, or start elsewhere.
void EditViewColumnIndex::Forget() {
    if (m_editedFrom == static_cast<std::size_t>(-1))
        return;
    const std::size_t from = m_editedFrom;
    m_editedFrom = static_cast<std::size_t>(-1);
    std::erase_if(m_lines, [from](const Line& line) { return line.start > from; });
    for (Line& line : m_lines) {
        while (line.marks.size() > 1 && line.marks.back().pos >= from)
            line.marks.pop_back();
    }
}

void EditViewColumnIndex::Extend(const TextBuffer& text, Line& line, std::size_t pos, std::size_t end) {
    const std::size_t limit = std::min(pos, end);
    while (line.marks.back().pos + kStride <= limit) {
        const Place last = line.marks.back();
        std::size_t column = last.column;
        for (const std::string_view piece : text.Pieces(last.pos, kStride))
            column = EditViewColumns::Advance(column, piece);
        m_scanned += kStride;
        line.marks.push_back({last.pos + kStride, column});
    }
}

void EditViewColumnIndex::ExtendToColumn(const TextBuffer& text, Line& line, std::size_t target, std::size_t end) {
    while (line.marks.back().column <= target && line.marks.back().pos + kStride <= end)
        Extend(text, line, line.marks.back().pos + kStride, end);
}

const EditViewColumnIndex::Place& EditViewColumnIndex::MarkBefore(const Line& line, std::size_t pos) {
    const auto after = std::upper_bound(line.marks.begin(), line.marks.end(), pos,
                                        [](std::size_t p, const Place& mark) { return p < mark.pos; });
    return *(after - 1);
}

} // namespace framework
