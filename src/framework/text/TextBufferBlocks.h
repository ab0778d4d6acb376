#pragma once
// The line index of TextBuffer: the text cut into blocks of a few kilobytes, each known by where it
// starts in the text and how many line breaks come before it. Block i covers the text from
// Start(i).pos up to Start(i + 1).pos; Start(Count()) is the end of the text and the total number of
// breaks. Finding a block by position or by line is a binary search; what lies inside a block is
// found by scanning its few kilobytes.
//
// An edit changes the starts of every later block. Those changes are kept as one pending shift (a
// "step") that applies to all blocks after m_step, and is only written into them when an edit
// happens elsewhere; a run of edits in one place therefore costs constant time each.

#include <cstddef>

#include "framework/text/TextBufferGap.h"

namespace framework {

class TextBufferBlocks {
public:
    struct Start {
        std::size_t pos;  // text position where the block begins
        std::size_t line; // number of line breaks before that position
    };

    TextBufferBlocks();

    // Back to a single empty block.
    void Reset();

    std::size_t Count() const { return m_starts.Size() - 1; }
    Start At(std::size_t i) const {
        Start s = m_starts[i];
        if (i > m_step) {
            s.pos += static_cast<std::size_t>(m_stepBytes);
            s.line += static_cast<std::size_t>(m_stepBreaks);
        }
        return s;
    }
    // One half of At(i). The edit path asks for a single field just after Shift wrote the pending
    // step; reading both halves of the step together then waits for those stores to land.
    std::size_t PosAt(std::size_t i) const {
        return m_starts[i].pos + (i > m_step ? static_cast<std::size_t>(m_stepBytes) : 0);
    }
    std::size_t LineAt(std::size_t i) const {
        return m_starts[i].line + (i > m_step ? static_cast<std::size_t>(m_stepBreaks) : 0);
    }
    // Bytes in block i.
    std::size_t Span(std::size_t i) const { return PosAt(i + 1) - PosAt(i); }
    std::size_t BytesOfIndex() const { return m_starts.CapacityBytes(); }

    // The block holding position pos; for pos at the end of the text, the last block.
    std::size_t FindByPos(std::size_t pos) const;
    // The block holding the break numbered breakNumber (1-based): At(i).line < breakNumber <=
    // At(i + 1).line.
    std::size_t FindByBreak(std::size_t breakNumber) const;

    // Block i grew by bytes and breaks (both may be negative): every later start moves.
    void Shift(std::size_t i, std::ptrdiff_t bytes, std::ptrdiff_t breaks);
    // Cuts block i - 1 at start, making a new block i.
    void Split(std::size_t i, Start start);
    // Joins block i to block i - 1 (i >= 1).
    void Join(std::size_t i);

private:
    void MoveStepTo(std::size_t i);
    // The step lies at a block or at the end, and at the end it is empty: nothing lies beyond.
    bool StepHolds() const;
    std::size_t Search(bool byPos, std::size_t value) const;

    TextBufferGap<Start> m_starts;
    std::size_t m_step = 0;
    std::ptrdiff_t m_stepBytes = 0;
    std::ptrdiff_t m_stepBreaks = 0;
};

} // namespace framework
