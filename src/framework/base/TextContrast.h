#pragma once
// Whether text can be read on its background, judged as WCAG 2 does: by the contrast ratio of the
// two colours' relative luminances, from 1:1 (the same) to 21:1 (black on white). Desktop palettes
// come light and dark, so a widget that draws text on a fill of its own picks the text's colour.

#include <QColor>

namespace framework {

// The least contrast for ordinary text (WCAG level AA).
constexpr double kReadableContrast = 4.5;

// From 0 (black) to 1 (white), by the sRGB channels' linear light.
double RelativeLuminance(const QColor& colour);
double ContrastRatio(const QColor& a, const QColor& b);
// `preferred` when it is readable on `background`, otherwise black or white, whichever contrasts
// more (one of them always reaches 4.5:1).
QColor ReadableTextColour(const QColor& background, const QColor& preferred);

} // namespace framework
