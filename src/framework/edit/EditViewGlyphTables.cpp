#include "framework/edit/EditViewGlyphTables.h"

#include <QList>
#include <QString>
#include <algorithm>

namespace framework {

namespace {

template <std::size_t N>
void Lookup(const QRawFont& font, const QString& characters, std::array<quint32, N>& out) {
    const QList<quint32> glyphs = font.glyphIndexesForString(characters);
    for (std::size_t i = 0; i < N && i < static_cast<std::size_t>(glyphs.size()); ++i)
        out[i] = glyphs[static_cast<qsizetype>(i)];
}

} // namespace

EditViewGlyphTables::EditViewGlyphTables(const QFont& font, int cellHeight) : m_main(QRawFont::fromFont(font)) {
    QString latin1;
    for (int c = 0; c < 256; ++c)
        latin1.append(QChar(c));
    Lookup(m_main, latin1, m_latin1);

    QString pictures;
    for (int n = 0; n < static_cast<int>(m_pictures.size()); ++n)
        pictures.append(QChar(0x2400 + n));
    Lookup(m_main, pictures, m_pictures);
    m_hasPictures =
        std::all_of(m_pictures.begin(), m_pictures.begin() + 0x20, [](quint32 g) { return g != 0; }) &&
        m_pictures[0x21] != 0;

    QFont small(font);
    small.setPixelSize(std::max(5, cellHeight * 2 / 5));
    m_small = QRawFont::fromFont(small);
    Lookup(m_small, QStringLiteral("0123456789ABCDEF"), m_hex);
    const QList<QPointF> advances = m_small.advancesForGlyphIndexes(QList<quint32>{m_hex[0]});
    m_hexWidth = advances.isEmpty() ? 0 : advances.front().x();
    m_smallAscent = m_small.ascent();
}

} // namespace framework
