// CPasswordInputDialog: what it stores, its limit, the over-long text, Cancel.
#include <QLineEdit>

#include "DialogTestSupport.h"
#include "dialogs/PasswordInputDialog.h"
#include "platform/FixedText.h"
#include "ui/Controls.h"
#include "ui/DialogCodes.h"

namespace dialogtest {
namespace {

using lanterna::ProjectorRecord;
using lanterna::dialogs::CPasswordInputDialog;
constexpr int kEdit = CPasswordInputDialog::kPasswordEdit;

class PasswordInput : public DialogTest {
  protected:
    PasswordInput() { lanterna::CopyText(record_.password, "old"); }
    ProjectorRecord record_{};
};

TEST_F(PasswordInput, TypedPasswordIsStoredAndEndsWithOk) {
    CPasswordInputDialog dialog(&record_);
    int focus = 0;
    bool masked = false;
    const int code = ui::test::RunModal(dialog, [&](ui::CDialog& d) {
        focus = d.GetFocusId();
        masked = d.Edit(kEdit)->echoMode() == QLineEdit::Password;
        QTest::keyClicks(d.Edit(kEdit), "Secret-1");
        d.ClickButton(ui::IDOK);
    });
    EXPECT_EQ(code, ui::IDOK);
    EXPECT_EQ(focus, kEdit);
    EXPECT_TRUE(masked);
    EXPECT_EQ(lanterna::TextOf(record_.password), "Secret-1");
    EXPECT_TRUE(ui::test::ShownMessages().empty());
}

TEST_F(PasswordInput, EmptyPasswordIsAcceptedAndStored) {
    CPasswordInputDialog dialog(&record_);
    EXPECT_EQ(ui::test::RunModal(dialog, [](ui::CDialog& d) { PressKey(d, Qt::Key_Return); }),
              ui::IDOK);
    EXPECT_EQ(lanterna::TextOf(record_.password), "");
}

TEST_F(PasswordInput, TypingStopsAtFourteenBytes) {
    CPasswordInputDialog dialog(&record_);
    ui::test::RunModal(dialog, [](ui::CDialog& d) {
        QTest::keyClicks(d.Edit(kEdit), "0123456789abcdefgh");
        d.ClickButton(ui::IDOK);
    });
    EXPECT_EQ(lanterna::TextOf(record_.password), "0123456789abcd");
}

TEST_F(PasswordInput, OverlongTextSetByTheProgramIsRefusedAndTheDialogStaysOpen) {
    CPasswordInputDialog dialog(&record_);
    bool stillOpen = false;
    int focus = 0;
    const int code = ui::test::RunModal(dialog, [&](ui::CDialog& d) {
        d.SetDlgItemText(kEdit, "0123456789abcde");  // 15 bytes
        d.ClickButton(ui::IDOK);
        stillOpen = d.IsRunning();
        focus = d.GetFocusId();
        d.ClickButton(ui::IDCANCEL);
    });
    EXPECT_EQ(code, ui::IDCANCEL);
    EXPECT_TRUE(stillOpen);
    EXPECT_EQ(focus, kEdit);
    EXPECT_EQ(ShownIds(), std::vector<int>{125});
    EXPECT_EQ(ui::test::ShownMessages().at(0).flags, 48u);
    EXPECT_EQ(lanterna::TextOf(record_.password), "old");
}

TEST_F(PasswordInput, CancelAndEscapeChangeNothing) {
    CPasswordInputDialog dialog(&record_);
    EXPECT_EQ(ui::test::RunModal(dialog,
                                 [](ui::CDialog& d) {
                                     QTest::keyClicks(d.Edit(kEdit), "new");
                                     d.ClickButton(ui::IDCANCEL);
                                 }),
              ui::IDCANCEL);
    EXPECT_EQ(ui::test::RunModal(dialog,
                                 [](ui::CDialog& d) {
                                     QTest::keyClicks(d.Edit(kEdit), "new");
                                     PressKey(d, Qt::Key_Escape);
                                 }),
              ui::IDCANCEL);
    EXPECT_EQ(lanterna::TextOf(record_.password), "old");
}

TEST_F(PasswordInput, WithoutASelectedRecordOkStoresNothingAndEnds) {
    CPasswordInputDialog dialog(nullptr);
    EXPECT_EQ(ui::test::RunModal(dialog, [](ui::CDialog& d) { d.ClickButton(ui::IDOK); }),
              ui::IDOK);
}

}  // namespace
}  // namespace dialogtest
