#pragma once
// Dialog units, the measure of dialog templates: a horizontal unit is a quarter of the dialog font's
// average character width, a vertical unit an eighth of its height. The average width is that of
// the 52 letters A-Z and a-z, halved and rounded as the platform does: (width / 26 + 1) / 2.

#include <QFont>
#include <QRect>

class DialogUnits {
public:
    explicit DialogUnits(const QFont& font);
    // Each value is scaled on its own and rounded to the nearest pixel.
    int ToPixelsX(int units) const;
    int ToPixelsY(int units) const;
    QRect ToPixels(int x, int y, int cx, int cy) const;

private:
    int m_baseX;
    int m_baseY;
};
