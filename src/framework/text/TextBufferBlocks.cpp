#include "framework/text/TextBufferBlocks.h"

#include "platform/base/Check.h"

namespace framework {

TextBufferBlocks::TextBufferBlocks() {
    Reset();
}

void TextBufferBlocks::Reset() {
    m_starts.Clear();
    const Start origin{0, 0};
    m_starts.Insert(0, origin);
    m_starts.Insert(1, origin);
    m_step = 0;
    m_stepBytes = 0;
    m_stepBreaks = 0;
}

void TextBufferBlocks::MoveStepTo(std::size_t i) {
    if (m_stepBytes != 0 || m_stepBreaks != 0) {
        const auto bytes = static_cast<std::size_t>(m_stepBytes);
        const auto breaks = static_cast<std::size_t>(m_stepBreaks);
        for (std::size_t k = m_step + 1; k <= i; ++k) {
            m_starts[k].pos += bytes;
            m_starts[k].line += breaks;
        }
        for (std::size_t k = i + 1; k <= m_step; ++k) {
            m_starts[k].pos -= bytes;
            m_starts[k].line -= breaks;
        }
    }
    m_step = i;
    if (m_step >= Count()) {
        // Nothing lies beyond the end: the pending shift has been written everywhere.
        m_stepBytes = 0;
        m_stepBreaks = 0;
    }
    MT_CHECK(StepHolds());
}

bool TextBufferBlocks::StepHolds() const {
    return m_step <= Count() && (m_step < Count() || (m_stepBytes == 0 && m_stepBreaks == 0));
}

void TextBufferBlocks::Shift(std::size_t i, std::ptrdiff_t bytes, std::ptrdiff_t breaks) {
    // Edits in a row at one block (every received byte) find the step there already.
    if (i != m_step)
        MoveStepTo(i);
    m_stepBytes += bytes;
    m_stepBreaks += breaks;
}

void TextBufferBlocks::Split(std::size_t i, Start start) {
    if (i <= m_step) {
        m_starts.Insert(i, start);
        ++m_step;
        return;
    }
    start.pos -= static_cast<std::size_t>(m_stepBytes);
    start.line -= static_cast<std::size_t>(m_stepBreaks);
    m_starts.Insert(i, start);
    MT_CHECK(StepHolds());
}

void TextBufferBlocks::Join(std::size_t i) {
    if (i <= m_step)
        --m_step;
    m_starts.Erase(i, 1);
    MT_CHECK(StepHolds());
}

std::size_t TextBufferBlocks::FindByPos(std::size_t pos) const {
    return Search(true, pos);
}

std::size_t TextBufferBlocks::FindByBreak(std::size_t breakNumber) const {
    return Search(false, breakNumber);
}

// The last block i < Count() whose start lies at or before pos (byPos), or that begins with fewer
// than value breaks before it (by break number). Edits cluster, so the block of the last edit is
// tried first.
std::size_t TextBufferBlocks::Search(bool byPos, std::size_t value) const {
    const auto fits = [&](std::size_t i) {
        const Start s = At(i);
        return byPos ? s.pos <= value : s.line < value;
    };
    const std::size_t count = Count();
    if (m_step < count && fits(m_step) && (m_step + 1 == count || !fits(m_step + 1)))
        return m_step;
    std::size_t lo = 0;     // fits
    std::size_t hi = count; // treated as not fitting
    while (hi - lo > 1) {
        const std::size_t mid = lo + (hi - lo) / 2;
        if (fits(mid))
            lo = mid;
        else
            hi = mid;
    }
    return lo;
}

} // namespace framework
