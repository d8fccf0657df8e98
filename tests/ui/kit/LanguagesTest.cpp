// The dialog templates in both languages: every English template matches its Korean one with a
// translated text wherever the Korean has one; the reader's English keys; every text fits its
// control (labels may wrap within their height); no two controls of one role share an accessible
// name in a dialog.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAccessible>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QRadioButton>
#include <QStyleOptionButton>
#include <QStyleOptionComboBox>
#include <map>

#include "resources/StringTable.h"
#include "tests/support/language/LanguageTestSupport.h"
#include "tests/support/ui/PinnedFont.h"
#include "ui/Dialog.h"
#include "ui/DialogTemplate.h"
#include "ui/Text.h"

namespace {

using lanterna::Language;
using lanterna::test::KoreanScriptCharacter;
using lanterna::test::ScopedLanguage;

constexpr Language kLanguages[] = {Language::Korean, Language::English};

std::string Where(Language language, int templateId, int controlId) {
    return std::string(lanterna::LanguageCode(language)) + " " + std::to_string(templateId) + "/" +
           std::to_string(controlId);
}

TEST(Languages, EveryEnglishTemplateMatchesItsKoreanOneWithTranslatedTexts) {
    EXPECT_THAT(ui::DialogTemplateErrors(), ::testing::IsEmpty());
    for (const int id : ui::DialogTemplateIds()) {
        const ui::DialogTemplate* korean = ui::FindDialogTemplate(id, Language::Korean);
        const ui::DialogTemplate* english = ui::FindDialogTemplate(id, Language::English);
        ASSERT_TRUE(korean != nullptr && english != nullptr) << id;
        EXPECT_EQ(english->caption.empty(), korean->caption.empty()) << id;
        EXPECT_EQ(KoreanScriptCharacter(english->caption), 0u) << id << " " << english->caption;
        ASSERT_EQ(english->controls.size(), korean->controls.size()) << id;
        for (std::size_t index = 0; index < korean->controls.size(); ++index) {
            const ui::ControlTemplate& ko = korean->controls[index];
            const ui::ControlTemplate& en = english->controls[index];
            const std::string where = Where(Language::English, id, ko.id) + " " + en.text;
            EXPECT_TRUE(en.id == ko.id && en.kind == ko.kind && en.styles == ko.styles) << where;
            EXPECT_EQ(en.text.empty(), ko.text.empty()) << where;
            EXPECT_EQ(KoreanScriptCharacter(en.text), 0u) << where;
            ASSERT_EQ(en.items.size(), ko.items.size()) << where;
            for (const std::string& item : en.items) {
                EXPECT_TRUE(!item.empty() && KoreanScriptCharacter(item) == 0) << where << item;
            }
            EXPECT_LE(en.rect.x + en.rect.width, english->width) << where;
            EXPECT_LE(en.rect.y + en.rect.height, english->height) << where;
        }
    }
}

TEST(Languages, TheReaderTakesTheEnglishKeysOnlyForEnglish) {
    const QByteArray json = R"({"id": 7, "caption": "설정", "caption_en": "Settings",
        "size": [100, 50], "size_en": [120, 60],
        "controls": [{"kind": "combo", "rect": [1, 2, 3, 4], "rect_en": [1, 2, 30, 4],
                      "items": ["켬", "64bit"], "items_en": ["On", "64bit"]},
                     {"kind": "label", "text": "이름", "text_en": "Name", "rect": [0, 0, 5, 5]},
                     {"kind": "label", "text": "DHCP", "rect": [0, 0, 5, 5]}]})";
    ui::DialogTemplate ko;
    ui::DialogTemplate en;
    std::string error;
    ASSERT_TRUE(ui::ParseDialogTemplate(json, ko, error, Language::Korean)) << error;
    ASSERT_TRUE(ui::ParseDialogTemplate(json, en, error, Language::English)) << error;
    EXPECT_EQ(ko.caption + ko.controls[1].text + ko.controls[0].items[0], "설정이름켬");
    EXPECT_EQ(en.caption + en.controls[1].text + en.controls[0].items[0], "SettingsNameOn");
    EXPECT_EQ(en.controls[2].text, "DHCP");  // no English key: the same in both
    EXPECT_EQ(ko.width + ko.controls[0].rect.width, 103);
    EXPECT_EQ(en.width + en.controls[0].rect.width, 150);

    const char* refused[] = {
        R"({"id": 7, "size": [9, 9], "controls": [{"kind": "label", "rect": [0,0,1,1],
            "text_en": "Name"}]})",
        R"({"id": 7, "size": [9, 9], "controls": [{"kind": "label", "rect": [0,0,1,1],
            "text": "이름", "text_en": ""}]})",
        R"({"id": 7, "size": [9, 9], "controls": [{"kind": "combo", "rect": [0,0,1,1],
            "items": ["켬", "끔"], "items_en": ["On"]}]})",
        R"({"id": 7, "size": [9, 9], "size_en": [9], "controls": []})",
        R"({"id": 7, "size": [9, 9], "caption_ko": "설정", "controls": []})",
    };
    for (const char* text : refused) {
        EXPECT_FALSE(ui::ParseDialogTemplate(QByteArray(text), ko, error, Language::English))
            << text;
    }
}

// ---------------------------------------------------------------- texts fit

// Why `text` does not fit `widget` as it is drawn there, or "" when it does. A label wraps at
// word boundaries within its height; every other text stays on one line.
std::string Misfit(QWidget* widget, const QString& text) {
    if (text.isEmpty() || widget == nullptr) {
        return {};
    }
    const QFontMetrics metrics = widget->fontMetrics();
    QSize needed(metrics.horizontalAdvance(text), metrics.height());
    QRect room;
    QStyleOptionButton button;
    button.initFrom(widget);
    if (auto* label = dynamic_cast<QLabel*>(widget)) {
        room = label->contentsRect();
        needed = metrics
                     .boundingRect(QRect(0, 0, room.width(), 100000),
                                   int(label->alignment()) | Qt::TextWordWrap, text)
                     .size();
    } else if (dynamic_cast<QCheckBox*>(widget) != nullptr) {
        room = widget->style()->subElementRect(QStyle::SE_CheckBoxContents, &button, widget);
    } else if (dynamic_cast<QRadioButton*>(widget) != nullptr) {
        room = widget->style()->subElementRect(QStyle::SE_RadioButtonContents, &button, widget);
    } else if (dynamic_cast<QAbstractButton*>(widget) != nullptr) {
        room = widget->style()->subElementRect(QStyle::SE_PushButtonContents, &button, widget);
    } else if (auto* combo = dynamic_cast<QComboBox*>(widget)) {
        QStyleOptionComboBox option;
        option.initFrom(combo);
        room = combo->style()->subControlRect(QStyle::CC_ComboBox, &option,
                                              QStyle::SC_ComboBoxEditField, combo);
    } else {
        return {};
    }
    if (needed.width() <= room.width() && needed.height() <= room.height()) {
        return {};
    }
    return "needs " + std::to_string(needed.width()) + "x" + std::to_string(needed.height()) +
           ", has " + std::to_string(room.width()) + "x" + std::to_string(room.height());
}

// The fit checks measure in the pinned dialog face (see PinnedFont.h).
TEST(Languages, EveryTemplateTextFitsItsControl) {
    if (const std::string missing = uitest::WithoutPinnedDialogFace(); !missing.empty()) {
        GTEST_SKIP() << missing;
    }
    for (const Language language : kLanguages) {
        const ScopedLanguage chosen(language);
        for (const int id : ui::DialogTemplateIds()) {
            ui::CDialog dialog(id);
            ASSERT_TRUE(dialog.Create()) << id;
            for (const ui::ControlTemplate& control : dialog.Template()->controls) {
                std::vector<std::string> texts = control.items;
                texts.push_back(control.text);
                for (const std::string& text : texts) {
                    EXPECT_EQ(Misfit(dialog.GetDlgItem(control.id), ui::ToQString(text)), "")
                        << Where(language, id, control.id) << ": " << text;
                }
            }
        }
    }
}

// Texts the program puts into controls: every message (all but the file filters) into the
// message box, the progress texts into the progress dialog, the configuration file dialog's
// button texts into OK and Cancel.
TEST(Languages, EveryMessageAndProgramTextFitsWhereItIsShown) {
    if (const std::string missing = uitest::WithoutPinnedDialogFace(); !missing.empty()) {
        GTEST_SKIP() << missing;
    }
    std::vector<int> messages;
    for (const lanterna::StringEntry& entry : lanterna::StringTableEntries()) {
        if (entry.korean.find('\n') == std::string_view::npos) {
            messages.push_back(entry.id);
        }
    }
    const struct {
        int templateId;
        int controlId;
        std::vector<int> stringIds;
    } places[] = {
        {146, 1095, messages},
        {133,
         1001,
         {lanterna::kStringConnecting, lanterna::kStringAuthenticating, lanterna::kStringWriting,
          lanterna::kStringChangingPassword}},
        {130, ui::IDOK, {lanterna::kStringCreateButton}},
        {130, ui::IDCANCEL, {lanterna::kStringCloseButton}},
    };
    for (const Language language : kLanguages) {
        const ScopedLanguage chosen(language);
        for (const auto& place : places) {
            ui::CDialog dialog(place.templateId);
            ASSERT_TRUE(dialog.Create());
            for (const int stringId : place.stringIds) {
                const QString text = ui::ToQString(lanterna::LoadString(stringId));
                EXPECT_EQ(Misfit(dialog.GetDlgItem(place.controlId), text), "")
                    << Where(language, place.templateId, place.controlId) << " " << stringId;
            }
        }
    }
    // The check itself sees a cut text: a one-line label gets no second line.
    ui::CDialog snmp(136);
    ASSERT_TRUE(snmp.Create());
    const QString longer = QStringLiteral("A label far longer than its row has room for");
    EXPECT_NE(Misfit(snmp.GetDlgItem(1002), longer), "");
    EXPECT_NE(Misfit(snmp.GetDlgItem(ui::IDOK), longer), "");
}

// ---------------------------------------------------------------- accessible names

void CountNames(QAccessibleInterface* node, std::map<std::pair<int, QString>, int>& uses) {
    const QAccessible::Role role = node->role();
    const QString name = node->text(QAccessible::Name);
    if (role != QAccessible::Client && role != QAccessible::Dialog &&
        role != QAccessible::StaticText && !name.isEmpty()) {
        ++uses[{static_cast<int>(role), name}];
    }
    // An address control's fields are named "1" to "4" within their group.
    for (int child = 0; role != QAccessible::Grouping && child < node->childCount(); ++child) {
        CountNames(node->child(child), uses);
    }
}

TEST(Languages, NoTwoControlsOfOneRoleShareANameInADialog) {
    for (const Language language : kLanguages) {
        const ScopedLanguage chosen(language);
        for (const int id : ui::DialogTemplateIds()) {
            ui::CDialog dialog(id);
            ASSERT_TRUE(dialog.Create()) << id;
            std::map<std::pair<int, QString>, int> uses;
            CountNames(QAccessible::queryAccessibleInterface(&dialog), uses);
            for (const auto& [roleAndName, count] : uses) {
                EXPECT_EQ(count, 1)
                    << Where(language, id, 0) << " " << roleAndName.second.toStdString();
            }
        }
    }
    // Named after their row, showing their own text.
    const struct {
        Language language;
        int templateId;
        int controlId;
        const char* name;
    } cases[] = {
        {Language::Korean, 131, 1082, "수신인 메일 주소 3: 통지 이벤트 설정"},
        {Language::Korean, 132, 1078, "Adhoc 모드: 사용 안함"},
        {Language::Korean, 147, 1077, "사용함"},  // once in its dialog: its own text
        {Language::English, 131, 1081, "Recipient 2 mail address: Event settings"},
        {Language::English, 132, 1076, "WEP: Disabled"},
    };
    for (const auto& c : cases) {
        const ScopedLanguage chosen(c.language);
        ui::CDialog dialog(c.templateId);
        ASSERT_TRUE(dialog.Create());
        auto* button = static_cast<QAbstractButton*>(dialog.GetDlgItem(c.controlId));
        EXPECT_EQ(QAccessible::queryAccessibleInterface(button)->text(QAccessible::Name),
                  QString::fromUtf8(c.name));
        EXPECT_EQ(ui::ToUtf8(button->text()), dialog.Template()->FindControl(c.controlId)->text);
    }
}

}  // namespace
