// CPasswordChangeDialog: the checks in order with their messages and focus, and the road
// through the progress dialog to the projector and back.
#include "FlowSupport.h"
#include "dialogs/PasswordChangeDialog.h"
#include "ui/DialogCodes.h"

namespace dialogtest {
namespace {

using lanterna::dialogs::CPasswordChangeDialog;
constexpr int kCurrent = CPasswordChangeDialog::kCurrentEdit;
constexpr int kNew = CPasswordChangeDialog::kNewEdit;
constexpr int kRepeat = CPasswordChangeDialog::kRepeatEdit;

struct Entries {
    const char* current;
    const char* fresh;
    const char* repeated;
};

void Fill(ui::CDialog& d, const Entries& entries) {
    d.SetDlgItemText(kCurrent, entries.current);
    d.SetDlgItemText(kNew, entries.fresh);
    d.SetDlgItemText(kRepeat, entries.repeated);
}

using PasswordChange = DialogTest;

TEST_F(PasswordChange, ChecksStopAtTheFirstFailureWithItsMessageAndFocus) {
    struct Case {
        Entries entries;
        int stringId;
        int focus;
    };
    const Case cases[] = {
        {{"0123456789abcde", "0123456789abcde", "x"}, 126, kCurrent},
        {{"old", "0123456789abcde", "0123456789abcde"}, 125, kNew},
        {{"old", "new", "0123456789abcde"}, 125, kRepeat},
        {{"old", "Secret", "secret"}, 127, kNew},  // letter case counts
    };
    lanterna::ApplicationState state;
    for (const Case& c : cases) {
        ui::test::ClearShownMessages();
        CPasswordChangeDialog dialog(state);
        int focus = 0;
        bool open = false;
        EXPECT_EQ(ui::test::RunModal(dialog,
                                     [&](ui::CDialog& d) {
                                         Fill(d, c.entries);
                                         d.ClickButton(ui::IDOK);
                                         open = d.IsRunning();
                                         focus = d.GetFocusId();
                                         d.ClickButton(ui::IDCANCEL);
                                     }),
                  ui::IDCANCEL);
        EXPECT_TRUE(open);
        EXPECT_EQ(ShownIds(), std::vector<int>{c.stringId});
        EXPECT_EQ(focus, c.focus) << c.stringId;
        EXPECT_EQ(lanterna::TextOf(state.newPassword), "");
    }
}

TEST_F(PasswordChange, CorrectCurrentPasswordChangesItOnTheProjector) {
    auto config = ProjectorAt("127.88.2.1");
    config.password = "old";
    CFlowBench bench(config);
    CPasswordChangeDialog dialog(*bench.state);
    const int code = ui::test::RunModal(dialog, [](ui::CDialog& d) {
        Fill(d, {"old", "new-pw", "new-pw"});
        ui::test::ScriptNextDialog(133, [](ui::CDialog&) {});  // the progress dialog
        d.ClickButton(ui::IDOK);
    });
    EXPECT_EQ(code, ui::IDOK);
    EXPECT_TRUE(ui::test::ShownMessages().empty());
    EXPECT_EQ(lanterna::TextOf(bench.state->currentPassword), "old");
    EXPECT_EQ(lanterna::TextOf(bench.state->newPassword), "new-pw");
    EXPECT_EQ(bench.projector.Settings().password, "new-pw");
    // The record's password is not the projector's new one until the user enters it.
    EXPECT_EQ(lanterna::TextOf(bench.state->SelectedRecord()->password), "");
}

TEST_F(PasswordChange, WrongCurrentPasswordShowsOneTwentyEightAndKeepsTheEntries) {
    auto config = ProjectorAt("127.88.2.2");
    config.password = "old";
    CFlowBench bench(config);
    CPasswordChangeDialog dialog(*bench.state);
    std::string current, fresh;
    bool open = false;
    const int code = ui::test::RunModal(dialog, [&](ui::CDialog& d) {
        Fill(d, {"bad", "new-pw", "new-pw"});
        ui::test::ScriptNextDialog(133, [](ui::CDialog&) {});  // the progress dialog
        d.ClickButton(ui::IDOK);
        open = d.IsRunning();
        current = d.GetDlgItemText(kCurrent);
        fresh = d.GetDlgItemText(kNew);
        d.ClickButton(ui::IDCANCEL);
    });
    EXPECT_EQ(code, ui::IDCANCEL);
    EXPECT_TRUE(open);
    EXPECT_EQ(current, "bad");
    EXPECT_EQ(fresh, "new-pw");
    EXPECT_EQ(ShownIds(), std::vector<int>{128});
    EXPECT_EQ(bench.projector.Settings().password, "old");
}

TEST_F(PasswordChange, EmptyEntriesPassTheChecks) {
    lanterna::ApplicationState state;
    state.debugMode = 0;
    CPasswordChangeDialog dialog(state);
    // No projector is selected: the worker fails at once and the failure is reported.
    ui::test::RunModal(dialog, [](ui::CDialog& d) {
        ui::test::ScriptNextDialog(133, [](ui::CDialog&) {});  // the progress dialog
        d.ClickButton(ui::IDOK);
        d.ClickButton(ui::IDCANCEL);
    });
    EXPECT_EQ(ShownIds(), std::vector<int>{128});
}

}  // namespace
}  // namespace dialogtest
