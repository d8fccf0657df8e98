#include "dialogs/FleetPasswordDialog.h"

#include "dialogs/ApplyPreviewDialog.h"
#include "dialogs/DialogIds.h"
#include "dialogs/FleetWording.h"
#include "dialogs/PasswordRules.h"
#include "resources/StringIds.h"
#include "ui/MessageBox.h"

namespace lanterna::dialogs {

CFleetPasswordDialog::CFleetPasswordDialog(std::size_t selected, bool offerKeyring,
                                           QWidget* owner)
    : skin::CSkinDialog(kFleetPasswordTemplate, owner),
      selected_(selected),
      offerKeyring_(offerKeyring) {}

bool CFleetPasswordDialog::OnInitDialog() {
    SetDlgItemText(kIntroLabel, CountWords(selected_, kStringPasswordsOfSelectionOne,
                                           kStringPasswordsOfSelection));
    SetTextLimit(kNewEdit, kPasswordLimit);
    SetTextLimit(kRepeatEdit, kPasswordLimit);
    SetTextLimit(kFailuresEdit, 3);
    SetDlgItemText(kFailuresEdit, std::to_string(CApplyPreviewDialog::kDefaultStopAfter));
    ShowDlgItem(kKeyringCheck, offerKeyring_);
    GotoDlgCtrl(kNewEdit);
    return false;
}

void CFleetPasswordDialog::OnOK() {
    const std::string fresh = GetDlgItemText(kNewEdit);
    const std::string repeated = GetDlgItemText(kRepeatEdit);
    int problem = 0;
    int focus = kNewEdit;
    if (!FitsPassword(fresh)) {
        problem = kStringPasswordWrong;
    } else if (!FitsPassword(repeated)) {
        problem = kStringPasswordWrong;
        focus = kRepeatEdit;
    } else if (fresh != repeated) {
        problem = kStringPasswordsDiffer;
    }
    if (problem != 0) {
        ui::ShowStringMessage(this, problem, ui::MB_ICONEXCLAMATION);
        GotoDlgCtrl(focus);
        return;
    }
    fresh_ = fresh;
    stopAfter_ = FailuresOf(GetDlgItemText(kFailuresEdit));
    keep_ = offerKeyring_ && IsDlgButtonChecked(kKeyringCheck) != 0;
    EndDialog(ui::IDOK);
}

}  // namespace lanterna::dialogs
