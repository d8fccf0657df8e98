#pragma once
// Which skinned control each kind of template control becomes: push buttons CSkinButton, labels
// CSkinLabel, the header icon (control 1000) CSkinIconStatic and other icons CSkinLabel, check
// boxes and radio buttons CSkinCheckBox and CSkinRadioButton, the progress bar CSkinProgress.
// Edits, address controls, lists, combo boxes, group boxes and lines stay the kit's own.

#include <QWidget>

#include "skin/SkinPalette.h"
#include "ui/DialogTemplate.h"

namespace lanterna::skin {

inline constexpr int kHeaderIconControl = 1000;

// The skinned control for `control`, set up as the kit sets up its own; nullptr for the kinds
// the skin leaves to the kit.
QWidget* CreateSkinControl(const ui::ControlTemplate& control, QWidget* parent,
                           const SkinPalette& palette);

}  // namespace lanterna::skin
