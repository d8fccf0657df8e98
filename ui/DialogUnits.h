#pragma once
// Dialog units: template coordinates that scale with the dialog font. A horizontal unit is a
// quarter of the font's average character width, a vertical unit an eighth of its character
// height, the way dialog templates have always been measured.

#include <QFont>
#include <QRect>

namespace ui {

// A rectangle in dialog units: left, top, width, height.
struct DluRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    friend bool operator==(const DluRect&, const DluRect&) = default;
};

// Average character width and character height of a font, in pixels.
struct DialogBaseUnits {
    int x = 0;
    int y = 0;
    friend bool operator==(const DialogBaseUnits&, const DialogBaseUnits&) = default;
};

// a * b / c rounded to the nearest integer, halves away from zero (0 when c is 0).
int MulDiv(int a, int b, int c);

int DluToPixelsX(int units, const DialogBaseUnits& base);
int DluToPixelsY(int units, const DialogBaseUnits& base);
QRect DluToPixels(const DluRect& rect, const DialogBaseUnits& base);

// Base units of `font`: the average width is taken over the 52 letters A-Z and a-z, rounded
// to the nearest pixel; the height is the font's ascent plus descent.
DialogBaseUnits MeasureBaseUnits(const QFont& font);

// The font every dialog uses: a Korean-capable sans-serif face at 12 pixels, with fallbacks
// when the preferred face is missing, fully hinted by the font's own instructions.
QFont DialogFont();

}  // namespace ui
