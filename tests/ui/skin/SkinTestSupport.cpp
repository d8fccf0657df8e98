#include "SkinTestSupport.h"

#include <QApplication>
#include <QMouseEvent>
#include <mutex>

#include "tests/support/ui/ControlTemplates.h"
#include "ui/DialogCodes.h"
#include "ui/DialogTemplate.h"

namespace skintest {

using uitest::MakeControl;

namespace {

void SendMouse(QWidget& widget, QEvent::Type type, QPoint point, Qt::MouseButtons buttons) {
    const QPointF local(point);
    const QPointF global(widget.mapToGlobal(point));
    QMouseEvent event(type, local, local, global, Qt::LeftButton, buttons, Qt::NoModifier);
    QApplication::sendEvent(&widget, &event);
}

}  // namespace

void RegisterTemplates() {
    static std::once_flag once;
    std::call_once(once, [] {
        using ui::ControlKind;
        namespace S = ui::ControlStyle;
        namespace D = ui::DialogStyle;
        ui::DialogTemplate controls;
        controls.id = kControlsTemplate;
        controls.caption = "ROOM-201";
        controls.width = 240;
        controls.height = 150;
        controls.styles = D::Caption | D::SysMenu | D::MinimizeBox | D::MaximizeBox;
        auto add = [&controls](ui::ControlTemplate control) {
            controls.controls.push_back(control);
        };
        ui::ControlTemplate icon = MakeControl(kHeaderIcon, ControlKind::Icon, {8, 8, 21, 20});
        icon.image = 128;
        add(icon);
        ui::ControlTemplate other = MakeControl(kOtherIcon, ControlKind::Icon, {40, 8, 21, 20});
        other.image = 147;
        add(other);
        add(MakeControl(kLabel, ControlKind::Label, {70, 8, 160, 20}, 0, "HALL-1F 연결 중"));
        add(MakeControl(kButton, ControlKind::Button, {8, 40, 50, 14}, S::Group, "갱신"));
        add(MakeControl(kTwinButton, ControlKind::Button, {8, 60, 50, 14}, 0, "갱신"));
        add(MakeControl(kFlatButton, ControlKind::Button, {64, 40, 50, 14}, S::Flat, "평면"));
        add(MakeControl(kMultiLineButton, ControlKind::Button, {120, 40, 50, 24}, S::Multiline,
                        "여러 줄의 단추 글자"));
        add(MakeControl(kDisabledButton, ControlKind::Button, {176, 40, 50, 14}, S::Disabled,
                        "꺼짐"));
        add(MakeControl(kCheck, ControlKind::CheckBox, {8, 84, 80, 10}, S::Group, "알림"));
        add(MakeControl(kRadio, ControlKind::RadioButton, {100, 84, 80, 10}, S::Group, "무선"));
        add(MakeControl(kProgress, ControlKind::ProgressBar, {8, 100, 200, 10}));
        add(MakeControl(ui::IDOK, ControlKind::DefaultButton, {120, 130, 50, 14},
                        S::Group | S::Default, "확인"));
        add(MakeControl(ui::IDCANCEL, ControlKind::Button, {180, 130, 50, 14}, 0, "취소"));
        ui::RegisterDialogTemplate(controls);

        ui::DialogTemplate tool;
        tool.id = kToolTemplate;
        tool.caption = "LAB-WL1";
        tool.width = 160;
        tool.height = 60;
        tool.styles = D::Caption | D::SysMenu | D::MinimizeBox | D::MaximizeBox | D::ToolWindow;
        ui::RegisterDialogTemplate(tool);

        ui::DialogTemplate locked;
        locked.id = kLockedTemplate;
        locked.caption = "HALL-1F";
        locked.width = 160;
        locked.height = 60;
        locked.styles = D::Caption | D::SysMenu;
        locked.controls.push_back(
            MakeControl(ui::IDCANCEL, ControlKind::Button, {55, 40, 50, 14}, S::Disabled, "취소"));
        ui::RegisterDialogTemplate(locked);
    });
}

Rgb ToRgb(QRgb colour) {
    return Rgb{qRed(colour), qGreen(colour), qBlue(colour)};
}

Rgb PixelAt(const QImage& image, int x, int y) {
    return ToRgb(image.pixel(x, y));
}

Rgb PixelAt(const QImage& image, QPoint point) {
    return PixelAt(image, point.x(), point.y());
}

void PressAt(QWidget& widget, QPoint point) {
    SendMouse(widget, QEvent::MouseButtonPress, point, Qt::LeftButton);
}

void ReleaseAt(QWidget& widget, QPoint point) {
    SendMouse(widget, QEvent::MouseButtonRelease, point, Qt::NoButton);
}

void ClickAt(QWidget& widget, QPoint point) {
    PressAt(widget, point);
    ReleaseAt(widget, point);
}

}  // namespace skintest
