// The network settings dialog driven only through the accessibility interface, as a screen
// reader user works: find the edit named "프로젝터 이름" and the address group "IP 주소", set
// their texts, read the row's change marker ("IP 주소 표시등"), press "설정" by its action.
#include <QAccessible>

#include "SettingsTestSupport.h"
#include "dialogs/NetworkSettingsDialog.h"

namespace settingstest {
namespace {

using lanterna::dialogs::CNetworkSettingsDialog;

void ReplaceText(QAccessibleInterface* edit, const QString& text) {
    ASSERT_NE(edit, nullptr);
    ASSERT_NE(edit->editableTextInterface(), nullptr);
    const int length = edit->textInterface()->characterCount();
    edit->editableTextInterface()->replaceText(0, length, text);
}

TEST_F(DialogTest, SettingsAreReadAndChangedThroughTheAccessibilityInterface) {
    SettingsBench bench;
    CNetworkSettingsDialog dialog(*bench.state);
    bool markerMixed = false;
    std::string nameRead;
    const int code = ui::test::RunModal(dialog, [&](ui::CDialog& d) {
        QAccessibleInterface* root = QAccessible::queryAccessibleInterface(&d);
        QAccessibleInterface* name =
            FindAccessible(root, QAccessible::EditableText, "프로젝터 이름");
        ASSERT_NE(name, nullptr);
        nameRead = name->text(QAccessible::Value).toStdString();
        ReplaceText(name, "LAB-WL1");

        QAccessibleInterface* address = FindAccessible(root, QAccessible::Grouping, "IP 주소");
        ASSERT_NE(address, nullptr);
        ReplaceText(FindAccessible(address, QAccessible::EditableText, "4"), "30");
        QAccessibleInterface* marker =
            FindAccessible(root, QAccessible::CheckBox, "IP 주소 표시등");
        ASSERT_NE(marker, nullptr);
        markerMixed = marker->state().checkStateMixed;

        QAccessibleInterface* set = FindAccessible(root, QAccessible::Button, "설정");
        ASSERT_NE(set, nullptr);
        ui::test::ScriptNextDialog(133, [](ui::CDialog&) {});
        set->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    });
    EXPECT_EQ(nameRead, "ROOM-201");
    EXPECT_TRUE(markerMixed) << "the changed row's lamp reads as mixed (green)";
    EXPECT_EQ(code, ui::IDCANCEL) << "no link: the write failed";
    EXPECT_EQ(lanterna::TextOf(bench.Record().projectorName), "LAB-WL1");
    EXPECT_EQ(bench.Record().projectorNameState, lanterna::kStateChanged);
    EXPECT_EQ(bench.Record().ipAddress, (Octets{192, 168, 10, 30}));
    EXPECT_EQ(bench.Record().ipAddressState, lanterna::kStateChanged);
}

}  // namespace
}  // namespace settingstest
