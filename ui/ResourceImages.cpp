#include "ui/ResourceImages.h"

#include <QFont>
#include <QHash>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <array>

namespace ui {
namespace {

// Every drawing works on a 32 x 32 canvas; the painter is scaled to the size asked for.
using Drawing = void (*)(QPainter&);

const QColor kOutline(40, 44, 70);
const QColor kLensBlue(38, 72, 150);

void DrawProjector(QPainter& painter) {
    QLinearGradient body(0, 12, 0, 25);
    body.setColorAt(0, QColor(250, 250, 252));
    body.setColorAt(1, QColor(170, 172, 184));
    painter.setPen(QPen(kOutline, 1.2));
    painter.setBrush(body);
    painter.drawRoundedRect(QRectF(3.5, 12.5, 25, 12), 3, 3);
    painter.setBrush(QColor(90, 92, 110));
    painter.drawRect(QRectF(6, 25, 3, 2));
    painter.drawRect(QRectF(23, 25, 3, 2));
    QRadialGradient lens(QPointF(9.5, 17.5), 5);
    lens.setColorAt(0, QColor(150, 190, 255));
    lens.setColorAt(1, kLensBlue);
    painter.setBrush(lens);
    painter.drawEllipse(QPointF(10.5, 18.5), 4.5, 4.5);
    painter.setPen(QPen(QColor(110, 112, 130), 1));
    for (int line = 0; line < 3; ++line) {
        painter.drawLine(QPointF(18, 16 + line * 2.5), QPointF(25.5, 16 + line * 2.5));
    }
}

void DrawBadge(QPainter& painter, const QColor& colour) {
    painter.setPen(QPen(Qt::white, 1.2));
    painter.setBrush(colour);
    painter.drawEllipse(QPointF(24.5, 24.5), 6.5, 6.5);
}

void DrawApplication(QPainter& painter) {
    QPainterPath beam;
    beam.moveTo(10, 17);
    beam.lineTo(31, 2);
    beam.lineTo(31, 14);
    beam.closeSubpath();
    QLinearGradient light(10, 17, 31, 8);
    light.setColorAt(0, QColor(255, 236, 120, 230));
    light.setColorAt(1, QColor(255, 236, 120, 40));
    painter.setPen(Qt::NoPen);
    painter.setBrush(light);
    painter.drawPath(beam);
    DrawProjector(painter);
}

void DrawProjectorAdded(QPainter& painter) {
    DrawProjector(painter);
    DrawBadge(painter, QColor(40, 110, 210));
    painter.setPen(QPen(Qt::white, 2));
    painter.drawLine(QPointF(24.5, 21), QPointF(24.5, 28));
    painter.drawLine(QPointF(21, 24.5), QPointF(28, 24.5));
}

void DrawProjectorFound(QPainter& painter) {
    DrawProjector(painter);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(QColor(30, 160, 70), 2, Qt::SolidLine, Qt::RoundCap));
    for (int arc = 0; arc < 3; ++arc) {
        const double radius = 3 + arc * 3.5;
        painter.drawArc(QRectF(25 - radius, 9 - radius, 2 * radius, 2 * radius), 10 * 16, 70 * 16);
    }
}

void DrawConnectByAddress(QPainter& painter) {
    QLinearGradient face(0, 3, 0, 29);
    face.setColorAt(0, QColor(90, 150, 240));
    face.setColorAt(1, QColor(30, 70, 160));
    painter.setPen(QPen(kOutline, 1.2));
    painter.setBrush(face);
    painter.drawRoundedRect(QRectF(2.5, 4.5, 27, 23), 5, 5);
    QFont font;
    font.setBold(true);
    font.setPixelSize(13);
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(QRectF(2.5, 4.5, 27, 15), Qt::AlignCenter, QStringLiteral("IP"));
    painter.setPen(QPen(QColor(255, 220, 90), 2.2, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(8, 23), QPointF(23, 23));
    painter.drawLine(QPointF(19, 19.5), QPointF(23, 23));
    painter.drawLine(QPointF(19, 26.5), QPointF(23, 23));
}

void DrawDocument(QPainter& painter) {
    QPainterPath page;
    page.moveTo(6.5, 2.5);
    page.lineTo(20.5, 2.5);
    page.lineTo(26.5, 8.5);
    page.lineTo(26.5, 29.5);
    page.lineTo(6.5, 29.5);
    page.closeSubpath();
    painter.setPen(QPen(kOutline, 1.2));
    painter.setBrush(QColor(252, 252, 255));
    painter.drawPath(page);
    painter.setBrush(QColor(210, 214, 230));
    painter.drawPolygon(QPolygonF({QPointF(20.5, 2.5), QPointF(20.5, 8.5), QPointF(26.5, 8.5)}));
    painter.setPen(QPen(QColor(160, 165, 190), 1));
    for (int line = 0; line < 3; ++line) {
        painter.drawLine(QPointF(9.5, 7 + line * 3), QPointF(18.5, 7 + line * 3));
    }
}

void DrawWiredFile(QPainter& painter) {
    DrawDocument(painter);
    painter.setPen(QPen(QColor(70, 70, 80), 2, Qt::SolidLine, Qt::RoundCap));
    painter.setBrush(Qt::NoBrush);
    QPainterPath cable;
    cable.moveTo(16.5, 29);
    cable.cubicTo(16.5, 25, 12, 25, 12, 22);
    painter.drawPath(cable);
    painter.setPen(QPen(kOutline, 1));
    painter.setBrush(QColor(60, 140, 220));
    painter.drawRect(QRectF(12.5, 15.5, 9, 7));
    painter.setPen(QPen(QColor(250, 210, 80), 1));
    for (int pin = 0; pin < 4; ++pin) {
        painter.drawLine(QPointF(14 + pin * 2, 16.5), QPointF(14 + pin * 2, 18.5));
    }
}

void DrawWirelessFile(QPainter& painter) {
    DrawDocument(painter);
    painter.setBrush(QColor(60, 140, 220));
    painter.setPen(Qt::NoPen);
    painter.drawEllipse(QPointF(16.5, 25), 1.8, 1.8);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(QColor(60, 140, 220), 1.8, Qt::SolidLine, Qt::RoundCap));
    for (int arc = 0; arc < 3; ++arc) {
        const double radius = 4 + arc * 3.2;
        painter.drawArc(QRectF(16.5 - radius, 25 - radius, 2 * radius, 2 * radius), 45 * 16,
                        90 * 16);
    }
}

void DrawSign(QPainter& painter, const QString& glyph, const QColor& colour, int pixelSize) {
    QFont font;
    font.setBold(true);
    font.setPixelSize(pixelSize);
    painter.setFont(font);
    painter.setPen(colour);
    painter.drawText(QRectF(0, 2, 32, 30), Qt::AlignCenter, glyph);
}

void DrawRoundSign(QPainter& painter, const QColor& light, const QColor& dark) {
    QRadialGradient face(QPointF(12, 10), 20);
    face.setColorAt(0, light);
    face.setColorAt(1, dark);
    painter.setPen(QPen(dark.darker(140), 1.2));
    painter.setBrush(face);
    painter.drawEllipse(QPointF(16, 16), 14, 14);
}

void DrawExclamation(QPainter& painter) {
    QLinearGradient face(0, 2, 0, 30);
    face.setColorAt(0, QColor(255, 236, 110));
    face.setColorAt(1, QColor(240, 180, 20));
    painter.setPen(QPen(QColor(120, 90, 0), 1.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(face);
    painter.drawPolygon(QPolygonF({QPointF(16, 2.5), QPointF(30, 28.5), QPointF(2, 28.5)}));
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(30, 30, 30));
    painter.drawRoundedRect(QRectF(14.4, 10, 3.2, 11), 1.2, 1.2);
    painter.drawEllipse(QPointF(16, 24.5), 1.9, 1.9);
}

void DrawInformation(QPainter& painter) {
    DrawRoundSign(painter, QColor(140, 190, 255), QColor(30, 80, 190));
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::white);
    painter.drawEllipse(QPointF(16, 9.5), 2.2, 2.2);
    painter.drawRoundedRect(QRectF(14, 13.5, 4, 11.5), 1.2, 1.2);
}

void DrawQuestion(QPainter& painter) {
    DrawRoundSign(painter, QColor(140, 190, 255), QColor(30, 80, 190));
    DrawSign(painter, QStringLiteral("?"), Qt::white, 20);
}

void DrawStop(QPainter& painter) {
    DrawRoundSign(painter, QColor(255, 130, 120), QColor(190, 20, 20));
    painter.setPen(QPen(Qt::white, 3.2, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(10.5, 10.5), QPointF(21.5, 21.5));
    painter.drawLine(QPointF(21.5, 10.5), QPointF(10.5, 21.5));
}

struct IconDrawing {
    int id;
    Drawing draw;
};

constexpr std::array kDrawings{
    IconDrawing{ResourceId::kApplicationIcon, DrawApplication},
    IconDrawing{ResourceId::kProjectorAddedIcon, DrawProjectorAdded},
    IconDrawing{ResourceId::kConnectByAddressIcon, DrawConnectByAddress},
    IconDrawing{ResourceId::kProjectorFoundIcon, DrawProjectorFound},
    IconDrawing{ResourceId::kExclamationIcon, DrawExclamation},
    IconDrawing{ResourceId::kInformationIcon, DrawInformation},
    IconDrawing{ResourceId::kQuestionIcon, DrawQuestion},
    IconDrawing{ResourceId::kStopIcon, DrawStop},
    IconDrawing{ResourceId::kWiredFileIcon, DrawWiredFile},
    IconDrawing{ResourceId::kWirelessFileIcon, DrawWirelessFile},
};

QImage DrawListBackground() {
    // A pale tile with a faint diagonal weave: visible behind the icons, never louder than them.
    constexpr int kTile = 48;
    QImage image(kTile, kTile, QImage::Format_ARGB32_Premultiplied);
    image.fill(QColor(247, 248, 252));
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(226, 230, 242), 1));
    for (int offset = -kTile; offset < kTile; offset += 12) {
        painter.drawLine(QPointF(offset, 0), QPointF(offset + kTile, kTile));
        painter.drawLine(QPointF(offset + kTile, 0), QPointF(offset, kTile));
    }
    painter.end();
    return image;
}

}  // namespace

QPixmap LoadIconPixmap(int id, int size) {
    // Images, not pixmaps, are kept: a pixmap must not outlive the application object.
    static QHash<quint64, QImage> cache;
    const quint64 key =
        (static_cast<quint64>(static_cast<quint32>(id)) << 32) | static_cast<quint32>(size);
    if (const auto found = cache.constFind(key); found != cache.constEnd()) {
        return QPixmap::fromImage(found.value());
    }
    for (const IconDrawing& drawing : kDrawings) {
        if (drawing.id != id || size <= 0) {
            continue;
        }
        QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setRenderHint(QPainter::TextAntialiasing);
        painter.scale(size / 32.0, size / 32.0);
        drawing.draw(painter);
        painter.end();
        cache.insert(key, image);
        return QPixmap::fromImage(image);
    }
    return QPixmap();
}

QIcon LoadIconResource(int id) {
    QIcon icon;
    for (const int size : {16, 32, 48}) {
        const QPixmap pixmap = LoadIconPixmap(id, size);
        if (pixmap.isNull()) {
            return QIcon();
        }
        icon.addPixmap(pixmap);
    }
    return icon;
}

QPixmap LoadBitmapResource(int id) {
    if (id != ResourceId::kListBackground) {
        return QPixmap();
    }
    static const QImage tile = DrawListBackground();
    return QPixmap::fromImage(tile);
}

std::vector<int> IconResourceIds() {
    std::vector<int> ids;
    for (const IconDrawing& drawing : kDrawings) {
        ids.push_back(drawing.id);
    }
    return ids;
}

}  // namespace ui
