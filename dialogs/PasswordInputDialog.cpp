#include "dialogs/PasswordInputDialog.h"

#include "dialogs/DialogIds.h"
#include "dialogs/PasswordRules.h"
#include "platform/FixedText.h"
#include "resources/StringIds.h"
#include "ui/DialogCodes.h"
#include "ui/MessageBox.h"

namespace lanterna::dialogs {

CPasswordInputDialog::CPasswordInputDialog(ProjectorRecord* record, QWidget* owner)
    : skin::CSkinDialog(kPasswordInputTemplate, owner), record_(record) {}

bool CPasswordInputDialog::OnInitDialog() {
    SetTextLimit(kPasswordEdit, kPasswordLimit);
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
    EndDialog(ui::IDOK);
}

}  // namespace lanterna::dialogs
