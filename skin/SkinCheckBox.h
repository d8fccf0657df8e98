#pragma once
// The skin's check boxes and radio buttons: the kit's own controls, their texts in the skin's
// text colour, drawn without a background so the dialog's gradient shows through.

#include "skin/SkinPalette.h"
#include "ui/Controls.h"

namespace lanterna::skin {

class CSkinCheckBox : public ui::CCheckBox {
  public:
    explicit CSkinCheckBox(const SkinPalette& palette, QWidget* parent = nullptr);
    QRgb TextColor() const { return textColor_; }

  private:
    QRgb textColor_;
};

class CSkinRadioButton : public ui::CRadioButton {
  public:
    explicit CSkinRadioButton(const SkinPalette& palette, QWidget* parent = nullptr);
    QRgb TextColor() const { return textColor_; }

  private:
    QRgb textColor_;
};

}  // namespace lanterna::skin
