#pragma once
// CSkinButton: a push button drawn entirely by the skin: a bevelled gradient face that lightens
// while the mouse is over it and turns over while it is pressed, the caption with a shadow one
// pixel to its right (grey when disabled), and a dotted focus frame inset 3 pixels. The default
// button looks like any other, whichever button has the focus. It stays a QPushButton: clicks,
// the default button, Enter, its text and its accessible name work as for the kit's buttons.

#include <QPushButton>

#include "skin/SkinPalette.h"

namespace lanterna::skin {

class CSkinButton : public QPushButton {
  public:
    explicit CSkinButton(const SkinPalette& palette, QWidget* parent = nullptr);

    // Text centred on several lines, inside a 5-pixel margin; otherwise one centred line.
    void SetMultiLine(bool multiLine);
    bool IsMultiLine() const { return multiLine_; }
    bool IsHovered() const { return !mouseOutside_; }

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

  private:
    // The face, caption included, in an image at `ratio`.
    QImage RenderFace(qreal ratio) const;

    QRgb faceTop_;
    QRgb faceBottom_;
    QRgb textColor_;
    QRgb disabledTextColor_;
    bool mouseOutside_ = true;
    bool pressed_ = false;  // the left button went down on this button
    bool multiLine_ = false;
};

}  // namespace lanterna::skin
