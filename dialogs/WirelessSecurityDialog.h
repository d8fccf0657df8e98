#pragma once
// The wireless security dialog (template 147): ESSID, a security mode (WPA-PSK, LEAP, WEP with
// a 64- or 128-bit key size and four key slots, or none) and ad hoc mode.
//
// - The mode radios and the key radios are two groups: a click on a mode radio applies the mode
//   rule, which enables the part of the security group that mode uses.
// - Ad hoc on hides and disables the mode radios, their labels and the security group; ad hoc
//   off shows them again and applies the mode rule.
// - Stored keys are never shown: a key box shows "**********" instead, which, left untouched,
//   stands for the stored key (its `keyTouched` flag 0 until the box's text changes).
// - OK checks the ESSID (150) and, with ad hoc off, what the mode needs (151 for WEP keys; the
//   file variant also 188, 189, 190); see settings/WirelessSecurityEntries.h.
//
// CWirelessSecurityDialog, the projector variant, edits a projector's record in place and stores
// each accepted entry at once by the state rule; its opener fills the reference values before
// the run. The shared key, user name and password are never sent to projectors, so their boxes
// stay disabled. Cancel puts back the values the record held when the dialog opened.
//
// CWirelessSecurityFileDialog, the configuration-file variant, edits its owner's file record,
// WPA-PSK shared key and LEAP user name and password included: nothing is stored until every
// check passed. Entering a masked shared-key box empties it, so the stored shared key survives
// only while the box is never entered. Its Cancel stores nothing.

#include <array>

#include "record/ProjectorRecord.h"
#include "settings/WirelessSecurityEntries.h"
#include "skin/SkinDialog.h"

namespace lanterna::dialogs {

class CWirelessSecurityDialog : public skin::CSkinDialog {
  public:
    static constexpr int kEssidEdit = 1043;
    static constexpr int kSecurityLabel = 1034;
    static constexpr int kWpaPskRadio = 1205;
    static constexpr int kSharedKeyLabel = 1041;
    static constexpr int kSharedKeyEdit = 1044;
    static constexpr int kLeapRadio = 1206;
    static constexpr int kUserNameLabel = 1037;
    static constexpr int kUserNameEdit = 1045;
    static constexpr int kPasswordLabel = 1038;
    static constexpr int kPasswordEdit = 1046;
    static constexpr int kWepRadio = 1207;
    static constexpr int kKeySizeList = 1209;
    static constexpr int kNoneRadio = 1208;
    static constexpr std::array<int, kWepKeySlots> kKeyRadios{1213, 1216, 1218, 1220};
    static constexpr std::array<int, kWepKeySlots> kKeyEdits{1214, 1215, 1217, 1219};
    static constexpr int kAdhocOn = 1077;
    static constexpr int kAdhocOff = 1078;

    static constexpr int kEssidLimit = 32;
    static constexpr int kSharedKeyLimit = 63;
    static constexpr int kLeapTextLimit = 64;
    static constexpr int kWepKeyLimit = 26;

    // `record` may be null: the dialog then shows nothing and stores nothing.
    explicit CWirelessSecurityDialog(ProjectorRecord* record, QWidget* owner = nullptr);

    // Takes the reference values from `reference` (the network dialog's backup record).
    void SetReference(const ProjectorRecord& reference) {
        this->reference = WirelessSecuritySettingsOf(reference);
    }

    WirelessSecuritySettings reference;
    // One per key box; 0 while it shows the mask for its stored key untouched.
    std::array<int, kWepKeySlots> keyTouched{1, 1, 1, 1};

  protected:
    bool OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;

    // Enables the part of the security group the checked mode uses.
    virtual void ApplyModeRule();
    void ApplyAdhocRule();
    void ApplyInfrastructureRule();

    // Sets the limits and shows `entries`, then applies the ad hoc or infrastructure rule.
    void ShowEntries(const WirelessSecurityEntries& entries);
    void SetLimits();
    SecurityMode CheckedMode() const;
    WirelessSecurityEntries ReadEntries() const;
    void Refuse(const EntryVerdict& verdict);
    // Enables (or disables) every control of the security group.
    void EnableSecurityGroup(bool enable);

    ProjectorRecord* record_;
    int sharedKeyTouched_ = 1;

  private:
    void OnModeClicked(int radioId);

    WirelessSecuritySettings atOpen_;
};

class CWirelessSecurityFileDialog : public CWirelessSecurityDialog {
  public:
    explicit CWirelessSecurityFileDialog(QWidget* owner = nullptr);

    // The owner's record, set before each run (the owner keeps it).
    void SetRecord(ProjectorRecord* fileRecord) { record_ = fileRecord; }

  protected:
    bool OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    void ApplyModeRule() override;

  private:
    void OnSharedKeyFocus();
};

}  // namespace lanterna::dialogs
