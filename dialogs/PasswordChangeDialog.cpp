#include "dialogs/PasswordChangeDialog.h"

#include "dialogs/DialogIds.h"
#include "dialogs/FleetWording.h"
#include "dialogs/OperationProgressDialog.h"
#include "dialogs/PasswordRules.h"
#include "platform/FixedText.h"
#include "resources/ReplyStringIds.h"
#include "resources/StringIds.h"
#include "ui/MessageBox.h"
#include "workers/PasswordResults.h"

namespace lanterna::dialogs {

CPasswordChangeDialog::CPasswordChangeDialog(ApplicationState& state, QWidget* owner)
    : skin::CSkinDialog(kPasswordChangeTemplate, owner), state_(state) {}

bool CPasswordChangeDialog::OnInitDialog() {
    for (const int edit : {kCurrentEdit, kNewEdit, kRepeatEdit}) {
        SetTextLimit(edit, kPasswordLimit);
    }
    return true;
}

bool CPasswordChangeDialog::CheckEntries() {
    struct Check {
        bool failed;
        int stringId;
        int focus;
    };
    const std::string current = GetDlgItemText(kCurrentEdit);
    const std::string fresh = GetDlgItemText(kNewEdit);
    const std::string repeated = GetDlgItemText(kRepeatEdit);
    const Check checks[] = {
        {!FitsPassword(current), kStringOldPasswordWrong, kCurrentEdit},
        {!FitsPassword(fresh), kStringPasswordWrong, kNewEdit},
        {!FitsPassword(repeated), kStringPasswordWrong, kRepeatEdit},
        {fresh != repeated, kStringPasswordsDiffer, kNewEdit},
    };
    for (const Check& check : checks) {
        if (check.failed) {
            ui::ShowStringMessage(this, check.stringId, ui::MB_ICONEXCLAMATION);
            GotoDlgCtrl(check.focus);
            return false;
        }
    }
    CopyText(state_.currentPassword, current, kPasswordLimit);
    CopyText(state_.newPassword, fresh, kPasswordLimit);
    return true;
}

void CPasswordChangeDialog::OnOK() {
    if (!CheckEntries()) {
        return;
    }
    COperationProgressDialog progress(WorkerMode::kPassword, state_, this);
    if (progress.DoModal() == ui::IDOK) {
        EndDialog(ui::IDOK);
        return;
    }
    if (const int status = DeclinedStatusOf(progress.WorkerResult()); status >= 0) {
        ui::ShowStringMessageWithText(
            this, kStringPasswordChangeDeclined,
            Words(kStringPasswordChangeDeclined, {StatusByteText(status)}), ui::MB_ICONEXCLAMATION);
        return;
    }
    ui::ShowStringMessage(this, kStringPasswordChangeFailed, ui::MB_ICONEXCLAMATION);
}

}  // namespace lanterna::dialogs
