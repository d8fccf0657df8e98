#include "dialogs/AboutDialog.h"

#include "dialogs/DialogIds.h"

namespace lanterna::dialogs {

CAboutDialog::CAboutDialog(QWidget* owner) : skin::CSkinDialog(kAboutTemplate, owner) {}

}  // namespace lanterna::dialogs
