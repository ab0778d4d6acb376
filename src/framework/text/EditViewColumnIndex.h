#pragma once
// Where the columns of long lines fall, kept between uses: for a line of many kilobytes, the column
// at every kStride-th byte from its start. Finding the bytes at the left edge of the window, the
// column of a position or the width of such a line then scans at most one stride from the nearest
// mark instead of the whole line from its start, so that a paint of a line of a hundred megabytes
// costs what its visible part costs.
//
// Marks are made as scans first pass them. An edit only tells the index where it began (one
// comparison, so typing pays nothing for it); marks at or after that place, and lines that start
// there or later, are dropped at the next use. Text arriving at the end of a long line therefore
// keeps every mark made so far.

#include <cstddef>
#include <vector>

#include "framework/text/EditViewColumns.h"

namespace framework {

class TextBuffer;

class EditViewColumnIndex {
public:
    using Place = EditViewColumns::Place;

    // Bytes between two marks; shorter lines are scanned whole, as that costs no more.
    static constexpr std::size_t kStride = 16384;
    // Lines indexed at once: more than a window shows.
    static constexpr std::size_t kMaxLines = 256;

    // The text changed from pos on.
    void Edited(std::size_t pos) {
        if (pos < m_editedFrom)
            m_editedFrom = pos;
    }

    // As EditViewColumns::Seek from the start of the line [start, end).
    Place Seek(const TextBuffer& text, std::size_t start, std::size_t end, std::size_t target);
    // Column at pos in the line that starts at start; known, a place of that line before pos, saves
    // scanning up to it.
    std::size_t ColumnAt(const TextBuffer& text, std::size_t start, std::size_t pos, Place known = {0, 0});
    // The position in [start, end] whose column boundary lies nearest to target.
    std::size_t Nearest(const TextBuffer& text, std::size_t start, std::size_t end, std::size_t target);

    // Bytes looked at so far, for measuring what a paint costs.
    std::size_t ScannedBytes() const { return m_scanned; }

private:
    struct Line {
        std::size_t start;
        std::vector<Place> marks; // at start + k * kStride, k = 0, 1, ...
        std::size_t lastUse;
    };

    Line* Find(std::size_t start, std::size_t end);
    void Forget();
    // Marks up to pos (or the last one before end).
    void Extend(const TextBuffer& text, Line& line, std::size_t pos, std::size_t end);
    // Marks until one lies past column target, or the line ends.
    void ExtendToColumn(const TextBuffer& text, Line& line, std::size_t target, std::size_t end);
    // The last mark at or before pos.
    static const Place& MarkBefore(const Line& line, std::size_t pos);

    std::vector<Line> m_lines;
    std::size_t m_editedFrom = static_cast<std::size_t>(-1);
    std::size_t m_uses = 0;
    std::size_t m_scanned = 0;
};

} // namespace framework
