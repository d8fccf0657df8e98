#pragma once
// Draws the whole skinned frame of a window into an image of the window's size (in device
// pixels, its device pixel ratio set): caption and border gradients, the bevel, the outer line,
// the shadowed title, the icon and the caption buttons. The area under the client is left as
// it is; the window paints its client over it.

#include <QFont>
#include <QImage>
#include <QPixmap>
#include <QString>

#include "skin/FrameGeometry.h"
#include "skin/SkinPalette.h"

namespace lanterna::skin {

struct FrameContent {
    QString title;
    QFont font;
    QPixmap icon;  // null for none
};

// How far the bevel lightens its top and left lines and darkens its right and bottom lines.
inline constexpr int kBevelStep = 100;

void DrawFrame(QImage& image, const FrameGeometry& geometry, const FrameStyle& style,
               const SkinPalette& palette, const FrameContent& content);

}  // namespace lanterna::skin
