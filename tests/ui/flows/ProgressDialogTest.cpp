// COperationProgressDialog: the real workers against a simulated projector, the message table
// for every result, the progress bar, and a worker thread that cannot start.
#include <system_error>
#include <thread>

#include "FlowSupport.h"
#include "dialogs/OperationProgressDialog.h"
#include "resources/StringTable.h"
#include "state/Messages.h"
#include "tests/support/ui/PostedEvents.h"
#include "ui/Controls.h"

namespace dialogtest {
namespace {

using lanterna::WorkerMode;
using lanterna::dialogs::COperationProgressDialog;

using ProgressDialog = DialogTest;

// Runs the dialog, which ends by itself on its worker's result; the operation text is read
// after the run (the controls stay until the next run).
int RunWatched(COperationProgressDialog& dialog, std::string* text = nullptr) {
    const int code = ui::test::RunModal(dialog, [](ui::CDialog&) {});
    if (text != nullptr) {
        *text = dialog.GetDlgItemText(COperationProgressDialog::kTextLabel);
    }
    return code;
}

TEST_F(ProgressDialog, ProbeOfAProjectorWithoutPasswordEndsWithOneSilently) {
    CFlowBench bench(ProjectorAt("127.88.1.1"));
    COperationProgressDialog dialog(WorkerMode::kProbe, *bench.state);
    std::string text;
    EXPECT_EQ(RunWatched(dialog, &text), 1);
    EXPECT_EQ(text, lanterna::LoadString(lanterna::kStringConnecting));
    EXPECT_EQ(dialog.ProgressBar(COperationProgressDialog::kProgressBar)->value(), 100);
    EXPECT_TRUE(ui::test::ShownMessages().empty());
    EXPECT_EQ(bench.state->progressWindow, nullptr);
    EXPECT_EQ(bench.state->link, nullptr);
}

TEST_F(ProgressDialog, ReadLeavesTheLinkOpenAndShowsTheAuthenticationText) {
    CFlowBench bench(ProjectorAt("127.88.1.3"));
    COperationProgressDialog dialog(WorkerMode::kRead, *bench.state);
    dialog.passwordEntered = 1;
    std::string text;
    EXPECT_EQ(RunWatched(dialog, &text), 1);
    EXPECT_EQ(text, lanterna::LoadString(lanterna::kStringAuthenticating));
    EXPECT_NE(bench.state->link, nullptr);
    EXPECT_EQ(lanterna::TextOf(bench.state->SelectedRecord()->projectorName), "SIMPROJ");
}

TEST_F(ProgressDialog, ReadWithAWrongPasswordShowsStringOneThirtyOneAndEndsWithTwo) {
    auto config = ProjectorAt("127.88.1.4");
    config.password = "right";
    CFlowBench bench(config);
    lanterna::CopyText(bench.state->SelectedRecord()->password, "wrong");
    COperationProgressDialog dialog(WorkerMode::kRead, *bench.state);
    dialog.passwordEntered = 0;
    std::string text;
    EXPECT_EQ(RunWatched(dialog, &text), 2);
    EXPECT_EQ(text, lanterna::LoadString(lanterna::kStringConnecting));
    EXPECT_EQ(ShownIds(), std::vector<int>{131});
    EXPECT_EQ(ui::test::ShownMessages().at(0).ownerTemplateId, 133);
}

// A projector that goes away halfway through the read: the read fails and names the setting.
TEST_F(ProgressDialog, ReadThatLosesItsLinkNamesTheSetting) {
    auto config = ProjectorAt("127.88.1.7");
    config.faults.replyFaults = {{"NWSMTPSRV", {lanterna::sim::ReplyFaultKind::kCut, 4, {}}}};
    CFlowBench bench(config);
    COperationProgressDialog dialog(WorkerMode::kRead, *bench.state);
    EXPECT_EQ(RunWatched(dialog), 2);
    const auto shown = ui::test::ShownMessages();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].stringId, 200);
    EXPECT_NE(shown[0].text.find("smtpServer"), std::string::npos) << shown[0].text;
    EXPECT_EQ(bench.state->link, nullptr);
}

// A write that loses its link part-way says what went through and what did not.
TEST_F(ProgressDialog, WriteThatLosesItsLinkListsWhatWasAcceptedAndWhatNot) {
    CFlowBench bench(ProjectorAt("127.88.1.8"));
    COperationProgressDialog read(WorkerMode::kRead, *bench.state);
    ASSERT_EQ(RunWatched(read), 1);
    auto faults = bench.projector.Faults();
    faults.dropAfterSets = 1;
    bench.projector.SetFaults(faults);
    lanterna::ProjectorRecord& record = *bench.state->SelectedRecord();
    record.trapAddress1 = {10, 0, 0, 9};
    record.trapAddress1State = record.communityState = record.primaryInterfaceState =
        lanterna::kStateChanged;
    COperationProgressDialog write(WorkerMode::kWrite, *bench.state);
    EXPECT_EQ(RunWatched(write), 2);
    const auto shown = ui::test::ShownMessages();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].stringId, 201);
    EXPECT_EQ(shown[0].text, "설정 도중 프로젝터와의 연결이 끊어졌습니다. 프로젝터의 설정이 일부만 "
                             "바뀌었을 수 있습니다.\n적용됨: NWTRAPIP1\n거부됨: 없음\n응답 없음: "
                             "NWCNAME\n보내지 않음: NWPRIMIF");
}

// ---------------------------------------------------------------- the result table

struct TableCase {
    WorkerMode mode;
    std::uint32_t message;
    std::intptr_t wParam;
    int endCode;
    int stringId;  // 0: no message
    unsigned flags;
};

TEST_F(ProgressDialog, EveryResultShowsItsMessageAndEndsWithItsCode) {
    using namespace lanterna;
    const TableCase cases[] = {
        {WorkerMode::kProbe, kMessageProbeResult, -1, -1, 121, 48},
        {WorkerMode::kProbe, kMessageProbeResult, 0, 0, 122, 48},
        {WorkerMode::kProbe, kMessageProbeResult, 1, 1, 0, 0},
        {WorkerMode::kProbe, kMessageProbeResult, 2, 2, 0, 0},
        {WorkerMode::kRead, kMessageReadResult, 1, 1, 0, 0},
        {WorkerMode::kRead, kMessageReadResult, 0, 2, 131, 48},
        {WorkerMode::kRead, kMessageReadResult, -1, 2, 130, 48},
        {WorkerMode::kRead, kMessageReadResult, -2, 2, 121, 48},
        {WorkerMode::kRead, kMessageReadResult, -3, 2, 153, 48},
        {WorkerMode::kRead, kMessageReadResult, 5, 2, 130, 48},
        {WorkerMode::kRead, kMessageReadResult, -4, 2, 200, 48},
        {WorkerMode::kWrite, kMessageWriteResult, 1, 1, 133, 64},
        {WorkerMode::kWrite, kMessageWriteResult, 7, 1, 133, 64},
        {WorkerMode::kWrite, kMessageWriteResult, -1, 1, 132, 48},
        {WorkerMode::kWrite, kMessageWriteResult, 0, 2, 132, 48},
        {WorkerMode::kWrite, kMessageWriteResult, -2, 2, 201, 48},
        {WorkerMode::kWrite, kMessageWriteResult, -3, 2, 202, 48},
        {WorkerMode::kPassword, kMessagePasswordResult, 1, 1, 0, 0},
        {WorkerMode::kPassword, kMessagePasswordResult, 0, 2, 0, 0},
        {WorkerMode::kPassword, kMessagePasswordResult, -1, 2, 0, 0},
    };
    for (const TableCase& c : cases) {
        ui::test::ClearShownMessages();
        ApplicationState state;
        COperationProgressDialog dialog(c.mode, state);
        // The worker posts two steps and its result, as the real ones do.
        dialog.SetThreadStarter([&state, c](std::function<void()>) {
            return std::thread([&state, c] {
                state.Post(kMessageProgress, 30);
                state.Post(kMessageProgress, 45);
                state.Post(c.message, c.wParam);
            });
        });
        EXPECT_EQ(RunWatched(dialog), c.endCode) << c.message << " " << c.wParam;
        EXPECT_EQ(dialog.ProgressBar(COperationProgressDialog::kProgressBar)->value(), 75);
        const auto shown = ui::test::ShownMessages();
        if (c.stringId == 0) {
            EXPECT_TRUE(shown.empty()) << c.message << " " << c.wParam;
            continue;
        }
        ASSERT_EQ(shown.size(), 1u) << c.message << " " << c.wParam;
        EXPECT_EQ(shown[0].stringId, c.stringId) << c.message << " " << c.wParam;
        EXPECT_EQ(shown[0].flags, c.flags) << c.message << " " << c.wParam;
    }
}

TEST_F(ProgressDialog, WorkerThatCannotStartShowsOneThirtyAndEndsWithTwo) {
    lanterna::ApplicationState state;
    COperationProgressDialog dialog(WorkerMode::kRead, state);
    dialog.SetThreadStarter([](std::function<void()>) -> std::thread {
        throw std::system_error(std::make_error_code(std::errc::resource_unavailable_try_again));
    });
    // The dialog ends during its initialisation, before any script could run.
    ui::test::ScriptNextDialog(133, [](ui::CDialog&) {});
    EXPECT_EQ(dialog.DoModal(), 2);
    EXPECT_EQ(ShownIds(), std::vector<int>{130});
    EXPECT_EQ(state.progressWindow, nullptr);
}

TEST_F(ProgressDialog, EscapeAndTheCloseBoxDoNotEndIt) {
    lanterna::ApplicationState state;
    COperationProgressDialog dialog(WorkerMode::kPassword, state);
    dialog.SetThreadStarter([](std::function<void()>) { return std::thread([] {}); });
    bool runningAfterKeys = false;
    bool cancelHidden = false;
    const int code = ui::test::RunModal(dialog, [&](ui::CDialog& d) {
        PressKey(d, Qt::Key_Escape);
        d.close();
        ASSERT_TRUE(uitest::HandlePostedEvents());
        runningAfterKeys = d.IsRunning();
        cancelHidden = !d.IsDlgItemVisible(2) && !d.IsDlgItemEnabled(2);
        state.Post(lanterna::kMessagePasswordResult, 1);
    });
    EXPECT_EQ(code, 1);
    EXPECT_TRUE(runningAfterKeys);
    EXPECT_TRUE(cancelHidden);
}

}  // namespace
}  // namespace dialogtest
