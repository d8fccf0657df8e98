#pragma once
// The mail notification dialog (template 131): notification on or off, the SMTP server and port,
// and three recipients (recipient 1 is also the sender), each with a button to its event set.
//
// - The server, port, recipient and event controls are enabled only while "ON" is checked.
//   Checking "ON" empties the port box when the record's port is 0.
// - The port box corrects itself on every change: 0 becomes "1", above 65535 becomes "65535".
// - OK with "ON" checks the server (134), the port (135) and the recipients (136) in this order
//   (settings/MailEntries.h); OK with "OFF" checks nothing and keeps the entries as they are.
//
// CMailNotifyDialog, the projector variant, edits a projector's record in place: its opener
// fills the reference values before the run, each entry is stored by the state rule as soon as
// its check passes, and Cancel puts back the values the record held when the dialog opened,
// the event sets its event dialogs stored included (state words stay).
//
// CMailNotifyFileDialog, the configuration-file variant, edits its owner's file record: nothing
// is stored until every check passed, then with state 2. Its event dialogs copy their set into
// the record when they end with OK. Its Cancel stores nothing.

#include "record/ProjectorRecord.h"
#include "settings/MailEntries.h"
#include "skin/SkinDialog.h"

namespace lanterna::dialogs {

class CMailNotifyDialog : public skin::CSkinDialog {
  public:
    static constexpr int kNotifyOn = 1083;
    static constexpr int kNotifyOff = 1084;
    static constexpr int kServerControl = 1011;
    static constexpr int kPortEdit = 1007;
    static constexpr int kMailTo1Edit = 1024;
    static constexpr int kMailTo2Edit = 1025;
    static constexpr int kMailTo3Edit = 1026;
    static constexpr int kEvents1Button = 1080;
    static constexpr int kEvents2Button = 1081;
    static constexpr int kEvents3Button = 1082;
    static constexpr int kTestMailButton = 1027;  // hidden
    static constexpr int kMailToLimit = 64;

    // `record` may be null: the dialog then shows nothing and stores nothing.
    explicit CMailNotifyDialog(ProjectorRecord* record, QWidget* owner = nullptr);

    // Takes the reference values from `reference` (the network dialog's backup record).
    void SetReference(const ProjectorRecord& reference) {
        this->reference = MailSettingsOf(reference);
    }

    MailSettings reference;

  protected:
    bool OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    virtual void OnEventButton(int recipient);

    // Limits the recipients and shows the record; false when there is none.
    // With `onlyRead`, what the projector never reported is shown empty (the switch neither on
    // nor off).
    bool ShowEntries(const ProjectorRecord* record, bool onlyRead = false);
    MailEntries ReadEntries() const;
    // Shows the verdict's message and moves the focus to its entry.
    void Refuse(const EntryVerdict& verdict);

    ProjectorRecord* record_;

  private:
    void ApplyEnablingRule();
    void OnNotifyOn();
    void CorrectPort();

    MailSettings atOpen_;
};

class CMailNotifyFileDialog : public CMailNotifyDialog {
  public:
    explicit CMailNotifyFileDialog(QWidget* owner = nullptr);

    // The owner's record, set before each run (the owner keeps it).
    void SetRecord(ProjectorRecord* fileRecord) { record_ = fileRecord; }

  protected:
    bool OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    void OnEventButton(int recipient) override;
};

}  // namespace lanterna::dialogs
