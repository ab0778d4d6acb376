#pragma once
// The text of an edit control: 8-bit bytes with a line index.
//
// A line break is the byte pair CR LF (13, 10), stored as such. A CR or LF that is not part of such
// a pair is an ordinary byte of its line. Every byte value is kept exactly.
//
// The bytes live in a gap buffer, so inserting at one place costs constant time per byte whatever
// the size of the text or the length of the line. The line index keeps, for blocks of a few
// kilobytes, where each starts and how many breaks lie before it; a line's start or the line of a
// position is a binary search over the blocks plus a scan inside one block. The index costs well
// under one per cent of the text; the gap adds at most a quarter.

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

#include "framework/text/TextBufferBlocks.h"
#include "framework/text/TextBufferGap.h"

namespace framework {

class TextBuffer {
public:
    TextBuffer() = default;

    void Insert(std::size_t pos, const char* bytes, std::size_t length);
    // One byte that is neither CR nor LF: the commonest edit by far (every received character), so it
    // skips the general path's scans. pos <= Length().
    void InsertPlainByte(std::size_t pos, char byte);
    void Erase(std::size_t pos, std::size_t length);
    void Replace(std::size_t pos, std::size_t length, const char* bytes, std::size_t newLength);
    void Assign(const char* bytes, std::size_t length);

    std::string Text() const;
    std::size_t Length() const { return m_bytes.Size(); }
    unsigned char At(std::size_t pos) const { return static_cast<unsigned char>(m_bytes[pos]); }
    // True when a CR LF pair begins at pos.
    bool IsBreakAt(std::size_t pos) const;

    std::size_t LineCount() const { return m_blocks.LineAt(m_blocks.Count()) + 1; }
    std::size_t LineStart(std::size_t line) const;
    // Bytes of the line without its break.
    std::size_t LineLength(std::size_t line) const { return LineEnd(line) - LineStart(line); }
    // Position just after the last byte of the line, where its break (if any) begins.
    std::size_t LineEnd(std::size_t line) const;
    // The line that holds pos; a position between CR and LF belongs to the line the pair ends.
    std::size_t LineOf(std::size_t pos) const;

    // Copies [pos, pos + length) to out.
    void Copy(std::size_t pos, std::size_t length, char* out) const;
    std::string Substring(std::size_t pos, std::size_t length) const;
    // [pos, pos + length) as up to two pieces, without copying; valid until the next change.
    std::array<std::string_view, 2> Pieces(std::size_t pos, std::size_t length) const;

    // Bytes reserved for text and index together.
    std::size_t MemoryBytes() const { return m_bytes.CapacityBytes() + m_blocks.BytesOfIndex(); }

private:
    // Line feeds at positions in [from, to) whose preceding byte is a CR.
    std::size_t CountBreakEnds(std::size_t from, std::size_t to) const;
    // Position of the n-th (1-based) break-ending LF at or after from, which must exist.
    std::size_t FindBreakEnd(std::size_t from, std::size_t n) const;
    template <typename Stop>
    std::size_t ScanBreakEnds(std::size_t from, std::size_t to, Stop stop) const;
    bool EndsBreak(std::size_t pos) const;
    void InsertBytes(std::size_t pos, const char* bytes, std::size_t length);
    void SplitLargeBlock(std::size_t block);
    void MergeSmallBlock(std::size_t block);

    TextBufferGap<char> m_bytes;
    TextBufferBlocks m_blocks;
};

} // namespace framework
