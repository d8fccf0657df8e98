#include "skin/TransparentText.h"

#include <QPalette>
#include <QWidget>

namespace lanterna::skin {

void MakeTransparentText(QWidget& widget, QRgb textColor) {
    QPalette colours = widget.palette();
    for (const QPalette::ColorRole role :
         {QPalette::WindowText, QPalette::Text, QPalette::ButtonText}) {
        colours.setColor(role, QColor::fromRgb(textColor));
    }
    widget.setPalette(colours);
    widget.setAutoFillBackground(false);
}

}  // namespace lanterna::skin
