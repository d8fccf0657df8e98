// CSnmpDialog and CSnmpFileDialog: the checks with message and focus, the state rule against the
// reference and the at-open values, Cancel, and the file variant storing only after all passed.
#include <functional>

#include "SettingsTestSupport.h"
#include "dialogs/SnmpDialog.h"

namespace settingstest {
namespace {

using lanterna::kStateChanged;
using lanterna::kStateUnchanged;
using lanterna::dialogs::CSnmpDialog;
constexpr int kTrap1 = CSnmpDialog::kTrapAddress1Control;
constexpr int kTrap2 = CSnmpDialog::kTrapAddress2Control;
constexpr int kCommunity = CSnmpDialog::kCommunityEdit;

struct Entries {
    const char* trap1;
    const char* trap2;
    const char* community;
};

// OK with `entries`; a dialog left open is cancelled. `focus` is where a refusal left it.
int RunOk(CSnmpDialog& dialog, const Entries& entries, Focus* focus = nullptr,
          const std::function<void()>& whileOpen = {}) {
    return ui::test::RunModal(dialog, [&](ui::CDialog& d) {
        Type(d, kTrap1, entries.trap1);
        Type(d, kTrap2, entries.trap2);
        Type(d, kCommunity, entries.community);
        d.ClickButton(ui::IDOK);
        if (d.isVisible()) {
            if (focus != nullptr) {
                *focus = FocusOf(d);
            }
            if (whileOpen) {
                whileOpen();
            }
            d.ClickButton(ui::IDCANCEL);
        }
    });
}

TEST_F(DialogTest, SnmpChecksEachEntryWithItsMessageAndFocus) {
    const struct {
        Entries entries;
        int stringId;
        Focus focus;
    } cases[] = {
        {{"192.168.10", "", "public"}, 137, {kTrap1, 3}},
        {{"127.0.0.1", "", "public"}, 137, {kTrap1, 0}},
        {{"", "224.0.0.9", "public"}, 137, {kTrap2, 0}},
        {{"", "", ""}, 138, {kCommunity}},
        {{"", "", "pub-lic"}, 138, {kCommunity}},
    };
    for (const auto& c : cases) {
        ui::test::ClearShownMessages();
        ProjectorRecord record = ReadProjector();
        CSnmpDialog dialog(&record);
        Focus focus;
        RunOk(dialog, c.entries, &focus);
        EXPECT_EQ(ShownIds(), std::vector<int>{c.stringId}) << c.entries.trap1;
        EXPECT_EQ(focus, c.focus) << c.stringId << ": " << focus.control << "/" << focus.field;
    }
}

TEST_F(DialogTest, SnmpStoresByTheStateRule) {
    const ProjectorRecord reference = ReadProjector();  // trap1 .3, trap2 unset, "public"
    const struct {
        Entries entries;
        bool changedSinceReference;
        std::function<void(const ProjectorRecord&)> expect;
    } cases[] = {
        {{"", "", "PUBLIC"},
         false,
         [](const ProjectorRecord& r) {
             EXPECT_EQ(r.trapAddress1, (Octets{}));
             EXPECT_EQ(r.trapAddress1State, kStateChanged);
             EXPECT_EQ(r.trapAddress2State, kStateUnchanged);
             EXPECT_EQ(r.communityState, kStateUnchanged);
             EXPECT_EQ(lanterna::TextOf(r.community), "public") << "letter case alone";
         }},
        {{"192.168.10.3", "", "Public"},
         true,
         [](const ProjectorRecord& r) {
             EXPECT_EQ(r.trapAddress2, (Octets{})) << "back to the reference";
             EXPECT_EQ(r.trapAddress2State, kStateUnchanged);
             EXPECT_EQ(lanterna::TextOf(r.community), "Public");
             EXPECT_EQ(r.communityState, kStateUnchanged);
         }},
    };
    for (const auto& c : cases) {
        ProjectorRecord record = reference;
        if (c.changedSinceReference) {
            record.trapAddress2 = {10, 0, 0, 9};
            lanterna::CopyText(record.community, "campus");
        }
        CSnmpDialog dialog(&record);
        dialog.SetReference(reference);
        EXPECT_EQ(RunOk(dialog, c.entries), ui::IDOK);
        c.expect(record);
    }
}

TEST_F(DialogTest, SnmpRefusalOnTrapTwoKeepsTrapOneStoredUntilCancel) {
    ProjectorRecord record = ReadProjector();
    CSnmpDialog dialog(&record);
    dialog.SetReference(record);
    Octets whileOpen{};
    RunOk(dialog, {"10.9.9.9", "127.1.1.1", "public"}, nullptr,
          [&] { whileOpen = record.trapAddress1; });
    EXPECT_EQ(whileOpen, (Octets{10, 9, 9, 9}));
    EXPECT_EQ(record.trapAddress1, (Octets{192, 168, 10, 3}));
    EXPECT_EQ(record.trapAddress1State, kStateChanged) << "Cancel keeps the state words";
}

TEST_F(DialogTest, SnmpFileVariantStoresWithStateTwoOnlyWhenEveryCheckPassed) {
    ProjectorRecord fileRecord{};
    lanterna::dialogs::CSnmpFileDialog dialog;
    dialog.SetRecord(&fileRecord);
    RunOk(dialog, {"10.1.2.3", "", "bad-name"});
    EXPECT_EQ(fileRecord.trapAddress1, (Octets{})) << "nothing stored before all passed";
    EXPECT_EQ(RunOk(dialog, {"10.1.2.3", "", "campus"}), ui::IDOK);
    EXPECT_EQ(fileRecord.trapAddress1, (Octets{10, 1, 2, 3}));
    EXPECT_EQ(fileRecord.trapAddress2State, kStateChanged);
    EXPECT_EQ(fileRecord.communityState, kStateChanged);
    dialog.Create();  // a later run shows what the record holds, an unset address blank
    EXPECT_EQ(dialog.GetDlgItemText(kTrap1), "10.1.2.3");
    EXPECT_EQ(dialog.GetDlgItemText(kTrap2), "...");
    EXPECT_EQ(dialog.GetDlgItemText(kCommunity), "campus");
}

}  // namespace
}  // namespace settingstest
