#pragma once
// CFleetProgressDialog (template 160): stands in front of the user while a job on many
// projectors runs on the fleet engine. The job runs on a thread of its own, so the window stays
// responsive (the list repaints, the bar moves); each projector that finishes is posted back and
// gets a line (projector, outcome) as it finishes, and the bar and the count follow. Cancel
// stops the starting of new projectors: those under way finish (a projector is never left in
// the middle of a write), then the dialog ends. It ends by itself once the job has returned:
// IDOK, or IDCANCEL when it was cancelled.
//
// The job is given the bounds to run with (at most kDefaultJobs at once, as lanternactl runs,
// the cancellation flag, the failures after which nothing new starts) and a function that tells
// the dialog of a finished projector; it may call that from any thread. The line of a finished
// projector is worded on the thread that tells of it, while its result is still as it finished:
// a later step of the job (the read-back) may change it while the line is on its way.

#include <atomic>
#include <cstddef>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "fleet/JobRunner.h"
#include "skin/SkinDialog.h"

namespace lanterna::dialogs {

struct FleetJobHooks {
    fleet::RunBounds bounds;
    // Tells the dialog that projector `index` has finished.
    std::function<void(std::size_t index)> told;
};

class CFleetProgressDialog : public skin::CSkinDialog {
  public:
    static constexpr int kTextLabel = 1001;
    static constexpr int kCountLabel = 1002;
    static constexpr int kProgressBar = 1071;
    static constexpr int kLinesTable = 1080;
    static constexpr unsigned kTargetFinishedMessage = ui::WM_USER + 0x160;
    static constexpr unsigned kJobEndedMessage = ui::WM_USER + 0x161;

    using Job = std::function<void(const FleetJobHooks& hooks)>;
    // The cells of the line of projector `index` (projector, outcome), once it has finished;
    // called on the job's threads.
    using LineOf = std::function<std::vector<std::string>(std::size_t index)>;

    // `textId`: what is being done; `count` projectors in all.
    CFleetProgressDialog(int textId, std::size_t count, Job job, LineOf lineOf,
                         QWidget* owner = nullptr);
    ~CFleetProgressDialog() override;

    // No new projector starts once this many have failed (0: no bound).
    void SetMaxFailures(std::size_t failures) { maxFailures_ = failures; }
    bool Cancelled() const { return cancel_.load(); }
    std::size_t Finished() const { return finished_; }

  protected:
    bool OnInitDialog() override;
    void OnCancel() override;

  private:
    void OnTargetFinished(std::size_t index);
    void OnJobEnded();
    void ShowCount();

    int textId_;
    std::size_t count_;
    Job job_;
    LineOf lineOf_;
    std::size_t maxFailures_ = 0;
    std::size_t finished_ = 0;
    std::atomic<bool> cancel_{false};
    std::mutex linesMutex_;
    std::map<std::size_t, std::vector<std::string>> lines_;  // worded, not yet shown
    std::thread worker_;
};

}  // namespace lanterna::dialogs
