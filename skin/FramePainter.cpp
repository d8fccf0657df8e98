#include "skin/FramePainter.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPen>

#include "skin/SkinPaint.h"

namespace lanterna::skin {
namespace {

// Lightens or darkens the pixels of `rect` in place.
template <class Step>
void AdjustPixels(QImage& image, const QRect& rect, Step step) {
    const QRect clipped = rect & image.rect();
    for (int y = clipped.top(); y <= clipped.bottom(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = clipped.left(); x <= clipped.right(); ++x) {
            line[x] = step(line[x]);
        }
    }
}

// One line inside the window edge: the top and left lines lightened, the right and bottom
// lines (corners included) darkened.
void DrawFrameBevel(QImage& image, int unit) {
    const QRect ring = image.rect().adjusted(unit, unit, -unit, -unit);
    if (ring.width() < 2 * unit || ring.height() < 2 * unit) {
        return;
    }
    const auto lighter = [](QRgb colour) { return Lighten(colour, kBevelStep); };
    const auto darker = [](QRgb colour) { return Darken(colour, kBevelStep); };
    AdjustPixels(image, QRect(ring.left(), ring.top(), ring.width() - unit, unit), lighter);
    AdjustPixels(image, QRect(ring.left(), ring.top() + unit, unit, ring.height() - 2 * unit),
                 lighter);
    AdjustPixels(image, QRect(ring.right() + 1 - unit, ring.top(), unit, ring.height()), darker);
    AdjustPixels(image, QRect(ring.left(), ring.bottom() + 1 - unit, ring.width() - unit, unit),
                 darker);
}

void DrawTitle(QPainter& painter, const QRect& rect, const SkinPalette& palette,
               const FrameContent& content) {
    if (rect.width() <= 0 || content.title.isEmpty()) {
        return;
    }
    painter.setFont(content.font);
    const QString shown =
        QFontMetrics(content.font).elidedText(content.title, Qt::ElideRight, rect.width());
    constexpr int kFlags = Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine;
    painter.setPen(QColor::fromRgb(palette.titleShadow));
    painter.drawText(rect.translated(1, 0), kFlags, shown);
    painter.setPen(QColor::fromRgb(palette.titleText));
    painter.drawText(rect, kFlags, shown);
}

void DrawCloseCross(QPainter& painter, const QRect& button, QRgb colour) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor::fromRgb(colour), 2, Qt::SolidLine, Qt::FlatCap));
    const int left = button.left() + 4;
    const int top = button.top() + 4;
    const int right = button.left() + button.width() - 5;
    const int bottom = button.top() + button.height() - 5;
    painter.drawLine(QPointF(left, top), QPointF(right, bottom));
    painter.drawLine(QPointF(right, top), QPointF(left, bottom));
    painter.restore();
}

}  // namespace

void DrawFrame(QImage& image, const FrameGeometry& geometry, const FrameStyle& style,
               const SkinPalette& palette, const FrameContent& content) {
    const qreal ratio = image.devicePixelRatio();
    const int unit = LineUnit(ratio);
    const QRect whole = image.rect();
    const QRect client = ToDevice(geometry.ClientRect(), ratio);
    if (!style.caption) {
        FillGradient(image, whole, palette.borderTop, palette.borderBottom, client);
    } else {
        const int band = ToDevice(QRect(0, 0, 1, geometry.BandHeight()), ratio).height();
        FillGradient(image, QRect(0, 0, whole.width(), band), palette.captionTop,
                     palette.captionBottom);
        FillGradient(image, QRect(0, band, whole.width(), whole.height() - band), palette.borderTop,
                     palette.borderBottom, client);
        DrawFrameBevel(image, unit);
    }
    Draw3dRect(image, whole, palette.outerLine, palette.outerLine, unit);
    if (!style.caption) {
        return;
    }

    // The pixel work comes first, the painter after it.
    const BlockLook plain;
    if (style.sysMenu) {
        DrawBevelledBlock(image, ToDevice(geometry.CloseRect(), ratio), palette.captionButtonTop,
                          palette.captionButtonBottom, plain, unit);
    }
    if (style.HasMaximizeButton()) {
        DrawBevelledBlock(image, ToDevice(geometry.MaxRect(), ratio), palette.captionButtonTop,
                          palette.captionButtonBottom, plain, unit);
    }
    if (style.HasMinimizeButton()) {
        DrawBevelledBlock(image, ToDevice(geometry.MinRect(), ratio), palette.captionButtonTop,
                          palette.captionButtonBottom, plain, unit);
    }
    QPainter painter(&image);
    DrawTitle(painter, geometry.TitleRect(style), palette, content);
    if (style.sysMenu) {
        DrawCloseCross(painter, geometry.CloseRect(), palette.closeCross);
        if (!content.icon.isNull()) {
            painter.drawPixmap(geometry.IconRect(), content.icon);
        }
    }
}

}  // namespace lanterna::skin
