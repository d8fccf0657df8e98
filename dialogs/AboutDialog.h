#pragma once
// CAboutDialog (template 100): the program icon, its name and version, and OK.

#include "skin/SkinDialog.h"

namespace lanterna::dialogs {

class CAboutDialog : public skin::CSkinDialog {
  public:
    explicit CAboutDialog(QWidget* owner = nullptr);
};

}  // namespace lanterna::dialogs
