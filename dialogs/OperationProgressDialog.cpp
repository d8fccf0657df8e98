#include "dialogs/OperationProgressDialog.h"

#include <system_error>

#include "dialogs/DialogIds.h"
#include "resources/StringIds.h"
#include "resources/StringTable.h"
#include "ui/Controls.h"
#include "ui/MessageBox.h"
#include "workers/OutcomeText.h"

namespace lanterna::dialogs {
namespace {

constexpr int kProgressRange = 100;

std::thread StartThread(std::function<void()> work) {
    return std::thread(std::move(work));
}

}  // namespace

COperationProgressDialog::COperationProgressDialog(WorkerMode mode, ApplicationState& state,
                                                   QWidget* owner)
    : skin::CSkinDialog(kProgressTemplate, owner),
      mode_(mode),
      state_(state),
      starter_(StartThread) {
    OnMessage(kMessageProbeResult, [this](ui::WParam w, ui::LParam) { OnProbeResult(w); });
    OnMessage(kMessageReadResult, [this](ui::WParam w, ui::LParam) { OnReadResult(w); });
    OnMessage(kMessageProgress, [this](ui::WParam w, ui::LParam) { OnProgress(w); });
    OnMessage(kMessageWriteResult, [this](ui::WParam w, ui::LParam) { OnWriteResult(w); });
    OnMessage(kMessagePasswordResult, [this](ui::WParam w, ui::LParam) { OnPasswordResult(w); });
}

COperationProgressDialog::~COperationProgressDialog() {
    JoinWorker();
    if (state_.progressWindow == &target_) {
        state_.progressWindow = nullptr;
    }
}

int COperationProgressDialog::OperationTextId(WorkerMode mode, int passwordEntered) {
    switch (mode) {
        case WorkerMode::kRead:
            return passwordEntered != 0 ? kStringAuthenticating : kStringConnecting;
        case WorkerMode::kWrite:
            return kStringWriting;
        case WorkerMode::kPassword:
            return kStringChangingPassword;
        case WorkerMode::kProbe:
            return kStringConnecting;
    }
    return kStringConnecting;
}

bool COperationProgressDialog::OnInitDialog() {
    if (ui::CProgressBar* bar = ProgressBar(kProgressBar); bar != nullptr) {
        bar->setRange(0, kProgressRange);
        bar->setValue(0);
    }
    target_ = Target();
    SetDlgItemText(kTextLabel, LoadString(OperationTextId(mode_, passwordEntered)));
    JoinWorker();  // a dialog object may be run again
    if (!target_.IsOpen()) {
        return false;  // created only to be drawn: no run would hear the worker
    }
    state_.progressWindow = &target_;
    try {
        worker_ = starter_([this] { RunWorker(mode_, state_); });
    } catch (const std::system_error&) {
        state_.progressWindow = nullptr;
        // No result message will come: say so and end, rather than wait for ever.
        ui::ShowStringMessage(this, kStringCannotContinue, ui::MB_ICONEXCLAMATION);
        EndDialog(ui::IDCANCEL);
    }
    return false;
}

void COperationProgressDialog::OnProgress(ui::WParam step) {
    if (ui::CProgressBar* bar = ProgressBar(kProgressBar); bar != nullptr) {
        bar->SetStep(static_cast<int>(step));
        bar->StepIt();
    }
}

void COperationProgressDialog::OnProbeResult(ui::WParam result) {
    const int code = static_cast<int>(result);
    if (result == -1) {
        EndAfterWorker(code, kStringConnectFailed, ui::MB_ICONEXCLAMATION);
    } else if (result == 0) {
        EndAfterWorker(code, kStringOtherLinkOpen, ui::MB_ICONEXCLAMATION);
    } else {
        EndAfterWorker(code);
    }
}

void COperationProgressDialog::OnReadResult(ui::WParam result) {
    workerResult_ = static_cast<int>(result);
    switch (result) {
        case 1:
            EndAfterWorker(ui::IDOK);
            return;
        case 0:
            EndAfterWorker(ui::IDCANCEL, kStringAuthenticationFailed, ui::MB_ICONEXCLAMATION);
            return;
        case -2:
            EndAfterWorker(ui::IDCANCEL, kStringConnectFailed, ui::MB_ICONEXCLAMATION);
            return;
        case -3:
            EndAfterWorker(ui::IDCANCEL, kStringProjectorNotSupported, ui::MB_ICONEXCLAMATION);
            return;
        case kReadLinkLost:
            EndAfterWorkerWith(ui::IDCANCEL, kStringReadLinkLost, [this] {
                return ReadLinkLostText(state_.readProgress, UserLanguage());
            });
            return;
        default:
            EndAfterWorker(ui::IDCANCEL, kStringCannotContinue, ui::MB_ICONEXCLAMATION);
            return;
    }
}

void COperationProgressDialog::OnWriteResult(ui::WParam result) {
    if (result == 0) {
        EndAfterWorker(ui::IDCANCEL, kStringWriteFailed, ui::MB_ICONEXCLAMATION);
    } else if (result == kWriteLinkLost) {
        EndAfterWorkerWith(ui::IDCANCEL, kStringWriteLinkLost, [this] {
            return WriteLinkLostText(state_.writeProgress, UserLanguage());
        });
    } else if (result == kWriteUnreadSetting) {
        EndAfterWorkerWith(ui::IDCANCEL, kStringUnreadSetting, [this] {
            return UnreadSettingText(state_.writeProgress.unreadSetting, UserLanguage());
        });
    } else if (result == -1) {
        EndAfterWorker(ui::IDOK, kStringWriteFailed, ui::MB_ICONEXCLAMATION);
    } else {
        EndAfterWorker(ui::IDOK, kStringWriteDone, ui::MB_ICONINFORMATION);
    }
}

void COperationProgressDialog::OnPasswordResult(ui::WParam result) {
    workerResult_ = static_cast<int>(result);
    EndAfterWorker(result == 1 ? ui::IDOK : ui::IDCANCEL);
}

// The result is a worker's last message: once it is here the worker is ending, and the opener
// may use the state as soon as the dialog has ended.
void COperationProgressDialog::EndAfterWorker(int code, int stringId, unsigned flags) {
    JoinWorker();
    state_.progressWindow = nullptr;
    if (stringId != 0) {
        ui::ShowStringMessage(this, stringId, flags);
    }
    EndDialog(code);
}

// The text is made once the worker has ended: it tells what the worker filled in.
void COperationProgressDialog::EndAfterWorkerWith(int code, int stringId,
                                                  const std::function<std::string()>& text) {
    JoinWorker();
    state_.progressWindow = nullptr;
    ui::ShowStringMessageWithText(this, stringId, text(), ui::MB_ICONEXCLAMATION);
    EndDialog(code);
}

void COperationProgressDialog::JoinWorker() {
    if (worker_.joinable()) {
        worker_.join();
    }
}

}  // namespace lanterna::dialogs
