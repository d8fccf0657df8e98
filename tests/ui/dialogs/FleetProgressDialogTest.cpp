// CFleetProgressDialog over the engine's own runner, one projector at a time: a line for each as
// it finishes; Cancel between two starts no more, and no more start once the failures reach the
// bound.
#include <future>

#include "DialogTestSupport.h"
#include "dialogs/FleetProgressDialog.h"
#include "resources/StringIds.h"
#include "ui/DialogCodes.h"
#include "ui/TableView.h"

namespace dialogtest {
namespace {

using lanterna::dialogs::CFleetProgressDialog;
using lanterna::dialogs::FleetJobHooks;

// A job of `count` projectors, one after the other, each done by `work`.
CFleetProgressDialog::Job OneAtATime(std::size_t count, std::function<bool(std::size_t)> work) {
    return [count, work = std::move(work)](const FleetJobHooks& hooks) {
        lanterna::fleet::RunBounds bounds = hooks.bounds;
        bounds.jobs = 1;
        lanterna::fleet::RunJobs(count, bounds, work,
                                 [&hooks](std::size_t item, std::size_t) { hooks.told(item); });
    };
}

std::vector<std::string> LineOf(std::size_t index) {
    return {"ROOM-20" + std::to_string(index + 1), "done"};
}

std::vector<std::vector<std::string>> Lines(CFleetProgressDialog& dialog) {
    return dialog.GetDlgItemAs<ui::CTableView>(CFleetProgressDialog::kLinesTable)->Rows();
}

TEST_F(DialogTest, FleetProgressCancelledBetweenProjectorsStartsNoMore) {
    std::atomic<std::size_t> started{0};
    std::promise<void> cancelled;
    std::shared_future<void> released = cancelled.get_future().share();
    const auto work = [&](std::size_t) {
        ++started;
        released.wait();
        return true;
    };
    CFleetProgressDialog dialog(lanterna::kStringSavingSettingsFiles, 3, OneAtATime(3, work),
                                LineOf);
    bool began = false;
    bool cancelEnabled = true;
    const int code = ui::test::RunModal(dialog, [&](ui::CDialog& d) {
        began = ui::test::PumpUntil([&] { return started == 1; });
        d.ClickButton(ui::IDCANCEL);
        cancelEnabled = d.IsDlgItemEnabled(ui::IDCANCEL);
        cancelled.set_value();
    });
    EXPECT_TRUE(began);
    EXPECT_EQ(code, ui::IDCANCEL);
    EXPECT_FALSE(cancelEnabled);
    EXPECT_EQ(started.load(), 1U);
    EXPECT_EQ(Lines(dialog), (std::vector<std::vector<std::string>>{{"ROOM-201", "done"}}));
}

TEST_F(DialogTest, FleetProgressStartsNoMoreOnceTheFailuresReachTheBound) {
    std::atomic<std::size_t> started{0};
    const auto work = [&](std::size_t item) {
        ++started;
        return item >= 2;  // the first two fail
    };
    CFleetProgressDialog dialog(lanterna::kStringSavingSettingsFiles, 5, OneAtATime(5, work),
                                LineOf);
    dialog.SetMaxFailures(2);
    EXPECT_EQ(ui::test::RunModal(dialog, [](ui::CDialog&) {}), ui::IDOK);
    EXPECT_EQ(started.load(), 2U);
    EXPECT_EQ(Lines(dialog).size(), 2U);
}

}  // namespace
}  // namespace dialogtest
