#pragma once
// CPasswordChangeDialog (template 138): changes the selected projector's password. OK checks,
// in this order, and stops at the first failure with its message and focus (the dialog stays
// open): current password of 15 bytes or more (string 126, focus 1072); new password (125,
// 1073); re-entered password (125, 1074); new and re-entered differ, byte by byte (127, 1073).
// Then the passwords go to the state's `currentPassword` and `newPassword` and the password
// worker runs behind the progress dialog: success ends with 1; anything else shows string 128
// and leaves the dialog open with its entries. Cancel changes nothing.

#include "skin/SkinDialog.h"
#include "state/ApplicationState.h"

namespace lanterna::dialogs {

class CPasswordChangeDialog : public skin::CSkinDialog {
  public:
    static constexpr int kCurrentEdit = 1072;
    static constexpr int kNewEdit = 1073;
    static constexpr int kRepeatEdit = 1074;

    explicit CPasswordChangeDialog(ApplicationState& state, QWidget* owner = nullptr);

  protected:
    bool OnInitDialog() override;
    void OnOK() override;

  private:
    bool CheckEntries();

    ApplicationState& state_;
};

}  // namespace lanterna::dialogs
