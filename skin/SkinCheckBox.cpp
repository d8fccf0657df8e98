#include "skin/SkinCheckBox.h"

#include "skin/TransparentText.h"

namespace lanterna::skin {

CSkinCheckBox::CSkinCheckBox(const SkinPalette& palette, QWidget* parent)
    : ui::CCheckBox(parent), textColor_(palette.labelText) {
    MakeTransparentText(*this, textColor_);
}

CSkinRadioButton::CSkinRadioButton(const SkinPalette& palette, QWidget* parent)
    : ui::CRadioButton(parent), textColor_(palette.labelText) {
    MakeTransparentText(*this, textColor_);
}

}  // namespace lanterna::skin
