#include "dialogs/MailNotifyDialog.h"

#include "dialogs/CutValueMark.h"
#include "dialogs/DialogIds.h"
#include "dialogs/NotifyEventDialog.h"
#include "record/RecordSlots.h"
#include "ui/IpAddressControl.h"
#include "ui/MessageBox.h"

namespace lanterna::dialogs {
namespace {

using Mail = CMailNotifyDialog;

constexpr int kMailToEdits[kMailRecipients] = {Mail::kMailTo1Edit, Mail::kMailTo2Edit,
                                               Mail::kMailTo3Edit};
constexpr int kEventButtons[kMailRecipients] = {Mail::kEvents1Button, Mail::kEvents2Button,
                                                Mail::kEvents3Button};

int MailControlOf(EntryField field) {
    switch (field) {
        case EntryField::kSmtpServer:
            return Mail::kServerControl;
        case EntryField::kSmtpPort:
            return Mail::kPortEdit;
        case EntryField::kMailTo2:
            return Mail::kMailTo2Edit;
        case EntryField::kMailTo3:
            return Mail::kMailTo3Edit;
        default:
            return Mail::kMailTo1Edit;
    }
}

}  // namespace

CMailNotifyDialog::CMailNotifyDialog(ProjectorRecord* record, QWidget* owner)
    : skin::CSkinDialog(kMailNotifyTemplate, owner), record_(record) {
    OnCommand(kNotifyOn, ui::Notify::Clicked, [this] { OnNotifyOn(); });
    OnCommand(kNotifyOff, ui::Notify::Clicked, [this] { ApplyEnablingRule(); });
    OnCommand(kPortEdit, ui::Notify::TextChanged, [this] { CorrectPort(); });
    for (int n = 1; n <= kMailRecipients; ++n) {
        OnCommand(kEventButtons[n - 1], ui::Notify::Clicked, [this, n] { OnEventButton(n); });
    }
}

// ---- showing ------------------------------------------------------------------------------

bool CMailNotifyDialog::ShowEntries(const ProjectorRecord* record, bool onlyRead) {
    for (const int edit : kMailToEdits) {
        SetTextLimit(edit, kMailToLimit);
    }
    if (record == nullptr) {
        return false;
    }
    const MailEntries entries = MailEntriesOf(*record, onlyRead);
    if (entries.notifyChosen) {
        CheckRadioButton(kNotifyOn, kNotifyOff, entries.notify ? kNotifyOn : kNotifyOff);
    }
    if (!entries.smtpServer.IsBlank()) {
        IpAddress(kServerControl)->SetAddress(entries.smtpServer.octets);
    }
    SetDlgItemText(kPortEdit, entries.port);
    for (int n = 1; n <= kMailRecipients; ++n) {
        SetDlgItemText(kMailToEdits[n - 1], entries.mailTo[n - 1]);
        ShowCutMark(*this, kMailToEdits[n - 1], numbered::MailToState(*record, n));
    }
    ApplyEnablingRule();
    GotoDlgCtrl(entries.notify ? kNotifyOn : kNotifyOff);
    return true;
}

bool CMailNotifyDialog::OnInitDialog() {
    if (!ShowEntries(record_, true)) {
        return true;
    }
    atOpen_ = MailSettingsOf(*record_);
    return false;  // the focus stays on the checked radio button
}

void CMailNotifyDialog::ApplyEnablingRule() {
    const bool on = IsDlgButtonChecked(kNotifyOn) != 0;
    for (const int id : {kServerControl, kPortEdit, kMailTo1Edit, kMailTo2Edit, kMailTo3Edit,
                         kEvents1Button, kEvents2Button, kEvents3Button, kTestMailButton}) {
        EnableDlgItem(id, on);
    }
}

void CMailNotifyDialog::OnNotifyOn() {
    ApplyEnablingRule();
    if (record_ != nullptr && record_->smtpPort == 0) {
        SetDlgItemText(kPortEdit, "");
    }
}

void CMailNotifyDialog::CorrectPort() {
    if (const auto corrected = CorrectedPortText(GetDlgItemText(kPortEdit))) {
        SetDlgItemText(kPortEdit, *corrected);
    }
}

// ---- OK and Cancel ------------------------------------------------------------------------

MailEntries CMailNotifyDialog::ReadEntries() const {
    MailEntries entries;
    entries.notify = IsDlgButtonChecked(kNotifyOn) != 0;
    entries.notifyChosen = entries.notify || IsDlgButtonChecked(kNotifyOff) != 0;
    entries.smtpServer.filledFields =
        IpAddress(kServerControl)->GetAddress(entries.smtpServer.octets);
    entries.port = GetDlgItemText(kPortEdit);
    for (int n = 1; n <= kMailRecipients; ++n) {
        entries.mailTo[n - 1] = GetDlgItemText(kMailToEdits[n - 1]);
    }
    return entries;
}

void CMailNotifyDialog::Refuse(const EntryVerdict& verdict) {
    ui::ShowStringMessage(this, verdict.stringId, ui::MB_ICONEXCLAMATION);
    const int control = MailControlOf(verdict.field);
    GotoDlgCtrl(control);
    if (verdict.octet == FocusOctet::kFirstBlank) {
        IpAddress(control)->SetFieldFocus(ui::CIpAddressControl::kFirstBlankField);
    }
}

void CMailNotifyDialog::OnOK() {
    if (record_ != nullptr) {
        if (const EntryVerdict verdict =
                StoreMailEntries(ReadEntries(), reference, atOpen_, *record_);
            !verdict.Accepted()) {
            Refuse(verdict);
            return;
        }
    }
    EndDialog(ui::IDOK);
}

void CMailNotifyDialog::OnCancel() {
    if (record_ != nullptr) {
        RestoreMailSettings(atOpen_, *record_);
    }
    EndDialog(ui::IDCANCEL);
}

void CMailNotifyDialog::OnEventButton(int recipient) {
    CNotifyEventDialog dialog(recipient, record_, this);
    dialog.referenceEventSets = reference.mailEvents;
    dialog.DoModal();
}

// ---- configuration-file variant -----------------------------------------------------------

CMailNotifyFileDialog::CMailNotifyFileDialog(QWidget* owner) : CMailNotifyDialog(nullptr, owner) {}

bool CMailNotifyFileDialog::OnInitDialog() {
    return !ShowEntries(record_);
}

void CMailNotifyFileDialog::OnOK() {
    if (record_ != nullptr) {
        if (const EntryVerdict verdict = StoreMailEntriesInFile(ReadEntries(), *record_);
            !verdict.Accepted()) {
            Refuse(verdict);
            return;
        }
    }
    EndDialog(ui::IDOK);
}

void CMailNotifyFileDialog::OnCancel() {
    EndDialog(ui::IDCANCEL);
}

void CMailNotifyFileDialog::OnEventButton(int recipient) {
    if (record_ == nullptr) {
        return;
    }
    CNotifyEventFileDialog dialog(this);
    std::uint32_t& eventSet = numbered::MailEvents(*record_, recipient);
    dialog.eventSet = eventSet;
    if (dialog.DoModal() == ui::IDOK) {
        eventSet = dialog.eventSet;
    }
}

}  // namespace lanterna::dialogs
