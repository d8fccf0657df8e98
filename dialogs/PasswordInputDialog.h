#pragma once
// CPasswordInputDialog (template 135): asks for the password of a projector that needs one,
// naming the projector (name and address) in its text. OK with a text of at most 14 bytes
// keeps it (the empty text included), stores it in the record's `password` when there is a
// record, and ends with 1; a longer text, which typing cannot produce, shows string 125 and
// leaves the dialog open. Cancel changes nothing.
//
// For a job on a selection it also offers "The same password for all selected"; where a
// keyring is at hand, "Remember in the keyring". Both are unchecked at first.

#include <string>

#include "dialogs/SessionPasswords.h"
#include "record/ProjectorRecord.h"
#include "skin/SkinDialog.h"

namespace lanterna::dialogs {

class CPasswordInputDialog : public skin::CSkinDialog {
  public:
    static constexpr int kTextLabel = 1001;
    static constexpr int kPasswordEdit = 1072;
    static constexpr int kSameForAllCheck = 1076;
    static constexpr int kKeyringCheck = 1077;

    // `record` is the selected projector's record, null when none is selected (OK then stores
    // nothing). It must outlive the dialog's run.
    explicit CPasswordInputDialog(ProjectorRecord* record, QWidget* owner = nullptr);
    // A prompt for the projector `prompt` names, offering what it offers; OK fills in the
    // answers. `prompt` must outlive the dialog's run.
    explicit CPasswordInputDialog(PasswordPrompt& prompt, QWidget* owner = nullptr);

  protected:
    bool OnInitDialog() override;
    void OnOK() override;

  private:
    ProjectorRecord* record_ = nullptr;
    PasswordPrompt* prompt_ = nullptr;
};

}  // namespace lanterna::dialogs
