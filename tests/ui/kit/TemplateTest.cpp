// Dialog templates: every compiled-in template loads, and each has the controls its dialog
// relies on.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QByteArray>

#include "ui/DialogCodes.h"
#include "ui/DialogTemplate.h"

namespace {

using ::testing::IsEmpty;
using ui::ControlKind;

struct Expected {
    int id;
    ControlKind kind;
    const char* text;  // nullptr: not checked
};

void ExpectControls(const ui::DialogTemplate& dialog, std::initializer_list<Expected> expected) {
    for (const Expected& control : expected) {
        const ui::ControlTemplate* found = dialog.FindControl(control.id);
        ASSERT_NE(found, nullptr) << "template " << dialog.id << " control " << control.id;
        EXPECT_EQ(found->kind, control.kind) << "control " << control.id;
        if (control.text != nullptr) {
            EXPECT_EQ(found->text, control.text) << "control " << control.id;
        }
    }
}

const ui::DialogTemplate& Load(int id) {
    const ui::DialogTemplate* dialog = ui::FindDialogTemplate(id);
    if (dialog == nullptr) {
        ADD_FAILURE() << "template " << id << " missing";
        static const ui::DialogTemplate empty;
        return empty;
    }
    return *dialog;
}

// ---------------------------------------------------------------- the store

TEST(Templates, AllCompiledTemplatesLoad) {
    EXPECT_THAT(ui::DialogTemplateErrors(), IsEmpty());
    const std::vector<int> ids = ui::DialogTemplateIds();
    for (const int id : {100, 102, 130, 131, 132, 133, 134, 135, 136, 137, 138, 139, 146, 147}) {
        EXPECT_NE(std::find(ids.begin(), ids.end(), id), ids.end()) << id;
    }
    EXPECT_EQ(ui::FindDialogTemplate(99999), nullptr);
}

TEST(Templates, EveryControlLiesInsideItsDialog) {
    for (const int id : ui::DialogTemplateIds()) {
        const ui::DialogTemplate& dialog = Load(id);
        for (const ui::ControlTemplate& control : dialog.controls) {
            EXPECT_LE(control.rect.x + control.rect.width, dialog.width)
                << "template " << id << " control " << control.id;
            EXPECT_LE(control.rect.y + control.rect.height, dialog.height)
                << "template " << id << " control " << control.id;
        }
    }
}

// ---------------------------------------------------------------- each template

TEST(Templates, About100) {
    const ui::DialogTemplate& dialog = Load(100);
    EXPECT_EQ(dialog.caption, "Lanterna의 버젼 정보");
    ExpectControls(dialog, {{1000, ControlKind::Icon, nullptr},
                            {1001, ControlKind::Label, "Lanterna Version2.00"},
                            {1002, ControlKind::Label, nullptr},
                            {1, ControlKind::DefaultButton, "확인"}});
    EXPECT_EQ(dialog.FindControl(1000)->image, 128);
}

TEST(Templates, MainWindow102) {
    const ui::DialogTemplate& dialog = Load(102);
    EXPECT_EQ(dialog.caption, "Lanterna");
    ExpectControls(dialog, {{1003, ControlKind::ListView, nullptr},
                            {1004, ControlKind::Button, "갱신"},
                            {1073, ControlKind::Button, "가져오기"},
                            {1006, ControlKind::Button, "？"}});
    EXPECT_TRUE(dialog.FindControl(1003)->Has(ui::ControlStyle::AcceptFiles));
    EXPECT_EQ(dialog.FindControl(ui::IDOK), nullptr);
}

TEST(Templates, NetworkSettings130AndSnmp136) {
    const ui::DialogTemplate& network = Load(130);
    EXPECT_EQ(network.caption, "네트워크 설정");
    ExpectControls(network, {{1001, ControlKind::Label, "프로젝터의 네트워크를 설정하십시오"},
                             {1004, ControlKind::Label, "MAC"},
                             {1037, ControlKind::Label, "기본 설정 DNS 서버"},
                             {1042, ControlKind::Label, "우선 게이트웨이"},
                             {1081, ControlKind::RadioButton, "ON"},
                             {1211, ControlKind::RadioButton, "무선LAN"},
                             {1018, ControlKind::Button, "메일통지 기능"},
                             {1074, ControlKind::Button, "무선 LAN"},
                             {1021, ControlKind::Button, "저장"},
                             {1, ControlKind::Button, "설정"},
                             {2, ControlKind::Button, "취소"}});
    for (const int id : {1031, 1032, 1033, 1012, 1013, 1016, 1017}) {
        ExpectControls(network, {{id, ControlKind::IpAddress, nullptr}});
    }
    EXPECT_EQ(network.FindControl(1029)->textLimit, 15);
    EXPECT_EQ(network.FindControl(1014)->textLimit, 96);
    for (int marker = 1084; marker <= 1093; ++marker) {
        ExpectControls(network, {{marker, ControlKind::CheckBox, ""}});
        EXPECT_TRUE(network.FindControl(marker)->Has(ui::ControlStyle::Hidden)) << marker;
    }
    const ui::DialogTemplate& snmp = Load(136);
    EXPECT_EQ(snmp.caption, "SNMP 설정");
    EXPECT_EQ(snmp.width, 189);
    EXPECT_EQ(snmp.height, 129);
    ExpectControls(snmp, {{1001, ControlKind::Label, "프로젝터의 SNMP를 설정하십시오."},
                          {1002, ControlKind::Label, "트랩 IP 주소１"},
                          {1010, ControlKind::IpAddress, nullptr},
                          {1035, ControlKind::Label, "커뮤니티 이름"},
                          {1, ControlKind::DefaultButton, "확인"}});
    EXPECT_EQ(snmp.FindControl(1042)->textLimit, 8);
}

TEST(Templates, MailAndWireless131To147) {
    const struct {
        int id;
        const char* caption;
        int width;
        int height;
    } dialogs[] = {{131, "메일 통지 기능의 설정", 231, 183},
                   {137, "통지 이벤트 설정", 189, 195},
                   {132, "무선 LAN 설정", 190, 145},
                   {147, "무선 LAN 설정", 191, 315}};
    for (const auto& d : dialogs) {
        const ui::DialogTemplate& dialog = Load(d.id);
        EXPECT_EQ(dialog.caption, d.caption);
        EXPECT_EQ(dialog.width, d.width) << d.id;
        EXPECT_EQ(dialog.height, d.height) << d.id;
    }
    ExpectControls(Load(131), {{1065, ControlKind::Label, "SMTP 서버 IP 주소"},
                               {1082, ControlKind::Button, "통지 이벤트 설정"},
                               {1008, ControlKind::CheckBox, "SMTP"}});
    std::vector<int> boxes;  // on screen top to bottom
    for (const ui::ControlTemplate& control : Load(137).controls) {
        if (control.kind == ControlKind::CheckBox) {
            boxes.push_back(control.id);
        }
    }
    EXPECT_EQ(boxes, (std::vector<int>{1033, 1035, 1031, 1032, 1029, 1038, 1037, 1036, 1028, 1034,
                                       1030, 1039}));
    ExpectControls(Load(137), {{1030, ControlKind::CheckBox, "3.에어 필터"}});
    ExpectControls(Load(147), {{1041, ControlKind::Label, "공유 키"},
                               {1208, ControlKind::RadioButton, "없음"},
                               {1218, ControlKind::RadioButton, "WEP 키 3"}});
    EXPECT_EQ(Load(147).FindControl(1209)->items, (std::vector<std::string>{"64bit", "128bit"}));
}

TEST(Templates, Progress133) {
    const ui::DialogTemplate& dialog = Load(133);
    EXPECT_EQ(dialog.caption, "Lanterna");
    EXPECT_FALSE(dialog.Has(ui::DialogStyle::SysMenu));
    ExpectControls(dialog, {{1000, ControlKind::Icon, nullptr},
                            {1001, ControlKind::Label, "잠시만 기다리십시오"},
                            {1071, ControlKind::ProgressBar, nullptr},
                            {2, ControlKind::Button, "취소"}});
    const ui::ControlTemplate* cancel = dialog.FindControl(2);
    EXPECT_TRUE(cancel->Has(ui::ControlStyle::Hidden));
    EXPECT_TRUE(cancel->Has(ui::ControlStyle::Disabled));
    int separators = 0;
    for (const ui::ControlTemplate& control : dialog.controls) {
        separators += control.kind == ControlKind::Separator ? 1 : 0;
    }
    EXPECT_EQ(separators, 2);
}

TEST(Templates, AddressEntry134) {
    const ui::DialogTemplate& dialog = Load(134);
    EXPECT_EQ(dialog.caption, "IP 주소 지정");
    EXPECT_EQ(dialog.width, 190);
    EXPECT_EQ(dialog.height, 107);
    ExpectControls(dialog, {{1000, ControlKind::Icon, nullptr},
                            {1001, ControlKind::Label, nullptr},
                            {1069, ControlKind::IpAddress, nullptr},
                            {1070, ControlKind::Button, "추가"},
                            {1, ControlKind::DefaultButton, "접속"},
                            {2, ControlKind::Button, "취소"}});
}

TEST(Templates, PasswordInput135) {
    const ui::DialogTemplate& dialog = Load(135);
    EXPECT_EQ(dialog.caption, "암호 입력");
    ExpectControls(dialog,
                   {{1072, ControlKind::Edit, nullptr},
                    {1, ControlKind::DefaultButton, "확인"},
                    {2, ControlKind::Button, "취소"},
                    {1000, ControlKind::Icon, nullptr},
                    {1001, ControlKind::Label, "프로젝터 접속을 위해 패스워드를 입력하십시오."}});
    EXPECT_TRUE(dialog.FindControl(1072)->Has(ui::ControlStyle::Password));
    EXPECT_EQ(dialog.FindControl(1072)->textLimit, 14);
}

TEST(Templates, PasswordChange138) {
    const ui::DialogTemplate& dialog = Load(138);
    EXPECT_EQ(dialog.caption, "암호 설정");
    ExpectControls(dialog, {{1002, ControlKind::Label, "이전 암호"},
                            {1034, ControlKind::Label, "새로운 암호"},
                            {1035, ControlKind::Label, "새로운 암호(재입력)"},
                            {1001, ControlKind::Label, "설정할 프로젝터의 암호를 입력하십시오."},
                            {1, ControlKind::DefaultButton, "확인"},
                            {2, ControlKind::Button, "취소"}});
    for (const int edit : {1072, 1073, 1074}) {
        ExpectControls(dialog, {{edit, ControlKind::Edit, nullptr}});
        EXPECT_TRUE(dialog.FindControl(edit)->Has(ui::ControlStyle::Password));
        EXPECT_EQ(dialog.FindControl(edit)->textLimit, 14);
    }
}

TEST(Templates, SearchWait139) {
    const ui::DialogTemplate& dialog = Load(139);
    ExpectControls(dialog, {{1000, ControlKind::Icon, nullptr},
                            {1001, ControlKind::Label, "잠시만 기다리십시오"},
                            {2, ControlKind::Button, nullptr}});
    EXPECT_TRUE(dialog.FindControl(2)->Has(ui::ControlStyle::Hidden));
    EXPECT_TRUE(dialog.FindControl(2)->Has(ui::ControlStyle::Disabled));
}

TEST(Templates, Message146) {
    const ui::DialogTemplate& dialog = Load(146);
    EXPECT_EQ(dialog.width, 209);
    EXPECT_EQ(dialog.height, 85);
    EXPECT_EQ(dialog.caption, "");
    ExpectControls(dialog, {{1200, ControlKind::Icon, nullptr},
                            {1201, ControlKind::Icon, nullptr},
                            {1202, ControlKind::Icon, nullptr},
                            {1203, ControlKind::Icon, nullptr},
                            {1095, ControlKind::Label, nullptr},
                            {1, ControlKind::DefaultButton, "확인"},
                            {6, ControlKind::Button, "네"},
                            {7, ControlKind::Button, "아니오"}});
    EXPECT_EQ(dialog.FindControl(1200)->image, 147);
    EXPECT_EQ(dialog.FindControl(1201)->image, 148);
    EXPECT_EQ(dialog.FindControl(1202)->image, 150);
    EXPECT_EQ(dialog.FindControl(1203)->image, 152);
    const ui::DluRect text = dialog.FindControl(1095)->rect;
    EXPECT_EQ(text.width, 170);
    EXPECT_EQ(text.height, 45);
    // OK centred; Yes and No side by side, the same distance from the centre.
    const ui::DluRect ok = dialog.FindControl(1)->rect;
    EXPECT_LE(std::abs(2 * ok.x + ok.width - dialog.width), 1);
    const ui::DluRect yes = dialog.FindControl(6)->rect;
    const ui::DluRect no = dialog.FindControl(7)->rect;
    EXPECT_EQ(yes.y, no.y);
    EXPECT_LT(yes.x + yes.width, no.x);
    EXPECT_LE(std::abs((yes.x + no.x + no.width) - dialog.width), 1);
}

// ---------------------------------------------------------------- the reader

TEST(TemplateReader, ReadsKindsStylesAndLimits) {
    ui::DialogTemplate dialog;
    std::string error;
    ASSERT_TRUE(ui::ParseDialogTemplate(R"({"id": 7, "caption": "c", "size": [100, 50],
        "style": ["caption", "toolwindow"],
        "controls": [{"id": 3, "kind": "edit", "rect": [1, 2, 3, 4], "limit": 9,
                      "style": ["password", "digits", "hidden"]},
                     {"kind": "label", "text": "x", "rect": [0, 0, 5, 5]},
                     {"kind": "label", "text": "y", "rect": [0, 0, 5, 5]},
                     {"id": 4, "kind": "combo", "rect": [0, 0, 5, 5], "items": ["a", "b"]}]})",
                                        dialog, error))
        << error;
    EXPECT_EQ(dialog.id, 7);
    EXPECT_TRUE(dialog.Has(ui::DialogStyle::ToolWindow));
    EXPECT_FALSE(dialog.Has(ui::DialogStyle::SysMenu));
    ASSERT_EQ(dialog.controls.size(), 4u);
    const ui::ControlTemplate& edit = dialog.controls[0];
    EXPECT_EQ(edit.rect, (ui::DluRect{1, 2, 3, 4}));
    EXPECT_EQ(edit.textLimit, 9);
    EXPECT_TRUE(edit.Has(ui::ControlStyle::Password));
    EXPECT_TRUE(edit.Has(ui::ControlStyle::Digits));
    EXPECT_TRUE(edit.Has(ui::ControlStyle::Hidden));
    EXPECT_EQ(dialog.controls[1].id, ui::kStaticId);
    EXPECT_EQ(dialog.controls[3].items, (std::vector<std::string>{"a", "b"}));
}

TEST(TemplateReader, RefusesMistakesWithAReason) {
    const char* cases[] = {
        R"({"id": 7, "size": [10, 10], "controls": [{"kind": "knob", "rect": [0,0,1,1]}]})",
        R"({"id": 7, "size": [10, 10], "controls": [{"kind": "edit", "rect": [0,0,1]}]})",
        R"({"id": 7, "size": [10, 10], "controls": [{"kind": "edit", "rect": [0,0,1,1],
            "styles": ["hidden"]}]})",
        R"({"id": 7, "size": [10, 10], "controls": [{"kind": "edit", "rect": [0,0,1,1],
            "style": ["invisible"]}]})",
        R"({"id": 7, "size": [10, 10], "controls": [{"id": 5, "kind": "edit", "rect": [0,0,1,1]},
            {"id": 5, "kind": "label", "rect": [0,0,1,1]}]})",
        R"({"id": 0, "size": [10, 10], "controls": []})",
        R"({"id": 7, "size": [10], "controls": []})",
        R"({"id": 7, "size": [10, 10], "controls": [{"kind": "edit", "rect": [0,-1,1,1]}]})",
        R"({"id": 7, "size": [10, 10], "controls": [)",
    };
    for (const char* json : cases) {
        ui::DialogTemplate dialog;
        std::string error;
        EXPECT_FALSE(ui::ParseDialogTemplate(QByteArray(json), dialog, error)) << json;
        EXPECT_FALSE(error.empty()) << json;
    }
}

TEST(TemplateReader, RegisteredTemplatesJoinTheStore) {
    ui::DialogTemplate dialog;
    dialog.id = 9100;
    dialog.width = 40;
    dialog.height = 20;
    ui::RegisterDialogTemplate(dialog);
    const ui::DialogTemplate* found = ui::FindDialogTemplate(9100);
    ASSERT_NE(found, nullptr);
    EXPECT_EQ(found->width, 40);
    dialog.width = 50;
    ui::RegisterDialogTemplate(dialog);
    EXPECT_EQ(found->width, 40);  // the earlier copy stays valid for dialogs built from it
    EXPECT_EQ(ui::FindDialogTemplate(9100)->width, 50);
}

}  // namespace
