#include "dialogs/MarkerLamp.h"

#include <QPainter>

namespace lanterna::dialogs {

CMarkerLamp::CMarkerLamp(QWidget* parent) : ui::CCheckBox(parent) {
    SetThreeState(true);
    setAttribute(Qt::WA_OpaquePaintEvent);  // every pixel is painted: nothing to erase first
}

QColor CMarkerLamp::ColourOf(int state) {
    switch (state) {
        case 1:
            return QColor(255, 0, 0);
        case 2:
            return QColor(0, 255, 0);
        default:
            return QColor(155, 155, 161);
    }
}

void CMarkerLamp::nextCheckState() {
    SetCheckState((CheckState() + 2) % 3);
}

void CMarkerLamp::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), ColourOf(CheckState()));
}

// The whole lamp is the button, not only a check box's indicator.
bool CMarkerLamp::hitButton(const QPoint& position) const {
    return rect().contains(position);
}

}  // namespace lanterna::dialogs
