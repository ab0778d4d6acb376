#include "framework/text/TextBuffer.h"

#include <algorithm>
#include <cstring>

#include "platform/base/Check.h"

namespace framework {

namespace {

// Blocks are kept between these sizes so that a scan inside one stays short and the index small.
constexpr std::size_t kMaxBlock = 4096;
constexpr std::size_t kMinBlock = 512;
// Size of the blocks a large insertion is cut into: room for typing before the next split.
constexpr std::size_t kBulkBlock = 3072;

constexpr char kCR = '\r';
constexpr char kLF = '\n';

} // namespace

void TextBuffer::Insert(std::size_t pos, const char* bytes, std::size_t length) {
    if (bytes == nullptr || length == 0)
        return;
    pos = std::min(pos, Length());
    if (m_bytes.Owns(bytes)) {
        // The source would move under us while the gap moves.
        const std::string copy(bytes, length);
        InsertBytes(pos, copy.data(), length);
        return;
    }
    InsertBytes(pos, bytes, length);
}

void TextBuffer::InsertPlainByte(std::size_t pos, char byte) {
    MT_CHECK(byte != kCR && byte != kLF && pos <= Length());
    const std::size_t block = m_blocks.FindByPos(pos);
    // The new byte ends no break, and the one after it no longer can; only a pair it parts is lost.
    const bool parted = EndsBreak(pos);
    m_bytes.Insert(pos, byte);
    m_blocks.Shift(block, 1, parted ? -1 : 0);
    if (m_blocks.Span(block) > kMaxBlock)
        SplitLargeBlock(block);
}

void TextBuffer::InsertBytes(std::size_t pos, const char* bytes, std::size_t length) {
    const std::size_t block = m_blocks.FindByPos(pos);
    // The byte now at pos ends up just after the insertion; whether it ends a break may change.
    const std::size_t before = EndsBreak(pos) ? 1 : 0;
    m_bytes.Insert(pos, bytes, length);
    const std::size_t after = length == 1 ? (EndsBreak(pos) ? 1 : 0) + (EndsBreak(pos + 1) ? 1 : 0)
                                          : CountBreakEnds(pos, std::min(pos + length + 1, Length()));
    m_blocks.Shift(block, static_cast<std::ptrdiff_t>(length),
                   static_cast<std::ptrdiff_t>(after) - static_cast<std::ptrdiff_t>(before));
    if (m_blocks.Span(block) > kMaxBlock)
        SplitLargeBlock(block);
}

void TextBuffer::Erase(std::size_t pos, std::size_t length) {
    pos = std::min(pos, Length());
    length = std::min(length, Length() - pos);
    if (length == 0)
        return;
    const std::size_t end = pos + length;
    const std::size_t first = m_blocks.FindByPos(pos);
    const std::size_t last = m_blocks.FindByPos(end - 1);
    const TextBufferBlocks::Start start = m_blocks.At(first);
    const TextBufferBlocks::Start stop = m_blocks.At(last + 1);
    // The byte after the range: inside the last block it is recounted with the rest of the blocks
    // below; as the first byte of the next block, only its own pairing is looked at.
    const bool followerInside = end < stop.pos;
    const bool followerWasEnd = EndsBreak(end);

    m_bytes.Erase(pos, length);
    const std::size_t remaining = stop.pos - start.pos - length;
    const std::size_t breaks = CountBreakEnds(start.pos, start.pos + remaining);
    for (std::size_t k = last; k > first; --k)
        m_blocks.Join(k);
    m_blocks.Shift(first, -static_cast<std::ptrdiff_t>(length),
                   static_cast<std::ptrdiff_t>(breaks) - static_cast<std::ptrdiff_t>(stop.line - start.line));
    if (!followerInside && pos < Length()) {
        const bool followerIsEnd = EndsBreak(pos);
        if (followerIsEnd != followerWasEnd)
            m_blocks.Shift(first + 1, 0, followerIsEnd ? 1 : -1);
    }
    MergeSmallBlock(first);
}

void TextBuffer::Replace(std::size_t pos, std::size_t length, const char* bytes, std::size_t newLength) {
    if (bytes != nullptr && newLength != 0 && m_bytes.Owns(bytes)) {
        const std::string copy(bytes, newLength);
        Replace(pos, length, copy.data(), newLength);
        return;
    }
    pos = std::min(pos, Length());
    if (length != 0)
        Erase(pos, length);
    Insert(pos, bytes, newLength);
}

void TextBuffer::Assign(const char* bytes, std::size_t length) {
    if (bytes != nullptr && length != 0 && m_bytes.Owns(bytes)) {
        const std::string copy(bytes, length);
        Assign(copy.data(), length);
        return;
    }
    m_bytes.Clear();
    m_blocks.Reset();
    Insert(0, bytes, length);
}

// A block grown past the limit is cut into pieces; each new start is counted by scanning the piece
// before it, so the work is proportional to the bytes that made the block grow.
void TextBuffer::SplitLargeBlock(std::size_t block) {
    for (;;) {
        const TextBufferBlocks::Start start = m_blocks.At(block);
        const std::size_t span = m_blocks.At(block + 1).pos - start.pos;
        if (span <= kMaxBlock)
            return;
        const std::size_t piece = span <= 2 * kMaxBlock ? span / 2 : kBulkBlock;
        const std::size_t cut = start.pos + piece;
        m_blocks.Split(block + 1, {cut, start.line + CountBreakEnds(start.pos, cut)});
        ++block;
    }
}

// A block shrunk below the limit joins its neighbour (and is cut again if that makes it too large),
// so erasing can never leave many tiny blocks behind.
void TextBuffer::MergeSmallBlock(std::size_t block) {
    const std::size_t span = m_blocks.At(block + 1).pos - m_blocks.At(block).pos;
    if (m_blocks.Count() > 1 && span < kMinBlock) {
        if (block + 1 == m_blocks.Count())
            --block;
        m_blocks.Join(block + 1);
    }
    SplitLargeBlock(block);
}

bool TextBuffer::EndsBreak(std::size_t pos) const {
    return pos > 0 && pos < Length() && m_bytes[pos] == kLF && m_bytes[pos - 1] == kCR;
}

bool TextBuffer::IsBreakAt(std::size_t pos) const {
    return pos + 1 < Length() && m_bytes[pos] == kCR && m_bytes[pos + 1] == kLF;
}

// Calls stop(q) for each line feed q in [from, to) whose preceding byte is a CR, until stop returns
// true; gives that q, or to. memchr does the searching, so a long line costs little more than a copy.
template <typename Stop>
std::size_t TextBuffer::ScanBreakEnds(std::size_t from, std::size_t to, Stop stop) const {
    std::size_t base = from;
    for (const std::string_view piece : Pieces(from, to - from)) {
        const char* const begin = piece.data();
        const char* const end = begin + piece.size();
        for (const char* p = begin; p != end; ++p) {
            p = static_cast<const char*>(std::memchr(p, kLF, static_cast<std::size_t>(end - p)));
            if (p == nullptr)
                break;
            const std::size_t q = base + static_cast<std::size_t>(p - begin);
            if (q > 0 && (p > begin ? p[-1] : m_bytes[q - 1]) == kCR && stop(q))
                return q;
        }
        base += piece.size();
    }
    return to;
}

std::size_t TextBuffer::CountBreakEnds(std::size_t from, std::size_t to) const {
    std::size_t count = 0;
    ScanBreakEnds(from, to, [&count](std::size_t) {
        ++count;
        return false;
    });
    return count;
}

std::size_t TextBuffer::FindBreakEnd(std::size_t from, std::size_t n) const {
    return ScanBreakEnds(from, Length(), [&n](std::size_t) { return --n == 0; });
}

std::size_t TextBuffer::LineStart(std::size_t line) const {
    line = std::min(line, LineCount() - 1);
    if (line == 0)
        return 0;
    const TextBufferBlocks::Start start = m_blocks.At(m_blocks.FindByBreak(line));
    return FindBreakEnd(start.pos, line - start.line) + 1;
}

std::size_t TextBuffer::LineEnd(std::size_t line) const {
    if (line + 1 >= LineCount())
        return Length();
    return LineStart(line + 1) - 2;
}

std::size_t TextBuffer::LineOf(std::size_t pos) const {
    pos = std::min(pos, Length());
    const TextBufferBlocks::Start start = m_blocks.At(m_blocks.FindByPos(pos));
    return start.line + CountBreakEnds(start.pos, pos);
}

std::string TextBuffer::Text() const {
    return Substring(0, Length());
}

void TextBuffer::Copy(std::size_t pos, std::size_t length, char* out) const {
    m_bytes.CopyOut(pos, length, out);
}

std::string TextBuffer::Substring(std::size_t pos, std::size_t length) const {
    pos = std::min(pos, Length());
    length = std::min(length, Length() - pos);
    std::string result(length, '\0');
    Copy(pos, length, result.data());
    return result;
}

std::array<std::string_view, 2> TextBuffer::Pieces(std::size_t pos, std::size_t length) const {
    const auto spans = m_bytes.Spans(pos, length);
    return {std::string_view(spans[0].data(), spans[0].size()),
            std::string_view(spans[1].data(), spans[1].size())};
}

} // namespace framework
