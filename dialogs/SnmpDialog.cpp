#include "dialogs/SnmpDialog.h"

#include "dialogs/CutValueMark.h"
#include "dialogs/DialogIds.h"
#include "settings/AddressRules.h"
#include "settings/StateRule.h"
#include "ui/IpAddressControl.h"
#include "ui/MessageBox.h"

namespace lanterna::dialogs {
namespace {

int SnmpControlOf(EntryField field) {
    switch (field) {
        case EntryField::kTrapAddress1:
            return CSnmpDialog::kTrapAddress1Control;
        case EntryField::kTrapAddress2:
            return CSnmpDialog::kTrapAddress2Control;
        default:
            return CSnmpDialog::kCommunityEdit;
    }
}

}  // namespace

CSnmpDialog::CSnmpDialog(ProjectorRecord* record, QWidget* owner)
    : skin::CSkinDialog(kSnmpTemplate, owner), record_(record) {}

void CSnmpDialog::SetReference(const ProjectorRecord& reference) {
    referenceTrapAddress1 = reference.trapAddress1;
    referenceTrapAddress2 = reference.trapAddress2;
    referenceCommunity = reference.community;
    referenceTrapAddress1Read = reference.trapAddress1State != kStateUnknown;
    referenceTrapAddress2Read = reference.trapAddress2State != kStateUnknown;
    referenceCommunityRead = reference.communityState != kStateUnknown;
}

void CSnmpDialog::ShowEntries(const ProjectorRecord* record, bool onlyRead) {
    SetTextLimit(kCommunityEdit, kCommunityLimit);
    if (record == nullptr) {
        return;
    }
    const auto shown = [onlyRead](std::int32_t state) {
        return !onlyRead || state != kStateUnknown;
    };
    const struct {
        int control;
        const Octets& address;
        std::int32_t state;
    } traps[] = {{kTrapAddress1Control, record->trapAddress1, record->trapAddress1State},
                 {kTrapAddress2Control, record->trapAddress2, record->trapAddress2State}};
    for (const auto& trap : traps) {
        if (IsAddressSet(trap.address) == 1 && shown(trap.state)) {
            IpAddress(trap.control)->SetAddress(trap.address);
        }
    }
    if (shown(record->communityState)) {
        SetDlgItemText(kCommunityEdit, TextOf(record->community));
    }
    ShowCutMark(*this, kCommunityEdit, record->communityState);
}

bool CSnmpDialog::OnInitDialog() {
    ShowEntries(record_, true);
    if (record_ != nullptr) {
        atOpenTrapAddress1_ = record_->trapAddress1;
        atOpenTrapAddress2_ = record_->trapAddress2;
        atOpenCommunity_ = record_->community;
    }
    return true;
}

SnmpEntries CSnmpDialog::ReadEntries() const {
    SnmpEntries entries;
    entries.trapAddress1.filledFields =
        IpAddress(kTrapAddress1Control)->GetAddress(entries.trapAddress1.octets);
    entries.trapAddress2.filledFields =
        IpAddress(kTrapAddress2Control)->GetAddress(entries.trapAddress2.octets);
    entries.community = GetDlgItemText(kCommunityEdit);
    return entries;
}

void CSnmpDialog::Refuse(const EntryVerdict& verdict) {
    ui::ShowStringMessage(this, verdict.stringId, ui::MB_ICONEXCLAMATION);
    const int control = SnmpControlOf(verdict.field);
    GotoDlgCtrl(control);
    if (verdict.octet == FocusOctet::kFirstBlank) {
        IpAddress(control)->SetFieldFocus(ui::CIpAddressControl::kFirstBlankField);
    }
}

void CSnmpDialog::OnOK() {
    if (record_ == nullptr) {
        EndDialog(ui::IDOK);
        return;
    }
    const SnmpEntries entries = ReadEntries();
    ProjectorRecord& record = *record_;
    if (const EntryVerdict verdict =
            CheckTrapAddressEntry(entries.trapAddress1, EntryField::kTrapAddress1);
        !verdict.Accepted()) {
        Refuse(verdict);
        return;
    }
    StoreTrapAddress(entries.trapAddress1.octets, referenceTrapAddress1, atOpenTrapAddress1_,
                     record.trapAddress1, record.trapAddress1State);
    KeepUnreadUnlessGiven(referenceTrapAddress1Read, !entries.trapAddress1.IsBlank(),
                          record.trapAddress1State);
    if (const EntryVerdict verdict =
            CheckTrapAddressEntry(entries.trapAddress2, EntryField::kTrapAddress2);
        !verdict.Accepted()) {
        Refuse(verdict);
        return;
    }
    StoreTrapAddress(entries.trapAddress2.octets, referenceTrapAddress2, atOpenTrapAddress2_,
                     record.trapAddress2, record.trapAddress2State);
    KeepUnreadUnlessGiven(referenceTrapAddress2Read, !entries.trapAddress2.IsBlank(),
                          record.trapAddress2State);
    // A community never read may stay empty: it is then left as it is on the projector.
    const bool communityLeftUnread = !referenceCommunityRead && entries.community.empty();
    if (const EntryVerdict verdict = CheckCommunityEntry(entries.community);
        !verdict.Accepted() && !communityLeftUnread) {
        Refuse(verdict);
        return;
    }
    StoreCommunity(entries.community, TextOf(referenceCommunity), TextOf(atOpenCommunity_),
                   record.community, record.communityState);
    KeepUnreadUnlessGiven(referenceCommunityRead, !communityLeftUnread, record.communityState);
    EndDialog(ui::IDOK);
}

void CSnmpDialog::OnCancel() {
    if (record_ != nullptr) {
        record_->trapAddress1 = atOpenTrapAddress1_;
        record_->trapAddress2 = atOpenTrapAddress2_;
        record_->community = atOpenCommunity_;
    }
    EndDialog(ui::IDCANCEL);
}

// ---- configuration-file variant -----------------------------------------------------------

CSnmpFileDialog::CSnmpFileDialog(QWidget* owner) : CSnmpDialog(nullptr, owner) {}

bool CSnmpFileDialog::OnInitDialog() {
    ShowEntries(record_);
    return true;
}

void CSnmpFileDialog::OnOK() {
    const SnmpEntries entries = ReadEntries();
    if (const EntryVerdict verdict = CheckSnmpEntries(entries); !verdict.Accepted()) {
        Refuse(verdict);
        return;
    }
    if (record_ != nullptr) {
        record_->trapAddress1 = entries.trapAddress1.octets;
        record_->trapAddress2 = entries.trapAddress2.octets;
        CopyText(record_->community, entries.community);
        record_->trapAddress1State = kStateChanged;
        record_->trapAddress2State = kStateChanged;
        record_->communityState = kStateChanged;
    }
    EndDialog(ui::IDOK);
}

void CSnmpFileDialog::OnCancel() {
    EndDialog(ui::IDCANCEL);
}

}  // namespace lanterna::dialogs
