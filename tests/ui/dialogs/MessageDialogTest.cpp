// CMessageDialog: buttons and icons chosen by the flags, end codes, keys.
#include <vector>

#include "DialogTestSupport.h"
#include "dialogs/MessageDialog.h"
#include "ui/DialogCodes.h"

namespace dialogtest {
namespace {

using lanterna::dialogs::CMessageDialog;

constexpr std::vector<int> AllIcons() {
    return {CMessageDialog::kExclamationControl, CMessageDialog::kInformationControl,
            CMessageDialog::kQuestionControl, CMessageDialog::kStopControl};
}

struct Seen {
    std::vector<int> visibleIcons;
    bool ok = false, yes = false, no = false;
    int defaultButton = 0;
    int focus = 0;
    std::string text, caption;
};

Seen Look(ui::CDialog& dialog) {
    Seen seen;
    for (const int icon : AllIcons()) {
        if (dialog.IsDlgItemVisible(icon)) {
            seen.visibleIcons.push_back(icon);
        }
    }
    seen.ok = dialog.IsDlgItemVisible(ui::IDOK);
    seen.yes = dialog.IsDlgItemVisible(ui::IDYES);
    seen.no = dialog.IsDlgItemVisible(ui::IDNO);
    seen.defaultButton = dialog.DefaultButton();
    seen.focus = dialog.GetFocusId();
    seen.text = dialog.GetDlgItemText(CMessageDialog::kTextControl);
    seen.caption = dialog.GetWindowText();
    return seen;
}

using MessageDialog = DialogTest;

TEST_F(MessageDialog, QuestionShowsYesAndNoWithYesDefaultWhateverTheDefaultBits) {
    for (const unsigned flags : {0x124u, 0x24u, 0x324u}) {  // 0x100, 0x200: second, third default
        for (const int button : {ui::IDYES, ui::IDNO}) {
            CMessageDialog dialog("테스트 메일?", "Lanterna", flags);
            Seen seen;
            const int code = ui::test::RunModal(dialog, [&](ui::CDialog& d) {
                seen = Look(d);
                d.ClickButton(button);
            });
            EXPECT_EQ(code, button);
            EXPECT_FALSE(seen.ok);
            EXPECT_TRUE(seen.yes && seen.no);
            EXPECT_EQ(seen.defaultButton, ui::IDYES);
            EXPECT_EQ(seen.focus, ui::IDYES);
            EXPECT_EQ(seen.visibleIcons, std::vector<int>{CMessageDialog::kQuestionControl});
        }
    }
}

TEST_F(MessageDialog, EnterOnAQuestionAnswersYes) {
    CMessageDialog dialog("?", "Lanterna", 0x124);
    EXPECT_EQ(ui::test::RunModal(dialog, [](ui::CDialog& d) { PressKey(d, Qt::Key_Return); }),
              ui::IDYES);
}

TEST_F(MessageDialog, ExclamationShowsItsIconAndOnlyOk) {
    CMessageDialog dialog("경고", "Lanterna", 0x30);
    Seen seen;
    const int code = ui::test::RunModal(dialog, [&](ui::CDialog& d) {
        seen = Look(d);
        d.ClickButton(ui::IDOK);
    });
    EXPECT_EQ(code, ui::IDOK);
    EXPECT_TRUE(seen.ok);
    EXPECT_FALSE(seen.yes || seen.no);
    EXPECT_EQ(seen.visibleIcons, std::vector<int>{CMessageDialog::kExclamationControl});
    EXPECT_EQ(seen.text, "경고");
    EXPECT_EQ(seen.caption, "Lanterna");
}

TEST_F(MessageDialog, EachIconFlagShowsOneIconAndOthersNone) {
    const std::vector<std::pair<unsigned, std::vector<int>>> cases = {
        {0x10, {CMessageDialog::kStopControl}},
        {0x20, {CMessageDialog::kQuestionControl}},
        {0x40, {CMessageDialog::kInformationControl}},
        {0x00, {}},
        {0x50, {}},
        {0xF0, {}},
    };
    for (const auto& [flags, icons] : cases) {
        CMessageDialog dialog("x", "Lanterna", flags);
        Seen seen;
        ui::test::RunModal(dialog, [&](ui::CDialog& d) {
            seen = Look(d);
            d.ClickButton(ui::IDOK);
        });
        EXPECT_EQ(seen.visibleIcons, icons) << "flags " << flags;
        EXPECT_TRUE(seen.ok) << "flags " << flags;
    }
}

TEST_F(MessageDialog, OtherButtonBitsShowOkAlone) {
    CMessageDialog dialog("x", "Lanterna", 0x03);  // yes/no/cancel is not a set this box knows
    Seen seen;
    EXPECT_EQ(ui::test::RunModal(dialog,
                                 [&](ui::CDialog& d) {
                                     seen = Look(d);
                                     PressKey(d, Qt::Key_Return);
                                 }),
              ui::IDOK);
    EXPECT_TRUE(seen.ok);
    EXPECT_FALSE(seen.yes || seen.no);
}

TEST_F(MessageDialog, EscapeAndTheCloseBoxEndWithCancel) {
    for (const unsigned flags : {0x30u, 0x124u}) {
        CMessageDialog byKey("x", "Lanterna", flags);
        EXPECT_EQ(ui::test::RunModal(byKey, [](ui::CDialog& d) { PressKey(d, Qt::Key_Escape); }),
                  ui::IDCANCEL);
        CMessageDialog byClose("x", "Lanterna", flags);
        EXPECT_EQ(ui::test::RunModal(byClose, [](ui::CDialog& d) { d.close(); }), ui::IDCANCEL);
    }
}

}  // namespace
}  // namespace dialogtest
