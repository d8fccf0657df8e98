#include "skin/SkinProgress.h"

#include <QPainter>
#include <algorithm>

#include "skin/SkinPaint.h"

namespace lanterna::skin {

CSkinProgress::CSkinProgress(const SkinPalette& palette, QWidget* parent)
    : ui::CProgressBar(parent),
      backTop_(palette.progressBackTop),
      backBottom_(palette.progressBackBottom),
      barTop_(palette.progressBarTop),
      barBottom_(palette.progressBarBottom) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

int CSkinProgress::BarWidth(int position, int lower, int upper, int width) {
    if (upper <= lower || width <= 0) {
        return 0;
    }
    const long long span = static_cast<long long>(upper) - lower;
    const long long done = std::clamp<long long>(static_cast<long long>(position) - lower, 0, span);
    return static_cast<int>(done * width / span);
}

void CSkinProgress::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const qreal ratio = DevicePixelRatioOf(painter);
    QImage image(ToDevice(rect(), ratio).size(), QImage::Format_RGB32);
    image.setDevicePixelRatio(ratio);
    FillGradient(image, image.rect(), backTop_, backBottom_);
    const int bar = BarWidth(value(), minimum(), maximum(), image.width());
    FillGradient(image, QRect(0, 0, bar, image.height()), barTop_, barBottom_);
    painter.drawImage(QPoint(0, 0), image);
}

}  // namespace lanterna::skin
