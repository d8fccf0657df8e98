#include "dialogs/HelpDialog.h"

#include "dialogs/DialogIds.h"
#include "resources/StringTable.h"

namespace lanterna::dialogs {

CHelpDialog::CHelpDialog(QWidget* owner) : skin::CSkinDialog(kHelpTemplate, owner) {}

bool CHelpDialog::OnInitDialog() {
    SetDlgItemText(kPageText, LoadString(kStringHelpPage));
    return true;
}

}  // namespace lanterna::dialogs
