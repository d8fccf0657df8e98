#pragma once
// COperationProgressDialog (template 133): stands in front of the user while one link worker
// runs. It starts the worker of its mode on a thread of its own, adds up the worker's progress
// steps on the bar, and ends on the worker's result message, showing the message that result
// calls for (owned by this dialog) first:
//
//   probe (0x525)    -1: string 121, 0: string 122 (warning); ends with the result itself.
//   read (0x526)     1: ends with 1. 0: 131, -2: 121, -3: 153, -4 (link lost): 200 naming the
//                    setting and the count read, other: 130 (warning); ends with 2.
//   write (0x528)    0: 132 (warning), ends with 2. -1: 132 (warning), ends with 1.
//                    -2 (link lost part-way): 201 listing the commands (warning), ends with 2.
//                    -3 (an unread setting): 202 naming it (warning), ends with 2.
//                    other: 133 (information), ends with 1.
//   password (0x529) ends with 1 for 1, else 2; no message.
//
// The user cannot end it: the cancel button stays hidden and disabled, Escape and the close box
// do nothing. When the worker's thread cannot be started, string 130 is shown and the dialog
// ends with 2.
//
// While it runs the dialog is the state's progress window; the state's link, selected record
// and hand-over fields belong to the worker until the dialog has ended.

#include <functional>
#include <string>
#include <thread>

#include "skin/SkinDialog.h"
#include "state/ApplicationState.h"
#include "ui/MessageTarget.h"
#include "workers/Workers.h"

namespace lanterna::dialogs {

class COperationProgressDialog : public skin::CSkinDialog {
  public:
    static constexpr int kTextLabel = 1001;
    static constexpr int kProgressBar = 1071;

    // Starts a worker on a thread. Tests replace it to fail the start.
    using ThreadStarter = std::function<std::thread(std::function<void()> work)>;

    COperationProgressDialog(WorkerMode mode, ApplicationState& state, QWidget* owner = nullptr);
    ~COperationProgressDialog() override;

    // For a read: 1 when the user has just entered a password (text 146), else 0 (text 145).
    int passwordEntered = 1;

    WorkerMode Mode() const { return mode_; }
    // The text shown for `mode`.
    static int OperationTextId(WorkerMode mode, int passwordEntered);

    void SetThreadStarter(ThreadStarter starter) { starter_ = std::move(starter); }

    // The result the read worker reported (its message's wParam); kNoWorkerResult before it has.
    static constexpr int kNoWorkerResult = -1000;
    int WorkerResult() const { return workerResult_; }

  protected:
    bool OnInitDialog() override;
    void OnCancel() override {}

  private:
    void OnProbeResult(ui::WParam result);
    void OnReadResult(ui::WParam result);
    void OnWriteResult(ui::WParam result);
    void OnPasswordResult(ui::WParam result);
    void OnProgress(ui::WParam step);
    void EndAfterWorker(int code, int stringId = 0, unsigned flags = 0);
    // Ends with a warning of string `stringId` with its details filled in by `text`.
    void EndAfterWorkerWith(int code, int stringId, const std::function<std::string()>& text);
    void JoinWorker();

    WorkerMode mode_;
    ApplicationState& state_;
    ui::MessageTarget target_;
    std::thread worker_;
    ThreadStarter starter_;
    int workerResult_ = kNoWorkerResult;
};

}  // namespace lanterna::dialogs
