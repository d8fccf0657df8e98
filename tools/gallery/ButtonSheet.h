#pragma once
// One picture of the skinned push button in each of its looks, side by side over the client
// gradient: normal, hover, pressed, hover and pressed, disabled, focused, default, flat and
// multi-line.

#include <QImage>

namespace lanterna::gallery {

QImage RenderButtonSheet();

}  // namespace lanterna::gallery
