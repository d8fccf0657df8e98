// Accessible names, as the desktop's accessibility interface reads them: every control of every
// template has one, inputs are named after the label on their row (else the radio button or
// check box beside them), address fields "1" to "4", and a name follows its label when the
// program changes the label's text.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QAccessible>
#include <QLineEdit>

#include "ui/Dialog.h"
#include "ui/DialogTemplate.h"
#include "ui/IpAddressControl.h"

namespace {

QAccessibleInterface* Accessible(QObject* object) {
    return QAccessible::queryAccessibleInterface(object);
}

std::string NameOf(QObject* object) {
    QAccessibleInterface* accessible = Accessible(object);
    return accessible != nullptr ? accessible->text(QAccessible::Name).toStdString() : "<none>";
}

bool NeedsName(ui::ControlKind kind) {
    using enum ui::ControlKind;
    return kind != Label && kind != Icon && kind != Separator && kind != GroupBox;
}

TEST(Accessibility, EveryControlOfEveryTemplateHasAName) {
    for (const int id : ui::DialogTemplateIds()) {
        ui::CDialog dialog(id);
        ASSERT_TRUE(dialog.Create()) << id;
        for (const ui::ControlTemplate& control : dialog.Template()->controls) {
            if (!NeedsName(control.kind) || control.id == ui::kStaticId) {
                continue;
            }
            EXPECT_NE(NameOf(dialog.GetDlgItem(control.id)), "")
                << "template " << id << " control " << control.id;
        }
    }
}

TEST(Accessibility, InputsAreNamedAfterTheLabelOnTheirRowElseTheTextAboveThem) {
    const struct {
        int templateId;
        int controlId;
        const char* name;
    } cases[] = {
        {130, 1029, "프로젝터 이름"},
        {130, 1017, "WINS2"},
        {130, 1092, "프로젝터 이름 표시등"},  // the row's change marker, told from its edit
        {130, 1093, "DHCP"},           // a marker beside radio buttons: still its label's
        {131, 1007, "SMTP 포트"},  // shares its row with the server's address: its own name
        {131, 1025, "수신인 메일 주소 2"},  // the label above it
        {147, 1044, "공유 키"},
        {147, 1209, "WEP"},  // no label on its row: the radio button beside it
        {147, 1219, "WEP 키 4 값"},  // beside its radio button, named apart from it
        {130, 1081, "ON"},
        {136, 1042, "커뮤니티 이름"},
        {138, 1073, "새로운 암호"},
        {135, 1072, "프로젝터 접속을 위해 패스워드를 입력하십시오."},  // the prompt above it
        {134, 1069,
         "접속한 프로젝터의 IP 주소를 입력하십시오. [추가]를 클릭하면 지정한 IP 주소가 목록에 "
         "추가됩니다."},
        {102, 1003, "Lanterna"},  // no label: the window's caption
    };
    for (const auto& c : cases) {
        ui::CDialog dialog(c.templateId);
        ASSERT_TRUE(dialog.Create());
        EXPECT_EQ(NameOf(dialog.GetDlgItem(c.controlId)), c.name)
            << c.templateId << "/" << c.controlId;
    }
}

TEST(Accessibility, AddressControlIsOneGroupOfFourNamedFields) {
    ui::CDialog dialog(136);
    ASSERT_TRUE(dialog.Create());
    ui::CIpAddressControl* address = dialog.IpAddress(1010);
    QAccessibleInterface* group = Accessible(address);
    ASSERT_NE(group, nullptr);
    EXPECT_EQ(group->role(), QAccessible::Grouping);
    EXPECT_EQ(group->text(QAccessible::Name).toStdString(), "트랩 IP 주소２");
    for (int field = 0; field < 4; ++field) {
        QAccessibleInterface* edit = Accessible(address->Field(field));
        EXPECT_EQ(edit->role(), QAccessible::EditableText);
        EXPECT_EQ(edit->text(QAccessible::Name).toStdString(), std::to_string(field + 1));
        EXPECT_GE(group->indexOfChild(edit), 0) << field;
    }
}

TEST(Accessibility, NameFollowsTheLabelWhenTheProgramChangesIt) {
    ui::CDialog dialog(133);
    ASSERT_TRUE(dialog.Create());
    dialog.SetDlgItemText(1001, "프로젝터에 접속 중입니다. 잠시만 기다리십시오.");
    EXPECT_EQ(NameOf(dialog.GetDlgItem(1071)), "프로젝터에 접속 중입니다. 잠시만 기다리십시오.");
}

}  // namespace
