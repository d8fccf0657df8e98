// The dialog templates in both languages: every English template matches its Korean one control
// for control with a translated text where the Korean has one; the English keys of the reader;
// every text fits its control (labels may wrap within their height); no two controls of one
// role share an accessible name in a dialog.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAccessible>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QStyleOptionButton>
#include <QStyleOptionComboBox>
#include <map>
#include <utility>

#include "resources/StringTable.h"
#include "tests/support/language/LanguageTestSupport.h"
#include "ui/Dialog.h"
#include "ui/DialogTemplate.h"
#include "ui/Text.h"

namespace {

using lanterna::Language;
using lanterna::test::KoreanScriptCharacter;
using lanterna::test::ScopedLanguage;

constexpr Language kLanguages[] = {Language::Korean, Language::English};

std::string Where(Language language, int templateId, int controlId) {
    return std::string(lanterna::LanguageCode(language)) + " template " +
           std::to_string(templateId) + " control " + std::to_string(controlId);
}

// ---------------------------------------------------------------- completeness

TEST(Languages, EveryEnglishTemplateMatchesItsKoreanOneWithTranslatedTexts) {
    EXPECT_THAT(ui::DialogTemplateErrors(), ::testing::IsEmpty());
    for (const int id : ui::DialogTemplateIds()) {
        const ui::DialogTemplate* korean = ui::FindDialogTemplate(id, Language::Korean);
        const ui::DialogTemplate* english = ui::FindDialogTemplate(id, Language::English);
        ASSERT_NE(korean, nullptr) << id;
        ASSERT_NE(english, nullptr) << id;
        EXPECT_EQ(english->caption.empty(), korean->caption.empty()) << id;
        EXPECT_EQ(KoreanScriptCharacter(english->caption), 0u) << id << " " << english->caption;
        ASSERT_EQ(english->controls.size(), korean->controls.size()) << id;
        for (std::size_t index = 0; index < korean->controls.size(); ++index) {
            const ui::ControlTemplate& ko = korean->controls[index];
            const ui::ControlTemplate& en = english->controls[index];
            const std::string where = Where(Language::English, id, ko.id);
            EXPECT_EQ(en.id, ko.id) << where;
            EXPECT_EQ(en.kind, ko.kind) << where;
            EXPECT_EQ(en.styles, ko.styles) << where;
            EXPECT_EQ(en.text.empty(), ko.text.empty()) << where;
            EXPECT_EQ(KoreanScriptCharacter(en.text), 0u) << where << " " << en.text;
            ASSERT_EQ(en.items.size(), ko.items.size()) << where;
            for (const std::string& item : en.items) {
                EXPECT_FALSE(item.empty()) << where;
                EXPECT_EQ(KoreanScriptCharacter(item), 0u) << where << " " << item;
            }
            EXPECT_LE(en.rect.x + en.rect.width, english->width) << where;
            EXPECT_LE(en.rect.y + en.rect.height, english->height) << where;
        }
    }
}

TEST(Languages, TheReaderTakesTheEnglishKeysOnlyForEnglish) {
    const QByteArray json = R"({"id": 7, "caption": "설정", "caption_en": "Settings",
        "size": [100, 50], "size_en": [120, 60],
        "controls": [{"id": 3, "kind": "combo", "rect": [1, 2, 3, 4], "rect_en": [1, 2, 30, 4],
                      "items": ["켬", "64bit"], "items_en": ["On", "64bit"]},
                     {"id": 4, "kind": "label", "text": "이름", "text_en": "Name",
                      "rect": [0, 0, 5, 5]},
                     {"id": 5, "kind": "label", "text": "DHCP", "rect": [0, 0, 5, 5]}]})";
    ui::DialogTemplate korean;
    ui::DialogTemplate english;
    std::string error;
    ASSERT_TRUE(ui::ParseDialogTemplate(json, korean, error, Language::Korean)) << error;
    ASSERT_TRUE(ui::ParseDialogTemplate(json, english, error, Language::English)) << error;
    EXPECT_EQ(korean.caption, "설정");
    EXPECT_EQ(english.caption, "Settings");
    EXPECT_EQ(std::make_pair(korean.width, korean.height), std::make_pair(100, 50));
    EXPECT_EQ(std::make_pair(english.width, english.height), std::make_pair(120, 60));
    EXPECT_EQ(korean.controls[0].rect, (ui::DluRect{1, 2, 3, 4}));
    EXPECT_EQ(english.controls[0].rect, (ui::DluRect{1, 2, 30, 4}));
    EXPECT_EQ(korean.controls[0].items, (std::vector<std::string>{"켬", "64bit"}));
    EXPECT_EQ(english.controls[0].items, (std::vector<std::string>{"On", "64bit"}));
    EXPECT_EQ(korean.controls[1].text, "이름");
    EXPECT_EQ(english.controls[1].text, "Name");
    EXPECT_EQ(english.controls[2].text, "DHCP");  // no English key: the same in both

    const char* refused[] = {
        R"({"id": 7, "size": [10, 10], "controls": [{"kind": "label", "rect": [0,0,1,1],
            "text_en": "Name"}]})",
        R"({"id": 7, "size": [10, 10], "controls": [{"kind": "label", "rect": [0,0,1,1],
            "text": "이름", "text_en": ""}]})",
        R"({"id": 7, "size": [10, 10], "controls": [{"kind": "combo", "rect": [0,0,1,1],
            "items": ["켬", "끔"], "items_en": ["On"]}]})",
        R"({"id": 7, "size": [10, 10], "controls": [{"kind": "label", "rect": [0,0,1,1],
            "rect_en": [0,0,1]}]})",
        R"({"id": 7, "size": [10, 10], "size_en": [10], "controls": []})",
        R"({"id": 7, "size": [10, 10], "caption_ko": "설정", "controls": []})",
    };
    for (const char* text : refused) {
        ui::DialogTemplate dialog;
        EXPECT_FALSE(ui::ParseDialogTemplate(QByteArray(text), dialog, error, Language::Korean))
            << text;
        EXPECT_FALSE(error.empty()) << text;
    }
}

// ---------------------------------------------------------------- texts fit

// Why `text` does not fit `widget` as it is drawn there, or "" when it does. Labels wrap at
// word boundaries within their height; every other text stays on one line.
std::string Misfit(QWidget* widget, const QString& text) {
    if (text.isEmpty() || widget == nullptr) {
        return {};
    }
    const QFontMetrics metrics = widget->fontMetrics();
    const int advance = metrics.horizontalAdvance(text);
    QRect room;
    if (auto* label = dynamic_cast<QLabel*>(widget)) {
        room = label->contentsRect();
        const QRect needed = metrics.boundingRect(QRect(QPoint(), QSize(room.width(), 100000)),
                                                  int(label->alignment()) | Qt::TextWordWrap, text);
        if (needed.width() <= room.width() && needed.height() <= room.height()) {
            return {};
        }
        return "needs " + std::to_string(needed.width()) + "x" + std::to_string(needed.height()) +
               ", has " + std::to_string(room.width()) + "x" + std::to_string(room.height());
    }
    if (auto* check = dynamic_cast<QCheckBox*>(widget)) {
        QStyleOptionButton option;
        option.initFrom(check);
        room = check->style()->subElementRect(QStyle::SE_CheckBoxContents, &option, check);
    } else if (auto* radio = dynamic_cast<QRadioButton*>(widget)) {
        QStyleOptionButton option;
        option.initFrom(radio);
        room = radio->style()->subElementRect(QStyle::SE_RadioButtonContents, &option, radio);
    } else if (auto* button = dynamic_cast<QAbstractButton*>(widget)) {
        QStyleOptionButton option;
        option.initFrom(button);
        room = button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button);
    } else if (auto* combo = dynamic_cast<QComboBox*>(widget)) {
        QStyleOptionComboBox option;
        option.initFrom(combo);
        room = combo->style()->subControlRect(QStyle::CC_ComboBox, &option,
                                              QStyle::SC_ComboBoxEditField, combo);
    } else if (auto* group = dynamic_cast<QGroupBox*>(widget)) {
        room = group->rect().adjusted(8, 0, -8, 0);
    } else {
        return {};
    }
    if (advance <= room.width() && metrics.height() <= room.height()) {
        return {};
    }
    return "needs " + std::to_string(advance) + "x" + std::to_string(metrics.height()) + ", has " +
           std::to_string(room.width()) + "x" + std::to_string(room.height());
}

TEST(Languages, EveryTemplateTextFitsItsControl) {
    for (const Language language : kLanguages) {
        const ScopedLanguage chosen(language);
        for (const int id : ui::DialogTemplateIds()) {
            ui::CDialog dialog(id);
            ASSERT_TRUE(dialog.Create()) << id;
            for (const ui::ControlTemplate& control : dialog.Template()->controls) {
                QWidget* widget = dialog.GetDlgItem(control.id);
                std::vector<std::string> texts = control.items;
                texts.push_back(control.text);
                for (const std::string& text : texts) {
                    EXPECT_EQ(Misfit(widget, ui::ToQString(text)), "")
                        << Where(language, id, control.id) << ": " << text;
                }
            }
        }
    }
}

// Texts the program puts into controls: every message into the message box, the progress texts
// into the progress dialog, the configuration file dialog's button texts into OK and Cancel.
TEST(Languages, EveryMessageAndProgramTextFitsWhereItIsShown) {
    const struct {
        int templateId;
        int controlId;
        std::vector<int> stringIds;
    } places[] = {
        {133,
         1001,
         {lanterna::kStringConnecting, lanterna::kStringAuthenticating, lanterna::kStringWriting,
          lanterna::kStringChangingPassword}},
        {130, ui::IDOK, {lanterna::kStringCreateButton}},
        {130, ui::IDCANCEL, {lanterna::kStringCloseButton}},
    };
    std::vector<int> messages;
    for (const lanterna::StringEntry& entry : lanterna::StringTableEntries()) {
        if (entry.korean.find('\n') == std::string_view::npos) {  // not a file filter
            messages.push_back(entry.id);
        }
    }
    for (const Language language : kLanguages) {
        const ScopedLanguage chosen(language);
        ui::CDialog message(146);
        ASSERT_TRUE(message.Create());
        for (const int stringId : messages) {
            const QString text = ui::ToQString(lanterna::LoadString(stringId));
            EXPECT_EQ(Misfit(message.GetDlgItem(1095), text), "")
                << lanterna::LanguageCode(language) << " string " << stringId;
        }
        for (const auto& place : places) {
            ui::CDialog dialog(place.templateId);
            ASSERT_TRUE(dialog.Create());
            for (const int stringId : place.stringIds) {
                const QString text = ui::ToQString(lanterna::LoadString(stringId));
                EXPECT_EQ(Misfit(dialog.GetDlgItem(place.controlId), text), "")
                    << Where(language, place.templateId, place.controlId) << " string " << stringId;
            }
        }
    }
}

TEST(Languages, TheFitCheckSeesACutText) {
    ui::CDialog dialog(136);
    ASSERT_TRUE(dialog.Create());
    const QString longer = QStringLiteral("A label far longer than its row has room for");
    EXPECT_NE(Misfit(dialog.GetDlgItem(1002), longer), "");  // a one-line label: no second line
    EXPECT_EQ(Misfit(dialog.GetDlgItem(1001), QStringLiteral("Set up SNMP.")), "");
    EXPECT_NE(Misfit(dialog.GetDlgItem(ui::IDOK), longer), "");
}

// ---------------------------------------------------------------- accessible names

void CollectNames(QAccessibleInterface* node, std::map<std::pair<int, QString>, int>& uses) {
    if (node == nullptr) {
        return;
    }
    const QString name = node->text(QAccessible::Name);
    const QAccessible::Role role = node->role();
    const bool named = role == QAccessible::Button || role == QAccessible::CheckBox ||
                       role == QAccessible::RadioButton || role == QAccessible::EditableText ||
                       role == QAccessible::Grouping || role == QAccessible::ComboBox ||
                       role == QAccessible::List || role == QAccessible::ProgressBar;
    if (named && !name.isEmpty()) {
        ++uses[{static_cast<int>(role), name}];
    }
    // An address control's fields are named "1" to "4" within their group: counted there.
    if (role == QAccessible::Grouping) {
        return;
    }
    for (int child = 0; child < node->childCount(); ++child) {
        CollectNames(node->child(child), uses);
    }
}

TEST(Languages, NoTwoControlsOfOneRoleShareANameInADialog) {
    for (const Language language : kLanguages) {
        const ScopedLanguage chosen(language);
        for (const int id : ui::DialogTemplateIds()) {
            ui::CDialog dialog(id);
            ASSERT_TRUE(dialog.Create()) << id;
            std::map<std::pair<int, QString>, int> uses;
            CollectNames(QAccessible::queryAccessibleInterface(&dialog), uses);
            for (const auto& [roleAndName, count] : uses) {
                EXPECT_EQ(count, 1) << lanterna::LanguageCode(language) << " template " << id
                                    << ": " << roleAndName.second.toStdString();
            }
        }
    }
}

TEST(Languages, SharedButtonTextsAreNamedAfterTheirRow) {
    const struct {
        Language language;
        int templateId;
        int controlId;
        const char* name;
    } cases[] = {
        {Language::Korean, 131, 1080, "수신인 메일 주소 1: 통지 이벤트 설정"},
        {Language::Korean, 131, 1082, "수신인 메일 주소 3: 통지 이벤트 설정"},
        {Language::Korean, 132, 1075, "WEP: 사용함"},
        {Language::Korean, 132, 1078, "Adhoc 모드: 사용 안함"},
        {Language::Korean, 147, 1077, "사용함"},  // once in its dialog: its own text
        {Language::English, 131, 1081, "Recipient 2 mail address: Event settings"},
        {Language::English, 132, 1076, "WEP: Disabled"},
        {Language::English, 132, 1077, "Ad hoc mode: Enabled"},
    };
    for (const auto& c : cases) {
        const ScopedLanguage chosen(c.language);
        ui::CDialog dialog(c.templateId);
        ASSERT_TRUE(dialog.Create());
        QWidget* control = dialog.GetDlgItem(c.controlId);
        QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(control);
        ASSERT_NE(accessible, nullptr);
        EXPECT_EQ(accessible->text(QAccessible::Name).toStdString(), c.name)
            << c.templateId << "/" << c.controlId;
        // What the control shows stays its template text.
        EXPECT_EQ(ui::ToUtf8(static_cast<QAbstractButton*>(control)->text()),
                  dialog.Template()->FindControl(c.controlId)->text);
    }
}

}  // namespace
