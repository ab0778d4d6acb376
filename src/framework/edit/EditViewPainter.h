#pragma once
// Draws the visible part of an edit view: only the lines in the window, and of each only the bytes
// from the left edge to the right edge, so that a paint costs the same for a text of a kilobyte or
// of a hundred megabytes, or for a line of that length (its columns are found through the model's
// index of them). Text is laid out on a grid of equal cells; the glyphs are collected while
// the lines are walked and drawn in a few batches at the end, one per font and colour.

#include <QColor>
#include <QList>
#include <QPointF>
#include <climits>
#include <cstddef>
#include <vector>

#include "framework/text/EditViewColumns.h"

class QPainter;
class QRawFont;
class QRectF;

namespace framework {

class EditViewCells;
class EditViewGlyphTables;
class EditViewModel;

class EditViewPainter {
public:
    struct Geometry {
        qreal cellWidth = 8;
        int lineHeight = 16;
        int ascent = 12;
        std::size_t firstLine = 0;   // top line in the window
        std::size_t lines = 1;       // lines that can be seen, a partial one included
        std::size_t firstColumn = 0; // column at the left edge
        std::size_t columns = 1;     // columns that can be seen, a partial one included
        int width = 0;               // of the area painted, in pixels
        int height = 0;
        int paintTop = 0;            // the rows of pixels to draw: lines outside them are skipped
        int paintBottom = INT_MAX;
    };

    struct Colors {
        QColor text;
        QColor base;
        QColor highlight;
        QColor highlightedText;
        QColor picture; // control pictures and hex cells
    };

    // What one paint did: lines drawn, bytes of text looked at, widest line measured (in columns).
    struct Result {
        std::size_t lines = 0;
        std::size_t bytes = 0;
        std::size_t widest = 0;
    };

    // `cells`, when given and usable, draws plain characters as copied pictures of their cells.
    EditViewPainter(QPainter& painter, const EditViewModel& model, const Geometry& geometry,
                    const Colors& colors, const EditViewGlyphTables& glyphs, EditViewCells* cells = nullptr);

    // knownWidth: the widest line known so far; a line that may be wider is measured.
    Result Paint(bool showCaret, std::size_t knownWidth);

private:
    struct Batch {
        const QRawFont* font;
        QColor color;
        QList<quint32> glyphs;
        QList<QPointF> positions;
    };

    void PaintLine(std::size_t line, int y, std::size_t knownWidth);
    // A line's cells from `at`, `visible` bytes: plain ones copied into a picture of the line drawn
    // at once, the rest (selected, control pictures, hex) drawn over it as DrawCell draws them.
    // Returns the place after the last of them.
    EditViewColumns::Place CopyCells(EditViewColumns::Place at, std::size_t visible, int y);
    void DrawCell(unsigned char byte, std::size_t column, std::size_t next, int y, bool selected);
    void DrawControl(unsigned char byte, const QRectF& cell, bool selected);
    void DrawHex(unsigned char byte, const QRectF& cell, const QColor& ink);
    void Add(const QRawFont& font, const QColor& color, quint32 glyph, QPointF position);
    void DrawBatches();
    qreal X(std::size_t column) const;

    QPainter& m_painter;
    const EditViewModel& m_model;
    const Geometry& m_geometry;
    const Colors& m_colors;
    const EditViewGlyphTables& m_glyphs;
    EditViewCells* m_cells; // nullptr: every cell drawn glyph by glyph
    std::size_t m_selStart;
    std::size_t m_selEnd;
    Result m_result;
    std::vector<Batch> m_batches;
    std::size_t m_lastBatch = 0;
    // Cells of the line being copied that are drawn over its picture instead.
    struct Other {
        unsigned char byte;
        std::size_t column;
        std::size_t next;
        bool selected;
    };
    std::vector<Other> m_others;
};

} // namespace framework
