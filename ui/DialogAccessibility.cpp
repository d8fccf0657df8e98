// Accessible names: the part of CDialog that names its controls after their labels.
#include <QAbstractButton>
#include <QLabel>
#include <algorithm>
#include <map>

#include "resources/StringTable.h"
#include "resources/TextPattern.h"
#include "ui/Dialog.h"
#include "ui/Text.h"

namespace ui {
namespace {

bool IsInputKind(ControlKind kind) {
    switch (kind) {
        case ControlKind::Edit:
        case ControlKind::IpAddress:
        case ControlKind::ComboBox:
        case ControlKind::ListView:
        case ControlKind::ProgressBar:
        case ControlKind::Table:
            return true;
        default:
            return false;
    }
}

bool IsButtonKind(ControlKind kind) {
    return kind == ControlKind::Button || kind == ControlKind::DefaultButton ||
           kind == ControlKind::CheckBox || kind == ControlKind::RadioButton;
}

// Controls whose name comes from a label: inputs, and buttons that carry no text of their own.
bool TakesNameFromLabel(const ControlTemplate& control) {
    return IsInputKind(control.kind) || (IsButtonKind(control.kind) && control.text.empty());
}

bool SharesRow(const DluRect& label, const DluRect& control) {
    return label.y < control.y + control.height && control.y < label.y + label.height &&
           label.x < control.x;
}

bool LiesAbove(const DluRect& label, const DluRect& control) {
    return label.y + label.height <= control.y && label.x < control.x + control.width &&
           control.x < label.x + label.width;
}

}  // namespace

const CDialog::Control* CDialog::FindNamingLabel(const Control& control) const {
    const DluRect& place = control.source->rect;
    const Control* onRow = nullptr;
    const Control* above = nullptr;
    for (const Control& candidate : controls_) {
        if (candidate.source->kind != ControlKind::Label ||
            dynamic_cast<QLabel*>(candidate.widget) == nullptr) {
            continue;
        }
        const DluRect& label = candidate.source->rect;
        if (SharesRow(label, place) && (onRow == nullptr || label.x > onRow->source->rect.x)) {
            onRow = &candidate;
        } else if (LiesAbove(label, place) &&
                   (above == nullptr || label.y > above->source->rect.y)) {
            above = &candidate;
        }
    }
    return onRow != nullptr ? onRow : above;
}

// An input beside a radio button or check box instead of a label (a key box beside the radio
// that chooses it): the nearest such button with a text to its left on its row.
const CDialog::Control* CDialog::FindNamingButton(const Control& control) const {
    const DluRect& place = control.source->rect;
    const Control* onRow = nullptr;
    for (const Control& candidate : controls_) {
        const ControlKind kind = candidate.source->kind;
        if ((kind != ControlKind::RadioButton && kind != ControlKind::CheckBox) ||
            candidate.source->text.empty()) {
            continue;
        }
        const DluRect& button = candidate.source->rect;
        if (SharesRow(button, place) && (onRow == nullptr || button.x > onRow->source->rect.x)) {
            onRow = &candidate;
        }
    }
    return onRow;
}

void CDialog::NameControls() {
    for (Control& control : controls_) {
        if (!control.source->accessibleName.empty()) {
            control.widget->setAccessibleName(ToQString(control.source->accessibleName));
            continue;
        }
        if (!TakesNameFromLabel(*control.source)) {
            continue;
        }
        const Control* label = FindNamingLabel(control);
        const bool labelOnRow =
            label != nullptr && SharesRow(label->source->rect, control.source->rect);
        if (!labelOnRow && IsInputKind(control.source->kind)) {
            if (const Control* button = FindNamingButton(control)) {
                control.widget->setAccessibleName(ToQString(button->source->text));
                continue;
            }
        }
        if (label == nullptr) {
            control.widget->setAccessibleName(windowTitle());
            continue;
        }
        auto* text = static_cast<QLabel*>(label->widget);
        control.nameLabel = text;
        control.widget->setAccessibleName(text->text());
        if (IsInputKind(control.source->kind) && text->buddy() == nullptr) {
            text->setBuddy(control.widget);  // the label is reported as labelling the input
        }
    }
    QualifySharedButtonNames();
    QualifyIndicatorNames();
}

// A check box without a text of its own (an indicator at the end of a row) takes its name from
// the row's label, which also names the row's input: it is told apart as that row's indicator.
void CDialog::QualifyIndicatorNames() {
    for (Control& control : controls_) {
        if (control.source->kind != ControlKind::CheckBox || !control.source->text.empty() ||
            !control.source->accessibleName.empty()) {
            continue;
        }
        const QString name = control.widget->accessibleName();
        const bool shared = std::any_of(controls_.begin(), controls_.end(), [&](const Control& other) {
            return &other != &control && other.widget->accessibleName() == name;
        });
        if (shared) {
            control.widget->setAccessibleName(ToQString(lanterna::FormatString(
                lanterna::kStringRowIndicator, lanterna::UserLanguage(), {ToUtf8(name)})));
            control.nameLabel = nullptr;
        }
    }
}

// The name of the row `control` stands on: the text of the nearest label to its left on its
// row, or the name of the nearest input there (which has it from its own label).
QString CDialog::RowNameOf(const Control& control) const {
    const DluRect& place = control.source->rect;
    const Control* nearest = nullptr;
    for (const Control& candidate : controls_) {
        const ControlTemplate& source = *candidate.source;
        const bool namesRow =
            (source.kind == ControlKind::Label && !source.text.empty()) ||
            (IsInputKind(source.kind) && !candidate.widget->accessibleName().isEmpty());
        if (namesRow && SharesRow(source.rect, place) &&
            (nearest == nullptr || source.rect.x > nearest->source->rect.x)) {
            nearest = &candidate;
        }
    }
    if (nearest == nullptr) {
        return {};
    }
    if (const auto* label = dynamic_cast<const QLabel*>(nearest->widget)) {
        return label->text();
    }
    return nearest->widget->accessibleName();
}

// Buttons, check boxes and radio buttons that show the same text more than once in a dialog
// (an "on" radio button on two rows, one button per recipient) are told apart by their row:
// their name is the row's name, a colon and their text. What they show stays as it is.
void CDialog::QualifySharedButtonNames() {
    std::map<std::string, int> uses;
    for (const Control& control : controls_) {
        if (IsButtonKind(control.source->kind) && !control.source->text.empty()) {
            ++uses[control.source->text];
        }
    }
    for (const Control& control : controls_) {
        const ControlTemplate& source = *control.source;
        if (!IsButtonKind(source.kind) || source.text.empty() || uses[source.text] < 2) {
            continue;
        }
        if (const QString row = RowNameOf(control); !row.isEmpty()) {
            control.widget->setAccessibleName(row + QStringLiteral(": ") + ToQString(source.text));
        }
    }
}

void CDialog::RenameControlsOf(const QLabel* label) {
    for (const Control& control : controls_) {
        if (control.nameLabel == label) {
            control.widget->setAccessibleName(label->text());
        }
    }
}

}  // namespace ui
