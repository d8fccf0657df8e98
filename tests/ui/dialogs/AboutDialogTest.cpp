// CAboutDialog: its texts and closing.
#include "DialogTestSupport.h"
#include "dialogs/AboutDialog.h"
#include "ui/DialogCodes.h"

namespace dialogtest {
namespace {

using AboutDialog = DialogTest;

TEST_F(AboutDialog, ShowsNameAndVersionAndClosesWithOkOrEscape) {
    lanterna::dialogs::CAboutDialog dialog;
    std::string caption, version;
    EXPECT_EQ(ui::test::RunModal(dialog,
                                 [&](ui::CDialog& d) {
                                     caption = d.GetWindowText();
                                     version = d.GetDlgItemText(1001);
                                     d.ClickButton(ui::IDOK);
                                 }),
              ui::IDOK);
    EXPECT_EQ(caption, "Lanterna의 버젼 정보");
    EXPECT_EQ(version, "Lanterna Version2.00");
    EXPECT_EQ(ui::test::RunModal(dialog, [](ui::CDialog& d) { PressKey(d, Qt::Key_Escape); }),
              ui::IDCANCEL);
}

}  // namespace
}  // namespace dialogtest
