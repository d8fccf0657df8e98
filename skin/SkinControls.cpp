#include "skin/SkinControls.h"

#include "skin/SkinButton.h"
#include "skin/SkinCheckBox.h"
#include "skin/SkinLabel.h"
#include "skin/SkinProgress.h"
#include "ui/Controls.h"

namespace lanterna::skin {

QWidget* CreateSkinControl(const ui::ControlTemplate& control, QWidget* parent,
                           const SkinPalette& palette) {
    switch (control.kind) {
        case ui::ControlKind::Button:
        case ui::ControlKind::DefaultButton: {
            auto* button = new CSkinButton(palette, parent);
            ui::SetUpButton(*button, control);
            button->SetMultiLine(control.Has(ui::ControlStyle::Multiline));
            return button;
        }
        case ui::ControlKind::Label: {
            auto* label = new CSkinLabel(palette, parent);
            ui::SetUpLabel(*label, control);
            return label;
        }
        case ui::ControlKind::Icon: {
            QLabel* icon = control.id == kHeaderIconControl
                               ? static_cast<QLabel*>(new CSkinIconStatic(palette, parent))
                               : new CSkinLabel(palette, parent);
            ui::SetUpIcon(*icon, control);
            return icon;
        }
        case ui::ControlKind::CheckBox: {
            auto* box = new CSkinCheckBox(palette, parent);
            ui::SetUpCheckBox(*box, control);
            return box;
        }
        case ui::ControlKind::RadioButton: {
            auto* radio = new CSkinRadioButton(palette, parent);
            ui::SetUpRadioButton(*radio, control);
            return radio;
        }
        case ui::ControlKind::ProgressBar:
            return new CSkinProgress(palette, parent);
        default:
            return nullptr;
    }
}

}  // namespace lanterna::skin
