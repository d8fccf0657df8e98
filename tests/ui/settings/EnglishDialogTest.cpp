// The network settings dialog in English, driven through the accessibility interface as a screen
// reader user works: controls found by their English names, the refusal shown in English.
#include <QAccessible>

#include "SettingsTestSupport.h"
#include "dialogs/NetworkSettingsDialog.h"
#include "resources/StringIds.h"
#include "tests/support/language/LanguageTestSupport.h"

namespace settingstest {
namespace {

using lanterna::dialogs::CNetworkSettingsDialog;

TEST_F(DialogTest, NetworkSettingsInEnglishAreFoundByEnglishNamesAndRefuseInEnglish) {
    const lanterna::test::ScopedLanguage english(lanterna::Language::English);
    SettingsBench bench;
    CNetworkSettingsDialog dialog(*bench.state);
    std::string title;
    ui::test::RunModal(dialog, [&](ui::CDialog& d) {
        title = d.windowTitle().toStdString();
        QAccessibleInterface* root = QAccessible::queryAccessibleInterface(&d);
        ASSERT_NE(FindAccessible(root, QAccessible::EditableText, "Projector name"), nullptr);
        QAccessibleInterface* mask = FindAccessible(root, QAccessible::Grouping, "Subnet mask");
        ASSERT_NE(mask, nullptr);
        QAccessibleInterface* last = FindAccessible(mask, QAccessible::EditableText, "4");
        ASSERT_NE(last, nullptr);
        last->editableTextInterface()->replaceText(0, last->textInterface()->characterCount(), "7");
        QAccessibleInterface* apply = FindAccessible(root, QAccessible::Button, "Apply");
        ASSERT_NE(apply, nullptr);
        // The press is an animated click, which lands a moment later.
        apply->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        EXPECT_TRUE(ui::test::PumpUntil([] { return !ui::test::ShownMessages().empty(); }));
        d.ClickButton(ui::IDCANCEL);
    });
    EXPECT_EQ(title, "Network settings");
    const std::vector<ui::test::ShownMessage> shown = ui::test::ShownMessages();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].stringId, lanterna::kStringBadSubnetMask);
    EXPECT_EQ(shown[0].text, "The subnet mask cannot be used. Enter a usable subnet mask.");
    EXPECT_EQ(shown[0].caption, "Lanterna");
}

}  // namespace
}  // namespace settingstest
