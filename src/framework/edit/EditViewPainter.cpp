#include "framework/edit/EditViewPainter.h"

#include <QGlyphRun>
#include <QPainter>
#include <QRawFont>
#include <algorithm>

#include "framework/edit/EditViewCells.h"
#include "framework/text/EditViewColumnIndex.h"
#include "framework/text/EditViewColumns.h"
#include "framework/edit/EditViewGlyphTables.h"
#include "framework/edit/EditViewGlyphs.h"
#include "framework/text/EditViewModel.h"

namespace framework {

namespace {

constexpr int kCaretWidth = 2;
constexpr unsigned kDeletePicture = 0x21; // U+2421 for 0x7F

} // namespace

EditViewPainter::EditViewPainter(QPainter& painter, const EditViewModel& model, const Geometry& geometry,
                                 const Colors& colors, const EditViewGlyphTables& glyphs, EditViewCells* cells)
    : m_painter(painter), m_model(model), m_geometry(geometry), m_colors(colors), m_glyphs(glyphs),
      m_cells(cells != nullptr && cells->Usable() ? cells : nullptr), m_selStart(model.SelectionStart()),
      m_selEnd(model.SelectionEnd()) {}

qreal EditViewPainter::X(std::size_t column) const {
    return (static_cast<qreal>(column) - static_cast<qreal>(m_geometry.firstColumn)) * m_geometry.cellWidth;
}

EditViewPainter::Result EditViewPainter::Paint(bool showCaret, std::size_t knownWidth) {
    const TextBuffer& text = m_model.Buffer();
    const std::size_t scanned = m_model.Columns().ScannedBytes();
    const std::size_t end = std::min(text.LineCount(), m_geometry.firstLine + m_geometry.lines);
    const auto height = static_cast<std::size_t>(m_geometry.lineHeight);
    const std::size_t from = m_geometry.firstLine + static_cast<std::size_t>(std::max(0, m_geometry.paintTop)) / height;
    const std::size_t to = std::min(end, m_geometry.firstLine +
                                             (static_cast<std::size_t>(std::max(0, m_geometry.paintBottom)) + height - 1) /
                                                 height);
    // Copied lines cover their own strips; only what lies below them is filled.
    const int below = m_cells != nullptr ? static_cast<int>(std::max(from, to) - m_geometry.firstLine) * m_geometry.lineHeight : 0;
    m_painter.fillRect(0, below, m_geometry.width, m_geometry.height - below, m_colors.base);
    for (std::size_t line = from; line < to; ++line) {
        PaintLine(line, static_cast<int>(line - m_geometry.firstLine) * m_geometry.lineHeight, knownWidth);
        ++m_result.lines;
    }
    m_result.bytes += m_model.Columns().ScannedBytes() - scanned;
    DrawBatches();
    const std::size_t caretLine = m_model.CaretLine();
    if (showCaret && caretLine >= m_geometry.firstLine && caretLine < end) {
        const qreal x = X(m_model.CaretColumn());
        const int y = static_cast<int>(caretLine - m_geometry.firstLine) * m_geometry.lineHeight;
        if (x >= 0 && x < m_geometry.width)
            m_painter.fillRect(QRectF(x, y, kCaretWidth, m_geometry.lineHeight), m_colors.text);
    }
    return m_result;
}

void EditViewPainter::PaintLine(std::size_t line, int y, std::size_t knownWidth) {
    const TextBuffer& text = m_model.Buffer();
    const std::size_t start = text.LineStart(line);
    const std::size_t end = text.LineEnd(line);
    const std::size_t lastColumn = m_geometry.firstColumn + m_geometry.columns;
    EditViewColumnIndex& columns = m_model.Columns();
    EditViewColumns::Place at = columns.Seek(text, start, end, m_geometry.firstColumn);
    // Every byte takes at least one column, so no more bytes than columns can be visible.
    const std::size_t visible = std::min(end - at.pos, lastColumn > at.column ? lastColumn - at.column : 0);
    if (m_cells != nullptr) {
        at = CopyCells(at, visible, y);
    } else {
        for (const std::string_view piece : text.Pieces(at.pos, visible)) {
            for (const char c : piece) {
                const auto byte = static_cast<unsigned char>(c);
                const std::size_t next = EditViewColumns::Advance(at.column, byte);
                DrawCell(byte, at.column, next, y, at.pos >= m_selStart && at.pos < m_selEnd);
                at = {at.pos + 1, next};
            }
        }
    }
    m_result.bytes += visible;
    // A selected line break shows as one selected cell after the line.
    if (at.pos == end && end >= m_selStart && end < m_selEnd && at.column < lastColumn)
        m_painter.fillRect(QRectF(X(at.column), y, m_geometry.cellWidth, m_geometry.lineHeight),
                           m_colors.highlight);
    // Measure the whole line when it may be wider than any known one (it is at least one column per
    // byte and at most a tab stop per byte); a long line is measured from the last of its marks.
    if ((end - start) * EditViewColumns::kTabWidth > knownWidth)
        m_result.widest = std::max(m_result.widest, columns.ColumnAt(text, start, end, at));
}

EditViewColumns::Place EditViewPainter::CopyCells(EditViewColumns::Place at, std::size_t visible, int y) {
    m_cells->StartLine(m_geometry.width);
    m_others.clear();
    const int width = m_cells->Width();
    for (const std::string_view piece : m_model.Buffer().Pieces(at.pos, visible)) {
        for (const char c : piece) {
            const auto byte = static_cast<unsigned char>(c);
            const std::size_t next = EditViewColumns::Advance(at.column, byte);
            const bool selected = at.pos >= m_selStart && at.pos < m_selEnd;
            const quint32 glyph = m_glyphs.Latin1(byte);
            const bool plain = !selected && glyph != 0 && EditViewGlyphs::Of(byte).kind == EditViewGlyphs::Kind::Plain;
            if (!(plain && m_cells->Copy(byte, glyph, static_cast<int>(at.column - m_geometry.firstColumn) * width)) &&
                (byte != '\t' || selected))
                m_others.push_back({byte, at.column, next, selected});
            at = {at.pos + 1, next};
        }
    }
    m_painter.drawImage(QPoint(0, y), m_cells->Line(), QRect(0, 0, m_geometry.width, m_geometry.lineHeight));
    for (const Other& other : m_others)
        DrawCell(other.byte, other.column, other.next, y, other.selected);
    return at;
}

void EditViewPainter::DrawCell(unsigned char byte, std::size_t column, std::size_t next, int y,
                               bool selected) {
    const QRectF cell(X(column), y, static_cast<qreal>(next - column) * m_geometry.cellWidth,
                      m_geometry.lineHeight);
    if (selected)
        m_painter.fillRect(cell, m_colors.highlight);
    const EditViewGlyphs::Glyph glyph = EditViewGlyphs::Of(byte);
    switch (glyph.kind) {
    case EditViewGlyphs::Kind::Tab:
        return;
    case EditViewGlyphs::Kind::Plain:
        if (const quint32 index = m_glyphs.Latin1(byte); index != 0) {
            Add(m_glyphs.Main(), selected ? m_colors.highlightedText : m_colors.text, index,
                QPointF(cell.x(), y + m_geometry.ascent));
        } else {
            // Not in the font: let Qt find a font that has it.
            m_painter.setPen(selected ? m_colors.highlightedText : m_colors.text);
            m_painter.drawText(QPointF(cell.x(), y + m_geometry.ascent), QString(QChar(glyph.character)));
        }
        return;
    case EditViewGlyphs::Kind::Hex:
        DrawHex(byte, cell, selected ? m_colors.highlightedText : m_colors.picture);
        return;
    case EditViewGlyphs::Kind::Picture:
        DrawControl(byte, cell, selected);
        return;
    }
}

void EditViewPainter::DrawControl(unsigned char byte, const QRectF& cell, bool selected) {
    const QColor& ink = selected ? m_colors.highlightedText : m_colors.picture;
    const QPointF baseline(cell.x(), cell.y() + m_geometry.ascent);
    if (byte == 0xAD) {
        Add(m_glyphs.Main(), ink, m_glyphs.Latin1('-'), baseline);
    } else if (m_glyphs.HasPictures()) {
        Add(m_glyphs.Main(), ink, m_glyphs.Picture(byte == 0x7F ? kDeletePicture : byte), baseline);
    } else {
        // Reverse video caret notation: the letter in the background colour on a block of ink.
        m_painter.fillRect(cell.adjusted(0, 1, 0, -1), ink);
        Add(m_glyphs.Main(), selected ? m_colors.highlight : m_colors.base,
            m_glyphs.Latin1(static_cast<unsigned char>(EditViewGlyphs::CaretLetter(byte))), baseline);
    }
}

// 0x80-0x9F: high digit above low digit, small, in a frame.
void EditViewPainter::DrawHex(unsigned char byte, const QRectF& cell, const QColor& ink) {
    m_painter.setPen(ink);
    m_painter.setBrush(Qt::NoBrush);
    m_painter.drawRect(cell.adjusted(0.5, 1.5, -0.5, -1.5));
    const qreal x = cell.x() + (cell.width() - m_glyphs.HexDigitWidth()) / 2;
    const qreal top = cell.y() + 1 + m_glyphs.SmallAscent();
    Add(m_glyphs.Small(), ink, m_glyphs.HexDigit(byte >> 4u), QPointF(x, top));
    Add(m_glyphs.Small(), ink, m_glyphs.HexDigit(byte), QPointF(x, top + cell.height() / 2 - 2));
}

void EditViewPainter::Add(const QRawFont& font, const QColor& color, quint32 glyph, QPointF position) {
    if (m_lastBatch >= m_batches.size() || m_batches[m_lastBatch].font != &font ||
        m_batches[m_lastBatch].color != color) {
        const auto found = std::find_if(m_batches.begin(), m_batches.end(),
                                        [&](const Batch& b) { return b.font == &font && b.color == color; });
        m_lastBatch = static_cast<std::size_t>(found - m_batches.begin());
        if (found == m_batches.end())
            m_batches.push_back(Batch{&font, color, {}, {}});
    }
    m_batches[m_lastBatch].glyphs.append(glyph);
    m_batches[m_lastBatch].positions.append(position);
}

void EditViewPainter::DrawBatches() {
    for (const Batch& batch : m_batches) {
        QGlyphRun run;
        run.setRawFont(*batch.font);
        run.setGlyphIndexes(batch.glyphs);
        run.setPositions(batch.positions);
        m_painter.setPen(batch.color);
        m_painter.drawGlyphRun(QPointF(0, 0), run);
    }
}

} // namespace framework
