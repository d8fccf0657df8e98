#pragma once
// Draws the skinned frame of a window: caption and border gradients, the bevel, the outer line,
// the shadowed title, the icon and the caption buttons. Images are in device pixels with their
// device pixel ratio set; the area under the client is left as it is (the window paints its
// client over it).

#include <QFont>
#include <QImage>
#include <QPixmap>
#include <QString>
#include <array>

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

// The whole frame into an image of the window's size.
void DrawFrame(QImage& image, const FrameGeometry& geometry, const FrameStyle& style,
               const SkinPalette& palette, const FrameContent& content);

// The part of the frame that falls into `image`, whose top-left pixel lies at `origin` in the
// window (device pixels). The pieces of the frame can so be kept in images of their own.
void DrawFramePart(QImage& image, QPoint origin, const FrameGeometry& geometry,
                   const FrameStyle& style, const SkinPalette& palette,
                   const FrameContent& content);

// The four pieces of the frame around the client, in device pixels of the window: the caption
// band (the top border with it), the left and right borders and the bottom border.
std::array<QRect, 4> FramePieces(const FrameGeometry& geometry, qreal ratio);

}  // namespace lanterna::skin
