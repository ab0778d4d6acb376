#include "framework/text/EditViewColumns.h"

#include <cstring>

#include "framework/text/TextBuffer.h"

namespace framework {

std::size_t EditViewColumns::Advance(std::size_t column, std::string_view bytes) {
    if (bytes.size() < 16) {
        // A few typed bytes: looking at each is cheaper than setting up a search.
        for (const char c : bytes)
            column = Advance(column, static_cast<unsigned char>(c));
        return column;
    }
    const char* p = bytes.data();
    const char* const end = p + bytes.size();
    while (p != end) {
        const auto* tab = static_cast<const char*>(std::memchr(p, '\t', static_cast<std::size_t>(end - p)));
        if (tab == nullptr)
            return column + static_cast<std::size_t>(end - p);
        column = Advance(column + static_cast<std::size_t>(tab - p), '\t');
        p = tab + 1;
    }
    return column;
}

EditViewColumns::Place EditViewColumns::Seek(const TextBuffer& text, Place from, std::size_t end,
                                             std::size_t target) {
    Place at = from;
    for (const std::string_view piece : text.Pieces(from.pos, end - from.pos)) {
        const char* p = piece.data();
        const char* const stop = p + piece.size();
        while (p != stop) {
            const auto* tab =
                static_cast<const char*>(std::memchr(p, '\t', static_cast<std::size_t>(stop - p)));
            const auto plain = static_cast<std::size_t>((tab == nullptr ? stop : tab) - p);
            // Bytes before the next tab are one column each.
            if (at.column + plain > target) {
                const std::size_t skip = target >= at.column ? target - at.column : 0;
                return {at.pos + skip, at.column + skip};
            }
            at.pos += plain;
            at.column += plain;
            if (tab == nullptr)
                break;
            const std::size_t next = Advance(at.column, '\t');
            if (next > target)
                return at;
            at.pos += 1;
            at.column = next;
            p = tab + 1;
        }
    }
    return at;
}

std::size_t EditViewColumns::Nearer(const TextBuffer& text, Place at, std::size_t lineEnd, std::size_t target) {
    if (at.pos == lineEnd || at.column == target)
        return at.pos;
    // Inside a tab: take the nearer edge.
    const std::size_t next = Advance(at.column, text.At(at.pos));
    return target - at.column > next - target ? at.pos + 1 : at.pos;
}

} // namespace framework
