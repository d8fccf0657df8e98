#include "dialogs/PjlinkPasswordDialog.h"

#include "dialogs/DialogIds.h"
#include "dialogs/FleetWording.h"
#include "pjlink/Protocol.h"
#include "resources/StringIds.h"
#include "ui/DialogCodes.h"

namespace lanterna::dialogs {

CPjlinkPasswordDialog::CPjlinkPasswordDialog(PasswordPrompt& prompt, QWidget* owner)
    : skin::CSkinDialog(kPjlinkPasswordTemplate, owner), prompt_(prompt) {}

bool CPjlinkPasswordDialog::OnInitDialog() {
    SetTextLimit(kPasswordEdit, static_cast<int>(pjlink::kMaxPasswordBytes));
    if (!prompt_.projector.empty()) {
        SetDlgItemText(kTextLabel, Words(kStringPjlinkPasswordOf, {prompt_.projector}));
    }
    ShowDlgItem(kSameForAllCheck, prompt_.offerSameForAll);
    raise();
    activateWindow();
    GotoDlgCtrl(kPasswordEdit);
    return false;
}

void CPjlinkPasswordDialog::OnOK() {
    const std::string password = GetDlgItemText(kPasswordEdit);
    if (password.size() > pjlink::kMaxPasswordBytes) {
        GotoDlgCtrl(kPasswordEdit);
        return;
    }
    prompt_.password = password;
    prompt_.sameForAll = prompt_.offerSameForAll && IsDlgButtonChecked(kSameForAllCheck) != 0;
    EndDialog(ui::IDOK);
}

}  // namespace lanterna::dialogs
