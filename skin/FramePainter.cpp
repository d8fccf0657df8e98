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
void DrawFrameBevel(QImage& image, const QRect& whole, int unit) {
    const QRect ring = whole.adjusted(unit, unit, -unit, -unit);
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
    DrawFramePart(image, QPoint(0, 0), geometry, style, palette, content);
}

void DrawFramePart(QImage& image, QPoint origin, const FrameGeometry& geometry,
                   const FrameStyle& style, const SkinPalette& palette,
                   const FrameContent& content) {
    // Everything in the coordinates of `image`; the pixel steps clip to it.
    const qreal ratio = image.devicePixelRatio();
    const int unit = LineUnit(ratio);
    const auto toImage = [&](const QRect& logical) {
        return ToDevice(logical, ratio).translated(-origin);
    };
    const QRect whole = toImage(QRect(QPoint(0, 0), geometry.window));
    const QRect client = toImage(geometry.ClientRect());
    if (!style.caption) {
        FillGradient(image, whole, palette.borderTop, palette.borderBottom, client);
    } else {
        const QRect band = toImage(QRect(0, 0, geometry.window.width(), geometry.BandHeight()));
        FillGradient(image, band, palette.captionTop, palette.captionBottom);
        FillGradient(
            image,
            QRect(whole.left(), band.bottom() + 1, whole.width(), whole.bottom() - band.bottom()),
            palette.borderTop, palette.borderBottom, client);
        DrawFrameBevel(image, whole, unit);
    }
    Draw3dRect(image, whole, palette.outerLine, palette.outerLine, unit);
    if (!style.caption || !toImage(QRect(0, 0, geometry.window.width(), geometry.BandHeight()))
                               .intersects(image.rect())) {
        return;
    }

    // The pixel work comes first, the painter after it.
    const BlockLook plain;
    if (style.sysMenu) {
        DrawBevelledBlock(image, toImage(geometry.CloseRect()), palette.captionButtonTop,
                          palette.captionButtonBottom, plain, unit);
    }
    if (style.HasMaximizeButton()) {
        DrawBevelledBlock(image, toImage(geometry.MaxRect()), palette.captionButtonTop,
                          palette.captionButtonBottom, plain, unit);
    }
    if (style.HasMinimizeButton()) {
        DrawBevelledBlock(image, toImage(geometry.MinRect()), palette.captionButtonTop,
                          palette.captionButtonBottom, plain, unit);
    }
    QPainter painter(&image);
    painter.translate(-QPointF(origin) / ratio);
    DrawTitle(painter, geometry.TitleRect(style), palette, content);
    if (style.sysMenu) {
        DrawCloseCross(painter, geometry.CloseRect(), palette.closeCross);
        if (!content.icon.isNull()) {
            painter.drawPixmap(geometry.IconRect(), content.icon);
        }
    }
}

std::array<QRect, 4> FramePieces(const FrameGeometry& geometry, qreal ratio) {
    const QRect whole = ToDevice(QRect(QPoint(0, 0), geometry.window), ratio);
    const QRect client = ToDevice(geometry.ClientRect(), ratio);
    return {
        QRect(0, 0, whole.width(), client.top()),
        QRect(0, client.top(), client.left(), client.height()),
        QRect(client.right() + 1, client.top(), whole.width() - client.right() - 1,
              client.height()),
        QRect(0, client.bottom() + 1, whole.width(), whole.height() - client.bottom() - 1),
    };
}

}  // namespace lanterna::skin
