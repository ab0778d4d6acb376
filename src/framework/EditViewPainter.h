#pragma once
// Draws the visible part of an edit view: only the lines in the window, and of each only the bytes
// from the left edge to the right edge, so that a paint costs the same for a text of a kilobyte or
// of a hundred megabytes. Text is laid out on a grid of equal cells; printable bytes are drawn in
// runs, control pictures one by one in their cells.

#include <QColor>
#include <QFont>
#include <QString>
#include <cstddef>

class QPainter;

namespace framework {

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

    EditViewPainter(QPainter& painter, const EditViewModel& model, const Geometry& geometry,
                    const Colors& colors, const QFont& font);

    // knownWidth: the widest line known so far; a line that may be wider is measured.
    Result Paint(bool showCaret, std::size_t knownWidth);

private:
    void PaintLine(std::size_t line, int y, std::size_t knownWidth);
    void DrawCell(unsigned char byte, std::size_t column, std::size_t next, int y, bool selected);
    void DrawSpecial(unsigned char byte, qreal x, int y, bool selected);
    void DrawHex(unsigned char byte, const QRectF& cell);
    void FlushRun(int y);
    qreal X(std::size_t column) const;

    QPainter& m_painter;
    const EditViewModel& m_model;
    const Geometry& m_geometry;
    const Colors& m_colors;
    QFont m_font;
    QFont m_hexFont;
    bool m_fixedPitch;
    bool m_hasPictures; // the font draws the control pictures
    std::size_t m_selStart;
    std::size_t m_selEnd;
    Result m_result;
    // Printable bytes waiting to be drawn in one call.
    QString m_run;
    qreal m_runX = 0;
    bool m_runSelected = false;
};

} // namespace framework
