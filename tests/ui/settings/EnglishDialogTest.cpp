// The settings dialogs in English, driven through the accessibility interface as a screen reader
// user works: controls found by their English names, the refusal shown in English, the mail
// dialog's event buttons told apart by their recipient.
#include <QAccessible>
#include <functional>

#include "SettingsTestSupport.h"
#include "dialogs/NetworkSettingsDialog.h"
#include "resources/StringIds.h"
#include "tests/support/language/LanguageTestSupport.h"

namespace settingstest {
namespace {

using lanterna::dialogs::CNetworkSettingsDialog;

QAccessibleInterface* Find(QAccessibleInterface* root, QAccessible::Role role,
                           const QString& name) {
    if (root == nullptr) {
        return nullptr;
    }
    if (root->role() == role && root->text(QAccessible::Name) == name && !root->state().invisible) {
        return root;
    }
    for (int i = 0; i < root->childCount(); ++i) {
        if (QAccessibleInterface* found = Find(root->child(i), role, name)) {
            return found;
        }
    }
    return nullptr;
}

// Presses `button` by its action (an animated click, which lands a moment later) and waits
// until `done`.
void Press(QAccessibleInterface* button, const std::function<bool()>& done) {
    ASSERT_NE(button, nullptr);
    button->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_TRUE(ui::test::PumpUntil(done));
}

TEST_F(DialogTest, NetworkSettingsInEnglishRefuseInEnglishAndOpenTheMailDialog) {
    const lanterna::test::ScopedLanguage english(lanterna::Language::English);
    SettingsBench bench;
    CNetworkSettingsDialog dialog(*bench.state);
    std::string title;
    std::vector<std::string> eventButtons;
    std::string mailTitle;
    ui::test::RunModal(dialog, [&](ui::CDialog& d) {
        title = d.windowTitle().toStdString();
        QAccessibleInterface* root = QAccessible::queryAccessibleInterface(&d);
        ASSERT_NE(Find(root, QAccessible::EditableText, "Projector name"), nullptr);
        QAccessibleInterface* mask = Find(root, QAccessible::Grouping, "Subnet mask");
        ASSERT_NE(mask, nullptr);
        QAccessibleInterface* last = Find(mask, QAccessible::EditableText, "4");
        ASSERT_NE(last, nullptr);
        last->editableTextInterface()->replaceText(0, last->textInterface()->characterCount(), "7");
        Press(Find(root, QAccessible::Button, "Apply"),
              [] { return !ui::test::ShownMessages().empty(); });

        ui::test::ScriptNextDialog(131, [&](ui::CDialog& mail) {
            mailTitle = mail.windowTitle().toStdString();
            QAccessibleInterface* mailRoot = QAccessible::queryAccessibleInterface(&mail);
            for (const char* recipient : {"1", "2", "3"}) {
                const QString name = QStringLiteral("Recipient %1 mail address: Event settings")
                                         .arg(QLatin1String(recipient));
                if (Find(mailRoot, QAccessible::Button, name) != nullptr) {
                    eventButtons.push_back(name.toStdString());
                }
            }
            mail.ClickButton(ui::IDCANCEL);
        });
        Press(Find(root, QAccessible::Button, "Mail notification"),
              [&] { return !mailTitle.empty(); });
        d.ClickButton(ui::IDCANCEL);
    });
    EXPECT_EQ(title, "Network settings");
    const std::vector<ui::test::ShownMessage> shown = ui::test::ShownMessages();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].stringId, lanterna::kStringBadSubnetMask);
    EXPECT_EQ(shown[0].text, "The subnet mask cannot be used. Enter a usable subnet mask.");
    EXPECT_EQ(shown[0].caption, "Lanterna");
    EXPECT_EQ(mailTitle, "Mail notification settings");
    EXPECT_EQ(eventButtons.size(), 3u) << "each recipient's event button under its own name";
}

}  // namespace
}  // namespace settingstest
