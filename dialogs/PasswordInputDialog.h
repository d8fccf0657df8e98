#pragma once
// CPasswordInputDialog (template 135): asks for the password of a projector that needs one.
// OK with a text of at most 14 bytes stores it (the empty text included) in the record's
// `password` and ends with 1; a longer text, which typing cannot produce, shows string 125 and
// leaves the dialog open. Cancel changes nothing.

#include "record/ProjectorRecord.h"
#include "skin/SkinDialog.h"

namespace lanterna::dialogs {

class CPasswordInputDialog : public skin::CSkinDialog {
  public:
    static constexpr int kPasswordEdit = 1072;

    // `record` is the selected projector's record, null when none is selected (OK then stores
    // nothing). It must outlive the dialog's run.
    explicit CPasswordInputDialog(ProjectorRecord* record, QWidget* owner = nullptr);

  protected:
    bool OnInitDialog() override;
    void OnOK() override;

  private:
    ProjectorRecord* record_;
};

}  // namespace lanterna::dialogs
