#include "framework/edit/EditViewCells.h"

#include <QGlyphRun>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <cstring>

namespace framework {

namespace {
// The pixels the cells and lines are made of, as the window's own: copied, not converted.
constexpr QImage::Format kFormat = QImage::Format_RGB32;
} // namespace

void EditViewCells::Use(const Look& look) {
    if (look == m_look)
        return;
    m_look = look;
    m_cells = {};
    m_made = {};
    const qreal whole = std::round(look.cellWidth);
    m_width = look.font.isValid() && whole >= 1 && std::abs(look.cellWidth - whole) < 1e-6 && look.lineHeight > 0
                  ? static_cast<int>(whole)
                  : 0;
}

void EditViewCells::StartLine(int width) {
    if (m_line.width() < width || m_line.height() != m_look.lineHeight)
        m_line = QImage(std::max(width, m_line.width()), m_look.lineHeight, kFormat);
    m_line.fill(m_look.base);
    m_lineBits = m_line.bits();
    m_lineStride = m_line.bytesPerLine();
}

// The glyph is drawn with a cell's width of room on every side, to see whether ink falls there.
const QImage& EditViewCells::Cell(unsigned char byte, unsigned glyph) {
    QImage& cell = m_cells[byte];
    if (m_made[byte])
        return cell;
    m_made[byte] = true;
    const int margin = m_width;
    QImage room(m_width + 2 * margin, m_look.lineHeight + 2 * margin, kFormat);
    room.fill(m_look.base);
    {
        QPainter painter(&room);
        QGlyphRun run;
        run.setRawFont(m_look.font);
        run.setGlyphIndexes({glyph});
        run.setPositions({QPointF(margin, margin + m_look.ascent)});
        painter.setPen(m_look.text);
        painter.drawGlyphRun(QPointF(0, 0), run);
    }
    const QRect inside(margin, margin, m_width, m_look.lineHeight);
    const QRgb base = m_look.base.rgb();
    for (int y = 0; y < room.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(room.constScanLine(y));
        for (int x = 0; x < room.width(); ++x) {
            if (row[x] != base && !inside.contains(x, y))
                return cell; // null: ink outside the cell
        }
    }
    cell = room.copy(inside);
    return cell;
}

bool EditViewCells::Copy(unsigned char byte, unsigned glyph, int x) {
    const QImage& cell = Cell(byte, glyph);
    if (cell.isNull())
        return false;
    const int width = std::min(m_width, m_line.width() - x);
    if (x < 0 || width <= 0)
        return true;
    const uchar* from = cell.constBits();
    const qsizetype stride = cell.bytesPerLine();
    uchar* to = m_lineBits + static_cast<qsizetype>(x) * static_cast<qsizetype>(sizeof(QRgb));
    const auto bytes = static_cast<std::size_t>(width) * sizeof(QRgb);
    for (int row = 0; row < m_look.lineHeight; ++row, from += stride, to += m_lineStride)
        std::memcpy(to, from, bytes);
    return true;
}

} // namespace framework
