#include "KitTestSupport.h"

#include <QCoreApplication>
#include <QInputMethodEvent>
#include <QTest>
#include <mutex>

#include "tests/support/ui/ControlTemplates.h"
#include "ui/DialogTemplate.h"

namespace kittest {

using uitest::MakeControl;

void TypeText(ui::CDialog& dialog, const QString& text) {
    for (qsizetype index = 0; index < text.size(); ++index) {
        QWidget* target = dialog.focusWidget() != nullptr ? dialog.focusWidget() : &dialog;
        const QChar character = text.at(index);
        if (character.unicode() < 0x80) {
            QTest::keyClick(target, character.toLatin1());
            continue;
        }
        qsizetype span = 1;
        if (character.isHighSurrogate() && index + 1 < text.size()) {
            span = 2;
        }
        QInputMethodEvent commit;
        commit.setCommitString(text.mid(index, span));
        QCoreApplication::sendEvent(target, &commit);
        index += span - 1;
    }
}

void RegisterTestTemplate() {
    static std::once_flag once;
    std::call_once(once, [] {
        using ui::ControlKind;
        namespace S = ui::ControlStyle;
        ui::DialogTemplate dialog;
        dialog.id = kTestTemplate;
        dialog.caption = "시험";
        dialog.width = 260;
        dialog.height = 200;
        dialog.styles = ui::DialogStyle::Caption | ui::DialogStyle::SysMenu;
        auto add = [&dialog](ui::ControlTemplate control) { dialog.controls.push_back(control); };
        ui::ControlTemplate limited =
            MakeControl(kLimitedEdit, ControlKind::Edit, {8, 8, 80, 12}, S::Group);
        limited.textLimit = 6;
        add(limited);
        ui::ControlTemplate password =
            MakeControl(kPasswordEdit, ControlKind::Edit, {8, 24, 80, 12}, S::Password);
        password.textLimit = 14;
        add(password);
        add(MakeControl(kDigitsEdit, ControlKind::Edit, {8, 40, 80, 12}, S::Digits));
        add(MakeControl(kCheck, ControlKind::CheckBox, {100, 8, 60, 10}, 0, "두 상태"));
        add(MakeControl(kThreeState, ControlKind::CheckBox, {100, 20, 60, 10}, S::ThreeState,
                        "세 상태"));
        add(MakeControl(kManualThreeState, ControlKind::CheckBox, {100, 32, 60, 10},
                        S::ThreeState | S::Manual));
        add(MakeControl(kRadioA, ControlKind::RadioButton, {8, 60, 40, 10}, S::Group, "A"));
        add(MakeControl(kRadioB, ControlKind::RadioButton, {8, 72, 40, 10}, 0, "B"));
        add(MakeControl(kRadioC, ControlKind::RadioButton, {8, 84, 40, 10}, 0, "C"));
        add(MakeControl(kRadioX, ControlKind::RadioButton, {60, 60, 40, 10}, S::Group, "X"));
        add(MakeControl(kRadioY, ControlKind::RadioButton, {60, 72, 40, 10}, 0, "Y"));
        add(MakeControl(kAddress, ControlKind::IpAddress, {100, 60, 100, 14}, S::Group));
        add(MakeControl(kAction, ControlKind::Button, {8, 100, 50, 14}, S::Group, "동작"));
        add(MakeControl(kHiddenButton, ControlKind::Button, {60, 100, 50, 14}, S::Hidden, "숨김"));
        add(MakeControl(kDisabledButton, ControlKind::Button, {112, 100, 50, 14}, S::Disabled,
                        "꺼짐"));
        add(MakeControl(kLabel, ControlKind::Label, {8, 120, 200, 10}, 0, "라벨"));
        ui::ControlTemplate combo = MakeControl(kCombo, ControlKind::ComboBox, {8, 134, 80, 40});
        combo.items = {"하나", "둘"};
        add(combo);
        add(MakeControl(kProgress, ControlKind::ProgressBar, {100, 134, 100, 10}));
        add(MakeControl(ui::IDOK, ControlKind::DefaultButton, {140, 180, 50, 14}, S::Group,
                        "확인"));
        add(MakeControl(ui::IDCANCEL, ControlKind::Button, {200, 180, 50, 14}, 0, "취소"));
        ui::RegisterDialogTemplate(dialog);
    });
}

}  // namespace kittest
