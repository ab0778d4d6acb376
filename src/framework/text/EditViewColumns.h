#pragma once
// Display columns of an edit view's text: every byte takes one column except TAB, which advances
// to the next multiple of eight. Scans skip from tab to tab, so a long line without tabs costs
// little more than a memchr.

#include <cstddef>
#include <string_view>

namespace framework {

class TextBuffer;

class EditViewColumns {
public:
    static constexpr std::size_t kTabWidth = 8;

    struct Place {
        std::size_t pos;    // a text position
        std::size_t column; // the column where the byte at pos begins
    };

    static std::size_t Advance(std::size_t column, unsigned char byte) {
        return byte == '\t' ? (column / kTabWidth + 1) * kTabWidth : column + 1;
    }
    static std::size_t Advance(std::size_t column, std::string_view bytes);

    // The first position in [from, end) whose byte ends after target, with the column it begins at
    // (at most target); end if no byte does. from begins at column fromColumn.
    static Place Seek(const TextBuffer& text, Place from, std::size_t end, std::size_t target);

    // The position whose column boundary lies nearest to target, from what Seek found for it in a
    // line that ends at lineEnd.
    static std::size_t Nearer(const TextBuffer& text, Place at, std::size_t lineEnd, std::size_t target);
};

} // namespace framework
