#pragma once
// Gives a control the skin's text colour and no background of its own, so the dialog's
// gradient shows through it.

#include <QRgb>

class QWidget;

namespace lanterna::skin {

void MakeTransparentText(QWidget& widget, QRgb textColor);

}  // namespace lanterna::skin
