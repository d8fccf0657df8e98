#pragma once
// The skin's static controls, drawn straight over the dialog's gradient in the skin's text
// colour. Neither fills a background, so a changed text leaves nothing of the old one behind:
// the gradient under the label is painted afresh first. Both stay QLabels, so their texts (and
// the accessible names taken from them) are those of the kit's labels.
//
// CSkinLabel: the text labels, and the icons other than the header's. Its icon is drawn at
// (0, 0), its text word-wrapped inside the control in the control's font.
// CSkinIconStatic: the icon in the header of a dialog (control 1000), drawn at (0, 0), in the
// desktop's default interface font should it ever carry text.

#include <QLabel>

#include "skin/SkinPalette.h"

namespace lanterna::skin {

class CSkinLabel : public QLabel {
  public:
    explicit CSkinLabel(const SkinPalette& palette, QWidget* parent = nullptr);
    QRgb TextColor() const { return textColor_; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QRgb textColor_;
};

class CSkinIconStatic : public QLabel {
  public:
    explicit CSkinIconStatic(const SkinPalette& palette, QWidget* parent = nullptr);

  protected:
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace lanterna::skin
