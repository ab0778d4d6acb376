#pragma once
// The glyphs an edit view draws with, looked up once per font: one for each Latin-1 character, the
// control pictures, and the hex digits of a small font for the bytes 0x80-0x9F. The view places
// glyphs straight onto its grid of cells, which skips text shaping (the bulk of a paint's cost
// otherwise) and keeps every byte in its column whatever the font's own advances.

#include <QFont>
#include <QRawFont>
#include <array>

namespace framework {

class EditViewGlyphTables {
public:
    EditViewGlyphTables() = default;
    // cellHeight: the line height, which sizes the small hex digits.
    EditViewGlyphTables(const QFont& font, int cellHeight);

    const QRawFont& Main() const { return m_main; }
    const QRawFont& Small() const { return m_small; }

    // Glyph index in Main() of a Latin-1 character; 0 when the font has none.
    quint32 Latin1(unsigned char character) const { return m_latin1[character]; }
    // Glyph index in Main() of the control picture U+2400 + n (n <= 0x21); 0 when missing.
    quint32 Picture(unsigned n) const { return n < m_pictures.size() ? m_pictures[n] : 0; }
    // True when every control picture the view uses is in the font.
    bool HasPictures() const { return m_hasPictures; }
    // Glyph index in Small() of a hex digit 0-15.
    quint32 HexDigit(unsigned digit) const { return m_hex[digit & 0xF]; }
    qreal HexDigitWidth() const { return m_hexWidth; }
    qreal SmallAscent() const { return m_smallAscent; }

private:
    QRawFont m_main;
    QRawFont m_small;
    std::array<quint32, 256> m_latin1{};
    std::array<quint32, 0x22> m_pictures{};
    std::array<quint32, 16> m_hex{};
    bool m_hasPictures = false;
    qreal m_hexWidth = 0;
    qreal m_smallAscent = 0;
};

} // namespace framework
