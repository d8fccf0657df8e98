#pragma once
// Shared pieces of the skin's tests: templates with the frame styles and control kinds under
// test, and helpers to read pixels and to press the mouse on a window.

#include <gtest/gtest.h>

#include <QImage>
#include <QPoint>
#include <QRgb>
#include <ostream>
#include <string>

#include "skin/SkinDialog.h"

namespace skintest {

// Every control kind the skin draws, in a dialog with minimise and maximise boxes.
inline constexpr int kControlsTemplate = 9101;
// A tool window that asks for minimise and maximise boxes.
inline constexpr int kToolTemplate = 9102;
// Close box, but its cancel button is disabled: the close request is refused.
inline constexpr int kLockedTemplate = 9103;

enum Id {
    kButton = 100,
    kFlatButton = 101,
    kMultiLineButton = 102,
    kDisabledButton = 103,
    kTwinButton = 104,  // same size and text as kButton
    kLabel = 110,
    kCheck = 120,
    kRadio = 121,
    kProgress = 130,
    kHeaderIcon = 1000,
    kOtherIcon = 1200,
};

void RegisterTemplates();

// The colour of a pixel without its alpha, printable by gtest.
struct Rgb {
    int r = 0;
    int g = 0;
    int b = 0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};
inline void PrintTo(const Rgb& colour, std::ostream* out) {
    *out << "RGB(" << colour.r << ", " << colour.g << ", " << colour.b << ")";
}
Rgb ToRgb(QRgb colour);
Rgb PixelAt(const QImage& image, int x, int y);
Rgb PixelAt(const QImage& image, QPoint point);

// Sends a left-button press or release at `point` of `widget` (its own coordinates).
void PressAt(QWidget& widget, QPoint point);
void ReleaseAt(QWidget& widget, QPoint point);
void ClickAt(QWidget& widget, QPoint point);

// The centre pixel of a caption button.
inline QPoint Centre(const QRect& rect) {
    return QPoint(rect.left() + rect.width() / 2, rect.top() + rect.height() / 2);
}

}  // namespace skintest
