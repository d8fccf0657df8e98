#include "skin/SkinPaint.h"

#include <QPaintEngine>
#include <QPainter>
#include <algorithm>
#include <cmath>

namespace lanterna::skin {
namespace {

int Channel(int top, int bottom, int row, int height) {
    return top + (bottom - top) * row / height;
}

QRgb MapChannels(QRgb colour, int (*step)(int)) {
    return qRgb(step(qRed(colour)), step(qGreen(colour)), step(qBlue(colour)));
}

void FillSpan(QImage& image, int y, int left, int right, QRgb colour) {
    if (left >= right) {
        return;
    }
    auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
    std::fill(line + left, line + right, colour);
}

void FillRect(QImage& image, const QRect& rect, QRgb colour) {
    const QRect clipped = rect & image.rect();
    for (int y = clipped.top(); y <= clipped.bottom(); ++y) {
        FillSpan(image, y, clipped.left(), clipped.right() + 1, colour);
    }
}

}  // namespace

QRgb GradientRowColor(QRgb top, QRgb bottom, int row, int height) {
    if (height <= 0) {
        return top;
    }
    return qRgb(Channel(qRed(top), qRed(bottom), row, height),
                Channel(qGreen(top), qGreen(bottom), row, height),
                Channel(qBlue(top), qBlue(bottom), row, height));
}

QRgb Lighten(QRgb colour, int amount) {
    return qRgb(std::min(qRed(colour) + amount, 255), std::min(qGreen(colour) + amount, 255),
                std::min(qBlue(colour) + amount, 255));
}

QRgb Darken(QRgb colour, int amount) {
    return qRgb(std::max(qRed(colour) - amount, 0), std::max(qGreen(colour) - amount, 0),
                std::max(qBlue(colour) - amount, 0));
}

QRgb HoverLighten(QRgb colour) {
    return MapChannels(colour, [](int channel) { return channel > 200 ? 255 : channel + 50; });
}

void FillGradient(QImage& image, const QRect& rect, QRgb top, QRgb bottom, const QRect& skip) {
    const QRect clipped = rect & image.rect();
    for (int y = clipped.top(); y <= clipped.bottom(); ++y) {
        const QRgb colour = GradientRowColor(top, bottom, y - rect.top(), rect.height());
        if (skip.isValid() && y >= skip.top() && y <= skip.bottom()) {
            FillSpan(image, y, clipped.left(), std::min(skip.left(), clipped.right() + 1), colour);
            FillSpan(image, y, std::max(skip.right() + 1, clipped.left()), clipped.right() + 1,
                     colour);
        } else {
            FillSpan(image, y, clipped.left(), clipped.right() + 1, colour);
        }
    }
}

void Draw3dRect(QImage& image, const QRect& rect, QRgb topLeft, QRgb bottomRight, int thickness) {
    if (rect.width() <= 0 || rect.height() <= 0) {
        return;
    }
    const int t = std::max(1, thickness);
    FillRect(image, QRect(rect.left(), rect.top(), rect.width(), t), topLeft);
    FillRect(image, QRect(rect.left(), rect.top(), t, rect.height()), topLeft);
    FillRect(image, QRect(rect.right() + 1 - t, rect.top(), t, rect.height()), bottomRight);
    FillRect(image, QRect(rect.left(), rect.bottom() + 1 - t, rect.width(), t), bottomRight);
}

void DrawBevelledBlock(QImage& image, const QRect& rect, QRgb first, QRgb second, BlockLook look,
                       int unit) {
    if (look.hover) {
        first = HoverLighten(first);
        second = HoverLighten(second);
    }
    if (look.pressed) {
        FillGradient(image, rect, second, first);
    } else {
        FillGradient(image, rect, first, second);
    }
    Draw3dRect(image, rect.adjusted(unit, unit, -unit, -unit), first, second, unit);
    Draw3dRect(image, rect, second, first, unit);
}

int LineUnit(qreal ratio) {
    return std::max(1, static_cast<int>(std::lround(ratio)));
}

QRect ToDevice(const QRect& logical, qreal ratio) {
    const auto scale = [ratio](int value) {
        return static_cast<int>(std::lround(static_cast<double>(value) * ratio));
    };
    const int left = scale(logical.left());
    const int top = scale(logical.top());
    return QRect(left, top, scale(logical.left() + logical.width()) - left,
                 scale(logical.top() + logical.height()) - top);
}

qreal DevicePixelRatioOf(const QPainter& painter) {
    const QPaintEngine* engine = painter.paintEngine();
    const QPaintDevice* device = engine != nullptr ? engine->paintDevice() : painter.device();
    return device != nullptr ? device->devicePixelRatioF() : 1.0;
}

QImage GradientImage(QSize logical, qreal ratio, QRgb top, QRgb bottom) {
    const QRect device = ToDevice(QRect(QPoint(0, 0), logical), ratio);
    QImage image(device.size(), QImage::Format_RGB32);
    image.setDevicePixelRatio(ratio);
    FillGradient(image, image.rect(), top, bottom);
    return image;
}

}  // namespace lanterna::skin
