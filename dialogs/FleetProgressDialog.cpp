#include "dialogs/FleetProgressDialog.h"

#include "dialogs/DialogIds.h"
#include "dialogs/FleetWording.h"
#include "resources/StringIds.h"
#include "ui/Controls.h"
#include "ui/TableView.h"

namespace lanterna::dialogs {

CFleetProgressDialog::CFleetProgressDialog(int textId, std::size_t count, Job job, LineOf lineOf,
                                           QWidget* owner)
    : skin::CSkinDialog(kFleetProgressTemplate, owner),
      textId_(textId),
      count_(count),
      job_(std::move(job)),
      lineOf_(std::move(lineOf)) {
    OnMessage(kTargetFinishedMessage, [this](ui::WParam index, ui::LParam) {
        OnTargetFinished(static_cast<std::size_t>(index));
    });
    OnMessage(kJobEndedMessage, [this](ui::WParam, ui::LParam) { OnJobEnded(); });
}

CFleetProgressDialog::~CFleetProgressDialog() {
    cancel_ = true;
    if (worker_.joinable()) {
        worker_.join();
    }
}

bool CFleetProgressDialog::OnInitDialog() {
    SetDlgItemText(kTextLabel, Words(textId_));
    if (auto* table = GetDlgItemAs<ui::CTableView>(kLinesTable)) {
        table->SetColumns({Words(kStringColumnProjector), Words(kStringColumnOutcome)});
        table->SetFollowsNewRows(true);
    }
    if (ui::CProgressBar* bar = ProgressBar(kProgressBar)) {
        bar->setRange(0, static_cast<int>(count_));
        bar->setValue(0);
    }
    finished_ = 0;
    cancel_ = false;
    ShowCount();
    const ui::MessageTarget target = Target();
    if (!target.IsOpen()) {
        return false;  // created only to be drawn
    }
    FleetJobHooks hooks;
    hooks.bounds.cancel = &cancel_;
    hooks.bounds.maxFailures = maxFailures_;
    hooks.told = [this, target](std::size_t index) {
        std::vector<std::string> line = lineOf_ ? lineOf_(index) : std::vector<std::string>{};
        {
            const std::lock_guard lock(linesMutex_);
            lines_[index] = std::move(line);
        }
        target.Post(kTargetFinishedMessage, static_cast<ui::WParam>(index));
    };
    worker_ = std::thread([this, hooks, target] {
        job_(hooks);
        target.Post(kJobEndedMessage);
    });
    return false;
}

// Cancel, Escape and the close box: nothing new starts; the dialog ends once the projectors
// under way have finished.
void CFleetProgressDialog::OnCancel() {
    if (cancel_.exchange(true)) {
        return;
    }
    SetDlgItemText(kTextLabel, Words(kStringStopping));
    EnableDlgItem(ui::IDCANCEL, false);
}

void CFleetProgressDialog::OnTargetFinished(std::size_t index) {
    ++finished_;
    std::vector<std::string> line;
    {
        const std::lock_guard lock(linesMutex_);
        line = std::move(lines_[index]);
        lines_.erase(index);
    }
    if (auto* table = GetDlgItemAs<ui::CTableView>(kLinesTable)) {
        table->AddRow(line);
    }
    if (ui::CProgressBar* bar = ProgressBar(kProgressBar)) {
        bar->setValue(static_cast<int>(finished_));
    }
    ShowCount();
}

void CFleetProgressDialog::ShowCount() {
    SetDlgItemText(kCountLabel,
                   Words(kStringProgressDone, {std::to_string(finished_), std::to_string(count_)}));
}

void CFleetProgressDialog::OnJobEnded() {
    if (worker_.joinable()) {
        worker_.join();
    }
    EndDialog(cancel_ ? ui::IDCANCEL : ui::IDOK);
}

}  // namespace lanterna::dialogs
