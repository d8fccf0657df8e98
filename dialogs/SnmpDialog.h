#pragma once
// The SNMP dialog (template 136): the two trap addresses and the community name.
//
// CSnmpDialog, the projector variant, edits a projector's record in place. Its opener fills the
// reference values (what the projector reported when the network settings dialog opened)
// before the run. OK checks trap address 1, trap address 2 and the community name in this
// order (strings 137 and 138; see settings/SnmpEntries.h) and stores each accepted entry at
// once by the state rule, so a refusal leaves the entries before it stored; Cancel puts back
// the values the record held when the dialog opened (state words stay).
//
// CSnmpFileDialog, the configuration-file variant, edits its owner's file record: the same
// checks, and nothing is stored until all have passed; then all three with state 2. Its Cancel
// stores nothing.

#include "platform/FixedText.h"
#include "record/ProjectorRecord.h"
#include "settings/SnmpEntries.h"
#include "skin/SkinDialog.h"

namespace lanterna::dialogs {

class CSnmpDialog : public skin::CSkinDialog {
  public:
    static constexpr int kTrapAddress1Control = 1009;
    static constexpr int kTrapAddress2Control = 1010;
    static constexpr int kCommunityEdit = 1042;
    static constexpr int kCommunityLimit = 8;

    // `record` may be null: the dialog then shows nothing and stores nothing.
    explicit CSnmpDialog(ProjectorRecord* record, QWidget* owner = nullptr);

    // Takes the reference values from `reference` (the network dialog's backup record).
    void SetReference(const ProjectorRecord& reference);

    Octets referenceTrapAddress1{};
    Octets referenceTrapAddress2{};
    FixedText<9> referenceCommunity{};
    // Which of them the projector reported; what it did not is shown empty and never sent
    // unless the user fills it in.
    bool referenceTrapAddress1Read = true;
    bool referenceTrapAddress2Read = true;
    bool referenceCommunityRead = true;

  protected:
    bool OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;

    // Limits the community edit and shows the record's entries (with `onlyRead`, those the
    // projector reported).
    void ShowEntries(const ProjectorRecord* record, bool onlyRead = false);
    SnmpEntries ReadEntries() const;
    // Shows the verdict's message and moves the focus to its entry.
    void Refuse(const EntryVerdict& verdict);

    ProjectorRecord* record_;

  private:
    Octets atOpenTrapAddress1_{};
    Octets atOpenTrapAddress2_{};
    FixedText<9> atOpenCommunity_{};
};

class CSnmpFileDialog : public CSnmpDialog {
  public:
    explicit CSnmpFileDialog(QWidget* owner = nullptr);

    // The owner's record, set before each run (the owner keeps it).
    void SetRecord(ProjectorRecord* fileRecord) { record_ = fileRecord; }

  protected:
    bool OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
};

}  // namespace lanterna::dialogs
