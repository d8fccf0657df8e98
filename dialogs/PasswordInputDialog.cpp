#include "dialogs/PasswordInputDialog.h"

#include "dialogs/DialogIds.h"
#include "dialogs/FleetWording.h"
#include "dialogs/PasswordRules.h"
#include "platform/FixedText.h"
#include "resources/StringIds.h"
#include "ui/DialogCodes.h"
#include "ui/MessageBox.h"

namespace lanterna::dialogs {

CPasswordInputDialog::CPasswordInputDialog(ProjectorRecord* record, QWidget* owner)
    : skin::CSkinDialog(kPasswordInputTemplate, owner), record_(record) {}

CPasswordInputDialog::CPasswordInputDialog(PasswordPrompt& prompt, QWidget* owner)
    : skin::CSkinDialog(kPasswordInputTemplate, owner), prompt_(&prompt) {}

bool CPasswordInputDialog::OnInitDialog() {
    SetTextLimit(kPasswordEdit, kPasswordLimit);
    if (prompt_ != nullptr) {
        if (!prompt_->projector.empty()) {
            SetDlgItemText(kTextLabel, Words(kStringPasswordOfProjector, {prompt_->projector}));
        }
        ShowDlgItem(kSameForAllCheck, prompt_->offerSameForAll);
        ShowDlgItem(kKeyringCheck, prompt_->offerKeyring);
    }
    if (QWidget* owner = Owner(); owner != nullptr) {
        owner->activateWindow();
    }
    raise();
    activateWindow();
    GotoDlgCtrl(kPasswordEdit);
    return false;
}

void CPasswordInputDialog::OnOK() {
    const std::string password = GetDlgItemText(kPasswordEdit);
    if (!FitsPassword(password)) {
        ui::ShowStringMessage(this, kStringPasswordWrong, ui::MB_ICONEXCLAMATION);
        GotoDlgCtrl(kPasswordEdit);
        return;
    }
    if (record_ != nullptr) {
        CopyText(record_->password, password);
    }
    if (prompt_ != nullptr) {
        prompt_->password = password;
        prompt_->sameForAll = prompt_->offerSameForAll && IsDlgButtonChecked(kSameForAllCheck) != 0;
        prompt_->keep = prompt_->offerKeyring && IsDlgButtonChecked(kKeyringCheck) != 0;
    }
    EndDialog(ui::IDOK);
}

}  // namespace lanterna::dialogs
