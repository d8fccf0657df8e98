#pragma once
// The drawing steps the skin is made of, as plain functions on 32-bit images in device pixels:
// vertical gradients filled row by row, the platform's 3-D rectangle, and the bevelled gradient
// block of the caption buttons and push buttons. The colour steps are pure functions.

#include <QImage>
#include <QRect>
#include <QRgb>
#include <QSize>

class QPainter;

namespace lanterna::skin {

// The colour of row `row` of a gradient `height` rows high: each channel moves from `top`
// by row / height of the difference towards `bottom` (row 0 is `top`).
QRgb GradientRowColor(QRgb top, QRgb bottom, int row, int height);

// Each channel raised (capped at 255) or lowered (floored at 0) by `amount`.
QRgb Lighten(QRgb colour, int amount);
QRgb Darken(QRgb colour, int amount);
// The hover light of a button: a channel above 200 becomes 255, any other is raised by 50.
QRgb HoverLighten(QRgb colour);

// Fills `rect` (clipped to the image) with the gradient, one colour per row; pixels inside
// `skip` are left as they are.
void FillGradient(QImage& image, const QRect& rect, QRgb top, QRgb bottom,
                  const QRect& skip = QRect());
// A rectangle outline `thickness` pixels wide: the top and left lines in `topLeft`, the right
// and bottom lines (with the top-right and bottom-left corners) in `bottomRight`.
void Draw3dRect(QImage& image, const QRect& rect, QRgb topLeft, QRgb bottomRight, int thickness);

struct BlockLook {
    bool pressed = false;  // the gradient runs from the second colour to the first
    bool hover = false;    // both colours take the hover light first
};
// A gradient from `first` to `second`, a 3-D rectangle one line inside (first on the top-left,
// second on the bottom-right) and one on the edge with the colours swapped. `unit` is the
// device pixels of one line.
void DrawBevelledBlock(QImage& image, const QRect& rect, QRgb first, QRgb second, BlockLook look,
                       int unit);

// The device pixels of one logical line at `ratio` (at least 1), and a logical rectangle in
// device pixels (edges rounded, so neighbouring rectangles stay adjacent).
int LineUnit(qreal ratio);
QRect ToDevice(const QRect& logical, qreal ratio);

// The device pixel ratio of the surface `painter` really paints on (a widget rendered into an
// image of another ratio reports its own ratio as QPainter::device()).
qreal DevicePixelRatioOf(const QPainter& painter);

// An image of `logical` size at `ratio` filled with the gradient over its whole height.
QImage GradientImage(QSize logical, qreal ratio, QRgb top, QRgb bottom);

}  // namespace lanterna::skin
