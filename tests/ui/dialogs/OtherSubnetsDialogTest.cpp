// COtherSubnetsDialog: the first entry that is no address or range, or that takes too many
// addresses, is refused by name with the dialog left open and nothing stored; good ones are
// stored.
#include <cstdio>

#include "DialogTestSupport.h"
#include "dialogs/OtherSubnetsDialog.h"
#include "resources/StringIds.h"
#include "settings/OtherSubnets.h"
#include "ui/DialogCodes.h"

namespace dialogtest {
namespace {

using lanterna::dialogs::COtherSubnetsDialog;

TEST_F(DialogTest, OtherSubnetsRefuseABadEntryByNameAndStoreNothing) {
    const lanterna::HiveFile hive{::testing::TempDir() + "other-subnets-hive"};
    std::remove(hive.path.c_str());
    const struct {
        const char* typed;
        int refusal;        // 0: stored
        const char* named;  // what the refusal names
    } cases[] = {
        {"10.1.2.1-20 10.1.2.x 10.1.3.1", lanterna::kStringSubnetEntryNotRange, "10.1.2.x"},
        {"10.1.2.1-20 10.0.0.1-10.0.255.255", lanterna::kStringSubnetEntryTooMany,
         "10.0.0.1-10.0.255.255"},
        {"10.1.2.1-20  10.1.3.1", 0, ""},
    };
    for (const auto& c : cases) {
        ui::test::ClearShownMessages();
        COtherSubnetsDialog dialog(hive);
        bool stillOpen = false;
        const int code = ui::test::RunModal(dialog, [&](ui::CDialog& d) {
            d.SetDlgItemText(COtherSubnetsDialog::kEntriesEdit, c.typed);
            d.ClickButton(ui::IDOK);
            stillOpen = d.isVisible();
            if (stillOpen) {
                d.ClickButton(ui::IDCANCEL);
            }
        });
        std::vector<std::string> stored;
        lanterna::LoadOtherSubnets(stored, hive);
        if (c.refusal != 0) {
            EXPECT_TRUE(stillOpen) << c.typed;
            EXPECT_EQ(ShownIds(), std::vector<int>{c.refusal}) << c.typed;
            EXPECT_NE(ui::test::ShownMessages().at(0).text.find(c.named), std::string::npos);
            EXPECT_TRUE(stored.empty()) << c.typed;
        } else {
            EXPECT_EQ(code, ui::IDOK);
            EXPECT_EQ(stored, (std::vector<std::string>{"10.1.2.1-20", "10.1.3.1"}));
        }
    }
    std::remove(hive.path.c_str());
}

}  // namespace
}  // namespace dialogtest
