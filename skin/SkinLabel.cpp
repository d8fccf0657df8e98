#include "skin/SkinLabel.h"

#include <QFontDatabase>
#include <QPainter>

#include "skin/TransparentText.h"

namespace lanterna::skin {

CSkinLabel::CSkinLabel(const SkinPalette& palette, QWidget* parent)
    : QLabel(parent), textColor_(palette.labelText) {
    MakeTransparentText(*this, textColor_);
}

void CSkinLabel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QPixmap icon = pixmap();
    if (!icon.isNull()) {
        painter.drawPixmap(QPoint(0, 0), icon);
    }
    if (text().isEmpty()) {
        return;
    }
    painter.setFont(font());
    painter.setPen(QColor::fromRgb(textColor_));
    const int wrap = wordWrap() ? int(Qt::TextWordWrap) : 0;
    painter.drawText(contentsRect(), int(alignment()) | wrap, text());
}

CSkinIconStatic::CSkinIconStatic(const SkinPalette& palette, QWidget* parent) : QLabel(parent) {
    MakeTransparentText(*this, palette.labelText);
    setFont(QFontDatabase::systemFont(QFontDatabase::GeneralFont));
}

void CSkinIconStatic::paintEvent(QPaintEvent* event) {
    const QPixmap icon = pixmap();
    if (icon.isNull()) {
        QLabel::paintEvent(event);
        return;
    }
    QPainter painter(this);
    painter.drawPixmap(QPoint(0, 0), icon);
}

}  // namespace lanterna::skin
