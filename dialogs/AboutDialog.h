#pragma once
// CAboutDialog (template 100): the program icon, its name and version, and OK.

#include "ui/Dialog.h"

namespace lanterna::dialogs {

class CAboutDialog : public ui::CDialog {
  public:
    explicit CAboutDialog(QWidget* owner = nullptr);
};

}  // namespace lanterna::dialogs
