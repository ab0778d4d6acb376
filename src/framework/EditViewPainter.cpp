#include "framework/EditViewPainter.h"

#include <QFontInfo>
#include <QFontMetricsF>
#include <QPainter>
#include <algorithm>

#include "framework/EditViewColumns.h"
#include "framework/EditViewGlyphs.h"
#include "framework/EditViewModel.h"

namespace framework {

namespace {

constexpr int kCaretWidth = 2;

QChar HexDigit(unsigned value) {
    return QLatin1Char("0123456789ABCDEF"[value & 0xF]);
}

} // namespace

EditViewPainter::EditViewPainter(QPainter& painter, const EditViewModel& model, const Geometry& geometry,
                                 const Colors& colors, const QFont& font)
    : m_painter(painter), m_model(model), m_geometry(geometry), m_colors(colors), m_font(font),
      m_hexFont(font), m_fixedPitch(QFontInfo(font).fixedPitch()),
      m_hasPictures(QFontMetricsF(font).inFont(QChar(0x2400)) && QFontMetricsF(font).inFont(QChar(0x241B))),
      m_selStart(model.SelectionStart()), m_selEnd(model.SelectionEnd()) {
    m_hexFont.setPixelSize(std::max(5, geometry.lineHeight * 2 / 5));
}

qreal EditViewPainter::X(std::size_t column) const {
    return (static_cast<qreal>(column) - static_cast<qreal>(m_geometry.firstColumn)) * m_geometry.cellWidth;
}

EditViewPainter::Result EditViewPainter::Paint(bool showCaret, std::size_t knownWidth) {
    m_painter.fillRect(0, 0, m_geometry.width, m_geometry.height, m_colors.base);
    m_painter.setFont(m_font);
    const TextBuffer& text = m_model.Buffer();
    const std::size_t end = std::min(text.LineCount(), m_geometry.firstLine + m_geometry.lines);
    for (std::size_t line = m_geometry.firstLine; line < end; ++line) {
        PaintLine(line, static_cast<int>(line - m_geometry.firstLine) * m_geometry.lineHeight, knownWidth);
        ++m_result.lines;
    }
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
    EditViewColumns::Place at = EditViewColumns::Seek(text, {start, 0}, end, m_geometry.firstColumn);
    m_result.bytes += at.pos - start;
    // Every byte takes at least one column, so no more bytes than columns can be visible.
    const std::size_t visible = std::min(end - at.pos, lastColumn > at.column ? lastColumn - at.column : 0);
    for (const std::string_view piece : text.Pieces(at.pos, visible)) {
        for (const char c : piece) {
            const auto byte = static_cast<unsigned char>(c);
            const std::size_t next = EditViewColumns::Advance(at.column, byte);
            DrawCell(byte, at.column, next, y, at.pos >= m_selStart && at.pos < m_selEnd);
            at = {at.pos + 1, next};
        }
    }
    FlushRun(y);
    m_result.bytes += visible;
    // A selected line break shows as one selected cell after the line.
    if (at.pos == end && end >= m_selStart && end < m_selEnd && at.column < lastColumn)
        m_painter.fillRect(QRectF(X(at.column), y, m_geometry.cellWidth, m_geometry.lineHeight),
                           m_colors.highlight);
    // Measure the whole line when it may be wider than any known one (it is at least one column per
    // byte and at most a tab stop per byte).
    if ((end - start) * EditViewColumns::kTabWidth > knownWidth) {
        std::size_t width = at.column;
        for (const std::string_view piece : text.Pieces(at.pos, end - at.pos))
            width = EditViewColumns::Advance(width, piece);
        m_result.bytes += end - at.pos;
        m_result.widest = std::max(m_result.widest, width);
    }
}

void EditViewPainter::DrawCell(unsigned char byte, std::size_t column, std::size_t next, int y,
                               bool selected) {
    const qreal x = X(column);
    if (selected) {
        const qreal width = static_cast<qreal>(next - column) * m_geometry.cellWidth;
        m_painter.fillRect(QRectF(x, y, width, m_geometry.lineHeight), m_colors.highlight);
    }
    const EditViewGlyphs::Glyph glyph = EditViewGlyphs::Of(byte);
    if (glyph.kind == EditViewGlyphs::Kind::Plain && m_fixedPitch) {
        if (!m_run.isEmpty() && selected != m_runSelected)
            FlushRun(y);
        if (m_run.isEmpty()) {
            m_runX = x;
            m_runSelected = selected;
        }
        m_run.append(QChar(glyph.character));
        return;
    }
    FlushRun(y);
    if (glyph.kind == EditViewGlyphs::Kind::Plain) {
        // A font of varying widths is still put on the grid, one character per cell.
        m_painter.setPen(selected ? m_colors.highlightedText : m_colors.text);
        m_painter.drawText(QPointF(x, y + m_geometry.ascent), QString(QChar(glyph.character)));
    } else if (glyph.kind != EditViewGlyphs::Kind::Tab) {
        DrawSpecial(byte, x, y, selected);
    }
}

void EditViewPainter::DrawSpecial(unsigned char byte, qreal x, int y, bool selected) {
    const EditViewGlyphs::Glyph glyph = EditViewGlyphs::Of(byte);
    const QRectF cell(x, y, m_geometry.cellWidth, m_geometry.lineHeight);
    const QColor& ink = selected ? m_colors.highlightedText : m_colors.picture;
    if (glyph.kind == EditViewGlyphs::Kind::Hex) {
        m_painter.setPen(ink);
        DrawHex(byte, cell);
    } else if (m_hasPictures || glyph.character < 0x2400) {
        m_painter.setPen(ink);
        m_painter.drawText(cell, Qt::AlignCenter, QString(QChar(glyph.character)));
    } else {
        // Reverse video caret notation: the letter in the background colour on a block of ink.
        m_painter.fillRect(cell.adjusted(0, 1, -1, -1), ink);
        m_painter.setPen(selected ? m_colors.highlight : m_colors.base);
        m_painter.drawText(cell, Qt::AlignCenter, QString(QChar(EditViewGlyphs::CaretLetter(byte))));
    }
}

// 0x80-0x9F: high digit above low digit, in a frame.
void EditViewPainter::DrawHex(unsigned char byte, const QRectF& cell) {
    m_painter.drawRect(cell.adjusted(0.5, 1.5, -0.5, -1.5));
    m_painter.setFont(m_hexFont);
    const qreal half = cell.height() / 2;
    const QRectF top(cell.x(), cell.y() + 1, cell.width(), half);
    m_painter.drawText(top, Qt::AlignCenter, QString(HexDigit(byte >> 4)));
    m_painter.drawText(top.translated(0, half - 2), Qt::AlignCenter, QString(HexDigit(byte)));
    m_painter.setFont(m_font);
}

void EditViewPainter::FlushRun(int y) {
    if (m_run.isEmpty())
        return;
    m_painter.setPen(m_runSelected ? m_colors.highlightedText : m_colors.text);
    m_painter.drawText(QPointF(m_runX, y + m_geometry.ascent), m_run);
    m_run.clear();
}

} // namespace framework
