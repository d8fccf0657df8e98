#pragma once
// COtherSubnetsDialog (template 420): edits the other subnets every refresh greets, the
// addresses and ranges kept in the hive (settings/OtherSubnets.h). OK takes the entries in the
// forms of lanternactl's targets; the first one that is no address or range, or that takes the
// addresses beyond what a refresh greets, is refused naming it, and the dialog stays open with
// nothing stored. Ends with 1 once stored; Cancel stores nothing.

#include "platform/RegistryKey.h"
#include "skin/SkinDialog.h"

namespace lanterna::dialogs {

class COtherSubnetsDialog : public skin::CSkinDialog {
  public:
    static constexpr int kEntriesEdit = 1421;

    explicit COtherSubnetsDialog(HiveFile hive, QWidget* owner = nullptr);

  protected:
    bool OnInitDialog() override;
    void OnOK() override;

  private:
    // Shows string `stringId` filled with `values` and puts the focus back on the entries.
    void Refuse(int stringId, std::initializer_list<std::string_view> values);

    HiveFile hive_;
};

}  // namespace lanterna::dialogs
