#pragma once
// CHelpDialog (template 148): the page of the main tasks (string 416) in the user's language,
// and OK.

#include "skin/SkinDialog.h"

namespace lanterna::dialogs {

class CHelpDialog : public skin::CSkinDialog {
  public:
    static constexpr int kPageText = 1001;

    explicit CHelpDialog(QWidget* owner = nullptr);

  protected:
    bool OnInitDialog() override;
};

}  // namespace lanterna::dialogs
