#pragma once
// Pictures of whole cells: each printable character in the text colour on the base colour, drawn
// once and then copied into a line as pixels. A line of text then costs a row copy per cell and
// one image drawn, where drawing it glyph by glyph costs a blended blit per glyph: most of what a
// frame of streaming text cost. Only cells that fall on whole pixels can be copied; with a font
// whose advance is not a whole number of pixels the view draws glyphs as before.

#include <QColor>
#include <QImage>
#include <QRawFont>
#include <array>

namespace framework {

class EditViewCells {
public:
    struct Look {
        qreal cellWidth = 0;
        int lineHeight = 0;
        int ascent = 0;
        QColor text;
        QColor base;
        QRawFont font;
        bool operator==(const Look&) const = default;
    };

    // Takes the look of the cells to come; the pictures made for another look are dropped.
    void Use(const Look& look);
    // Cells can be copied: they are a whole number of pixels wide.
    bool Usable() const { return m_width > 0; }
    int Width() const { return m_width; }

    // Starts a line's picture `width` pixels wide, filled with the base colour, to copy cells into.
    void StartLine(int width);
    // The line's picture so far.
    const QImage& Line() const { return m_line; }
    // Copies the cell of `glyph` (a glyph of the look's font, for `byte`) into the line at `x`;
    // a cell that reaches past the line's right edge is cut there. False, and nothing copied, for
    // a glyph whose ink reaches out of its cell (a wide W, an accent above the line): copied, it
    // would be cut, so it must be drawn over its neighbours as a glyph.
    bool Copy(unsigned char byte, unsigned glyph, int x);

private:
    // The cell's picture; a null image for a glyph that does not fit its cell.
    const QImage& Cell(unsigned char byte, unsigned glyph);

    Look m_look;
    int m_width = 0;
    std::array<QImage, 256> m_cells;
    std::array<bool, 256> m_made{};
    QImage m_line;
    uchar* m_lineBits = nullptr;
    qsizetype m_lineStride = 0;
};

} // namespace framework
