#include "skin/SkinButton.h"

#include <QMouseEvent>
#include <QPainter>

#include "skin/SkinPaint.h"

namespace lanterna::skin {
namespace {

constexpr int kMultiLineMargin = 5;
constexpr int kFocusInset = 3;

}  // namespace

CSkinButton::CSkinButton(const SkinPalette& palette, QWidget* parent)
    : QPushButton(parent),
      faceTop_(palette.buttonFaceTop),
      faceBottom_(palette.buttonFaceBottom),
      textColor_(palette.buttonText),
      disabledTextColor_(palette.buttonDisabledText) {
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);  // the face covers every pixel: nothing to erase
}

void CSkinButton::SetMultiLine(bool multiLine) {
    multiLine_ = multiLine;
    update();
}

QImage CSkinButton::RenderFace(qreal ratio) const {
    const int unit = LineUnit(ratio);
    QImage image(ToDevice(rect(), ratio).size(), QImage::Format_RGB32);
    image.setDevicePixelRatio(ratio);
    const BlockLook look{.pressed = isDown(), .hover = !mouseOutside_};
    if (isFlat()) {
        DrawBevelledBlock(image, image.rect(), faceTop_, faceTop_, look, unit);
        Draw3dRect(image, image.rect().adjusted(unit, unit, -unit, -unit), faceTop_, faceBottom_,
                   unit);
        Draw3dRect(image, image.rect(), faceBottom_, faceTop_, unit);
    } else {
        DrawBevelledBlock(image, image.rect(), faceTop_, faceBottom_, look, unit);
    }

    QPainter painter(&image);
    painter.setFont(font());
    QRect textRect = rect();
    int flags = Qt::AlignCenter | Qt::TextShowMnemonic;
    if (multiLine_) {
        textRect.adjust(kMultiLineMargin, kMultiLineMargin, -kMultiLineMargin, -kMultiLineMargin);
        flags |= Qt::TextWordWrap;
    } else {
        flags |= Qt::TextSingleLine;
    }
    painter.setPen(QColor::fromRgb(faceBottom_));
    painter.drawText(textRect.translated(1, 0), flags, text());
    painter.setPen(QColor::fromRgb(isEnabled() ? textColor_ : disabledTextColor_));
    painter.drawText(textRect, flags, text());
    return image;
}

void CSkinButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawImage(QPoint(0, 0), RenderFace(DevicePixelRatioOf(painter)));
    if (hasFocus()) {
        painter.setPen(QPen(QColor::fromRgb(textColor_), 1, Qt::DotLine));
        painter.drawRect(
            rect().adjusted(kFocusInset, kFocusInset, -kFocusInset - 1, -kFocusInset - 1));
    }
}

// Hover starts with the first move over the button, unless the button is held down.
void CSkinButton::mouseMoveEvent(QMouseEvent* event) {
    if (!pressed_ && mouseOutside_) {
        mouseOutside_ = false;
        update();
    }
    QPushButton::mouseMoveEvent(event);
}

void CSkinButton::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        pressed_ = true;
    }
    QPushButton::mousePressEvent(event);
}

void CSkinButton::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        pressed_ = false;
    }
    QPushButton::mouseReleaseEvent(event);
}

void CSkinButton::leaveEvent(QEvent* event) {
    mouseOutside_ = true;
    update();
    QPushButton::leaveEvent(event);
}

}  // namespace lanterna::skin
