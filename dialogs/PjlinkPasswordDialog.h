#pragma once
// CPjlinkPasswordDialog (template 165): asks for the PJLink password of a projector that
// answered PJLink with authentication while the session knew none for it, naming the projector
// in its text. Among several, it offers "The same password for all selected". OK with a text
// of at most 32 bytes (the standard's limit) fills in the prompt and ends with IDOK; Cancel
// changes nothing.

#include "dialogs/SessionPasswords.h"
#include "skin/SkinDialog.h"

namespace lanterna::dialogs {

class CPjlinkPasswordDialog : public skin::CSkinDialog {
  public:
    static constexpr int kTextLabel = 1001;
    static constexpr int kPasswordEdit = 1072;
    static constexpr int kSameForAllCheck = 1076;

    // `prompt` must outlive the dialog's run.
    explicit CPjlinkPasswordDialog(PasswordPrompt& prompt, QWidget* owner = nullptr);

  protected:
    bool OnInitDialog() override;
    void OnOK() override;

  private:
    PasswordPrompt& prompt_;
};

}  // namespace lanterna::dialogs
