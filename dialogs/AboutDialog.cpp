#include "dialogs/AboutDialog.h"

#include "dialogs/DialogIds.h"

namespace lanterna::dialogs {

CAboutDialog::CAboutDialog(QWidget* owner) : ui::CDialog(kAboutTemplate, owner) {}

}  // namespace lanterna::dialogs
