#pragma once
// CWirelessDialog (template 132): the wireless LAN settings of a projector with a basic
// wireless module: ESSID, WEP on or off with one key, ad hoc mode. It edits the record in place;
// its opener fills the reference values before the run.
//
// - A stored key is never shown: the key box shows "**********" instead, which, left untouched,
//   stands for the stored key (`keyTouched` 0 until the box's text changes).
// - OK checks the ESSID (150) and, with WEP on, a key typed into the box (151), and stores each
//   accepted entry at once by the state rule (settings/WirelessEntries.h).
// - Cancel puts back the values the record held when the dialog opened (state words stay).

#include "record/ProjectorRecord.h"
#include "settings/WirelessEntries.h"
#include "skin/SkinDialog.h"

namespace lanterna::dialogs {

class CWirelessDialog : public skin::CSkinDialog {
  public:
    static constexpr int kEssidEdit = 1043;
    static constexpr int kWepOn = 1075;
    static constexpr int kWepOff = 1076;
    static constexpr int kWepKeyEdit = 1079;
    static constexpr int kAdhocOn = 1077;
    static constexpr int kAdhocOff = 1078;
    static constexpr int kEssidLimit = 32;
    static constexpr int kWepKeyLimit = 26;

    // `record` may be null: the dialog then shows nothing and stores nothing.
    explicit CWirelessDialog(ProjectorRecord* record, QWidget* owner = nullptr);

    // Takes the reference values from `reference` (the network dialog's backup record).
    void SetReference(const ProjectorRecord& reference) {
        this->reference = WirelessSettingsOf(reference);
    }

    WirelessSettings reference;
    // 0 while the key box shows the mask for the stored key untouched.
    int keyTouched = 1;

  protected:
    bool OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;

  private:
    WirelessEntries ReadEntries() const;

    ProjectorRecord* record_;
    WirelessSettings atOpen_;
};

}  // namespace lanterna::dialogs
