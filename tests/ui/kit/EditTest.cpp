// Edits: the text limit counts UTF-8 bytes and never cuts a character; digits-only edits.
#include <QTest>

#include "KitTestSupport.h"
#include "ui/Controls.h"
#include "ui/DialogCodes.h"

namespace kittest {
namespace {

using ui::CDialog;

class Edits : public SessionTest {
  protected:
    // Runs `steps` on the shown dialog with the focus in `edit`.
    void Typing(int edit, const std::function<void(CDialog&, ui::CEdit&)>& steps) {
        CDialog dialog(kTestTemplate);
        ui::test::RunModal(dialog, [&](CDialog& d) {
            d.GotoDlgCtrl(edit);
            steps(d, *d.Edit(edit));
            d.EndDialog(ui::IDOK);
        });
    }
};

TEST_F(Edits, TypingStopsAtTheByteLimit) {
    Typing(kLimitedEdit, [](CDialog& d, ui::CEdit&) {
        TypeText(d, "abcdefgh");
        EXPECT_EQ(d.GetDlgItemText(kLimitedEdit), "abcdef");
    });
}

TEST_F(Edits, HangulCountsThreeBytesAndIsNeverCut) {
    Typing(kLimitedEdit, [](CDialog& d, ui::CEdit& edit) {
        TypeText(d, QString::fromUtf8("한글한"));
        EXPECT_EQ(d.GetDlgItemText(kLimitedEdit), "한글");
        edit.clear();
        TypeText(d, QString::fromUtf8("ab한글"));
        EXPECT_EQ(d.GetDlgItemText(kLimitedEdit), "ab한");  // 5 bytes; one more would be 8
        TypeText(d, "c");
        EXPECT_EQ(d.GetDlgItemText(kLimitedEdit), "ab한c");
    });
}

TEST_F(Edits, APasteKeepsTheWholeCharactersThatFit) {
    Typing(kLimitedEdit, [](CDialog& d, ui::CEdit& edit) {
        edit.insert(QString::fromUtf8("x한글한글"));
        EXPECT_EQ(d.GetDlgItemText(kLimitedEdit), "x한");
        edit.selectAll();
        edit.insert(QString::fromUtf8("😀😀"));  // 4 bytes each
        EXPECT_EQ(d.GetDlgItemText(kLimitedEdit), "😀");
        edit.setCursorPosition(0);
        edit.insert(QStringLiteral("ab"));  // inserted before existing text
        EXPECT_EQ(d.GetDlgItemText(kLimitedEdit), "ab😀");
        edit.setCursorPosition(1);
        edit.insert(QStringLiteral("Z"));  // 7 bytes: refused
        EXPECT_EQ(d.GetDlgItemText(kLimitedEdit), "ab😀");
    });
}

TEST_F(Edits, ReplacingASelectionMayNotGrowPastTheLimit) {
    Typing(kLimitedEdit, [](CDialog& d, ui::CEdit& edit) {
        TypeText(d, "abcdef");
        edit.setSelection(0, 1);
        TypeText(d, QString::fromUtf8("한"));  // 1 byte out, 3 in: 8 bytes
        EXPECT_EQ(d.GetDlgItemText(kLimitedEdit), "abcdef");
    });
}

TEST_F(Edits, TextAboveTheLimitCanStillBeShortened) {
    Typing(kLimitedEdit, [](CDialog& d, ui::CEdit& edit) {
        d.SetDlgItemText(kLimitedEdit, "0123456789");
        edit.end(false);
        QTest::keyClick(&edit, Qt::Key_Backspace);
        EXPECT_EQ(d.GetDlgItemText(kLimitedEdit), "012345678");
        TypeText(d, "x");
        EXPECT_EQ(d.GetDlgItemText(kLimitedEdit), "012345678");
    });
}

TEST_F(Edits, DigitsOnlyRefusesOtherInput) {
    Typing(kDigitsEdit, [](CDialog& d, ui::CEdit& edit) {
        TypeText(d, "1a2");
        EXPECT_EQ(d.GetDlgItemText(kDigitsEdit), "12");
        edit.insert(QStringLiteral("3x"));
        EXPECT_EQ(d.GetDlgItemText(kDigitsEdit), "12");
        edit.insert(QString::fromUtf8("٣"));  // a digit, but not an ASCII one
        EXPECT_EQ(d.GetDlgItemText(kDigitsEdit), "12");
    });
}

TEST_F(Edits, PasswordEditsHideTheirText) {
    Typing(kPasswordEdit, [](CDialog& d, ui::CEdit& edit) {
        EXPECT_EQ(edit.echoMode(), QLineEdit::Password);
        TypeText(d, "secret-1234567890");
        EXPECT_EQ(d.GetDlgItemText(kPasswordEdit), "secret-1234567");  // 14 bytes
    });
}

TEST_F(Edits, ALimitSetAtRunTimeApplies) {
    Typing(kPasswordEdit, [](CDialog& d, ui::CEdit&) {
        d.SetTextLimit(kPasswordEdit, 3);
        TypeText(d, "abcdef");
        EXPECT_EQ(d.GetDlgItemText(kPasswordEdit), "abc");
        d.SetTextLimit(kPasswordEdit, 0);
        TypeText(d, "def");
        EXPECT_EQ(d.GetDlgItemText(kPasswordEdit), "abcdef");
    });
}

}  // namespace
}  // namespace kittest
