#include "dialogs/NetworkSettingsDialog.h"

#include <array>

#include "dialogs/DialogIds.h"
#include "dialogs/MailNotifyDialog.h"
#include "dialogs/CutValueMark.h"
#include "dialogs/MarkerLamp.h"
#include "dialogs/OperationProgressDialog.h"
#include "dialogs/SnmpDialog.h"
#include "dialogs/WirelessDialog.h"
#include "dialogs/WirelessSecurityDialog.h"
#include "dialogs/FleetWording.h"
#include "fleet/WriteGate.h"
#include "fleet/WriteHistory.h"
#include "platform/AsciiCase.h"
#include "resources/StringIds.h"
#include "resources/TextPattern.h"
#include "settings/SettingsFile.h"
#include "ui/IpAddressControl.h"
#include "ui/MessageBox.h"
#include "workers/OutcomeText.h"
#include "workers/WriteGroups.h"
#include "workers/Workers.h"

namespace lanterna::dialogs {
namespace {

using Dialog = CNetworkSettingsDialog;

// An address row: its control, its marker, the record field it shows and the entry it is.
struct AddressRow {
    int control;
    int marker;
    Octets ProjectorRecord::*field;
    EntryField entry;
};

constexpr std::array<AddressRow, 7> kAddressRows{{
    {Dialog::kIpAddressControl, Dialog::kIpAddressMarker, &ProjectorRecord::ipAddress,
     EntryField::kIpAddress},
    {Dialog::kSubnetMaskControl, Dialog::kSubnetMaskMarker, &ProjectorRecord::subnetMask,
     EntryField::kSubnetMask},
    {Dialog::kGatewayControl, Dialog::kGatewayMarker, &ProjectorRecord::gateway,
     EntryField::kGateway},
    {Dialog::kDns1Control, Dialog::kDns1Marker, &ProjectorRecord::dns1, EntryField::kDns1},
    {Dialog::kDns2Control, Dialog::kDns2Marker, &ProjectorRecord::dns2, EntryField::kDns2},
    {Dialog::kWins1Control, Dialog::kWins1Marker, &ProjectorRecord::wins1, EntryField::kWins1},
    {Dialog::kWins2Control, Dialog::kWins2Marker, &ProjectorRecord::wins2, EntryField::kWins2},
}};

const AddressRow* RowOfControl(int controlId) {
    for (const AddressRow& row : kAddressRows) {
        if (row.control == controlId) {
            return &row;
        }
    }
    return nullptr;
}

int NetworkControlOf(EntryField field) {
    switch (field) {
        case EntryField::kName:
            return Dialog::kNameEdit;
        case EntryField::kDomain:
            return Dialog::kDomainEdit;
        default:
            break;
    }
    for (const AddressRow& row : kAddressRows) {
        if (row.entry == field) {
            return row.control;
        }
    }
    return 0;
}

// The hardware address as six pairs joined by colons, from the first 12 characters.
std::string FormatMac(std::string_view mac) {
    std::string text;
    for (std::size_t pair = 0; pair < 6; ++pair) {
        if (pair > 0) {
            text += ':';
        }
        text += mac.substr(pair * 2, 2);
    }
    return text;
}

// The writeErrors bits and the markers of the rows each one refuses.
struct RefusalMarkers {
    std::uint32_t bit;
    std::array<int, 4> markers;  // 0: none
};

constexpr std::array<RefusalMarkers, 5> kRefusalMarkers{{
    {kWriteErrorAddressConfig,
     {Dialog::kDhcpMarker, Dialog::kIpAddressMarker, Dialog::kSubnetMaskMarker,
      Dialog::kGatewayMarker}},
    {kWriteErrorDomain, {Dialog::kDomainMarker, 0, 0, 0}},
    {kWriteErrorDns, {Dialog::kDns1Marker, Dialog::kDns2Marker, 0, 0}},
    {kWriteErrorWins, {Dialog::kWins1Marker, Dialog::kWins2Marker, 0, 0}},
    {kWriteErrorNameOrPrimary, {Dialog::kNameMarker, 0, 0, 0}},
}};

}  // namespace

CNetworkSettingsDialog::CNetworkSettingsDialog(ApplicationState& state, QWidget* owner)
    : CNetworkSettingsDialog(&state, owner) {}

CNetworkSettingsDialog::CNetworkSettingsDialog(ApplicationState* state, QWidget* owner)
    : skin::CSkinDialog(kNetworkSettingsTemplate, owner),
      state_(state),
      chooseFile_(ChooseSaveFile) {
    RegisterHandlers();
}

void CNetworkSettingsDialog::RegisterHandlers() {
    OnCommand(kDhcpOn, ui::Notify::Clicked, [this] { OnDhcpClicked(true); });
    OnCommand(kDhcpOff, ui::Notify::Clicked, [this] { OnDhcpClicked(false); });
    for (const int edit : {kNameEdit, kDomainEdit}) {
        OnCommand(edit, ui::Notify::TextChanged, [this, edit] { UpdateTextMarker(edit); });
    }
    for (const AddressRow& row : kAddressRows) {
        const int control = row.control;
        OnCommand(control, ui::Notify::TextChanged,
                  [this, control] { UpdateAddressMarker(control); });
    }
    OnCommand(kSaveButton, ui::Notify::Clicked, [this] { OnSave(); });
    OnCommand(kMailButton, ui::Notify::Clicked, [this] { OnMailButton(); });
    OnCommand(kSnmpButton, ui::Notify::Clicked, [this] { OnSnmpButton(); });
    OnCommand(kWirelessButton, ui::Notify::Clicked, [this] { OnWirelessButton(); });
}

QWidget* CNetworkSettingsDialog::CreateControl(const ui::ControlTemplate& control,
                                               QWidget* parent) {
    if (control.id >= kFirstMarker && control.id <= kLastMarker) {
        return new CMarkerLamp(parent);  // a child of the client area, which owns it
    }
    return skin::CSkinDialog::CreateControl(control, parent);
}

// ---- initialisation -----------------------------------------------------------------------

bool CNetworkSettingsDialog::OnInitDialog() {
    initializing = 1;
    const ProjectorRecord* record = state_ != nullptr ? state_->SelectedRecord() : nullptr;
    if (record == nullptr) {
        EndDialog(ui::IDCANCEL);
        return false;
    }
    ShowRecord(*record);
    for (int marker = kFirstMarker; marker <= kLastMarker; ++marker) {
        SetMarker(marker, 0);
        ShowDlgItem(marker, true);
    }
    backupRecord = *record;
    initializing = 0;
    return true;
}

void CNetworkSettingsDialog::ShowRecord(const ProjectorRecord& record) {
    SetTextLimit(kNameEdit, kNameLimit);
    SetTextLimit(kDomainEdit, kDomainLimit);
    // What was never read is shown empty, never as a value nobody reported.
    if (record.projectorNameState != 0) {
        SetDlgItemText(kNameEdit, TextOf(record.projectorName));
    }
    const std::string_view mac = TextOf(record.macAddress);
    if (mac.size() >= 12) {
        SetDlgItemText(kMacValue, FormatMac(mac));
    }
    const bool dhcpKnown = record.dhcpState != 0;
    if (dhcpKnown) {
        CheckRadioButton(kDhcpOn, kDhcpOff, record.dhcp != 0 ? kDhcpOn : kDhcpOff);
    }
    if (dhcpKnown && record.dhcp == 0) {
        const struct {
            int control;
            std::int32_t state;
            const Octets& address;
        } addresses[] = {{kIpAddressControl, record.ipAddressState, record.ipAddress},
                         {kSubnetMaskControl, record.subnetMaskState, record.subnetMask},
                         {kGatewayControl, record.gatewayState, record.gateway}};
        for (const auto& address : addresses) {
            if (address.state != 0) {
                ShowAddress(address.control, address.address);
            }
        }
    }
    const struct {
        int control;
        std::int32_t state;
        const Octets& address;
    } servers[] = {{kDns1Control, record.dns1State, record.dns1},
                   {kDns2Control, record.dns2State, record.dns2},
                   {kWins1Control, record.wins1State, record.wins1},
                   {kWins2Control, record.wins2State, record.wins2}};
    for (const auto& server : servers) {
        if (server.state != 0) {
            ShowAddress(server.control, server.address);
        }
    }
    if (record.dnsDomainState != 0) {
        SetDlgItemText(kDomainEdit, TextOf(record.dnsDomain));
    }
    ShowCutMark(*this, kNameEdit, record.projectorNameState);
    ShowCutMark(*this, kDomainEdit, record.dnsDomainState);
    // Without a DHCP choice the addresses are open to be filled in.
    ApplyEnablingRule(dhcpKnown && record.dhcp != 0);
    EnableDlgItem(kWirelessButton, record.wirelessActive != 0);
    ShowPrimaryInterfaceRow(record.primaryInterfaceState != 0);
    if (record.primaryInterfaceState != 0) {
        CheckRadioButton(kPrimaryWired, kPrimaryWireless,
                         record.primaryInterface != 0 ? kPrimaryWireless : kPrimaryWired);
    }
}

// An address of 0.0.0.0 leaves its control blank.
void CNetworkSettingsDialog::ShowAddress(int controlId, const Octets& address) {
    if (ui::CIpAddressControl* control = IpAddress(controlId);
        control != nullptr && !IsZeroAddress(address)) {
        control->SetAddress(address);
    }
}

void CNetworkSettingsDialog::ShowPrimaryInterfaceRow(bool show) {
    for (const int id : {kPrimaryLabel, kPrimaryWired, kPrimaryWireless}) {
        ShowDlgItem(id, show);
        EnableDlgItem(id, show);
    }
}

void CNetworkSettingsDialog::ApplyEnablingRule(bool dhcpOn) {
    const ProjectorRecord* record = state_ != nullptr ? state_->SelectedRecord() : nullptr;
    for (const int id : {kIpAddressControl, kSubnetMaskControl, kGatewayControl}) {
        EnableDlgItem(id, !dhcpOn);
    }
    const bool reported[] = {
        record != nullptr && record->dns1State != 0, record != nullptr && record->dns2State != 0,
        record != nullptr && record->dnsDomainState != 0,
        record != nullptr && record->wins1State != 0, record != nullptr && record->wins2State != 0};
    const int servers[] = {kDns1Control, kDns2Control, kDomainEdit, kWins1Control, kWins2Control};
    for (std::size_t i = 0; i < std::size(servers); ++i) {
        EnableDlgItem(servers[i], !dhcpOn && reported[i]);
    }
}

// ---- change markers -----------------------------------------------------------------------

void CNetworkSettingsDialog::SetMarker(int markerId, int state) {
    CheckDlgButton(markerId, state);
}

void CNetworkSettingsDialog::OnDhcpClicked(bool dhcpOn) {
    ApplyEnablingRule(dhcpOn);
    if (initializing == 0) {
        SetMarker(kDhcpMarker, dhcpOn == (backupRecord.dhcp != 0) ? 0 : 2);
    }
}

void CNetworkSettingsDialog::UpdateTextMarker(int editId) {
    if (initializing != 0) {
        return;
    }
    const bool name = editId == kNameEdit;
    const std::string_view reference =
        name ? TextOf(backupRecord.projectorName) : TextOf(backupRecord.dnsDomain);
    SetMarker(name ? kNameMarker : kDomainMarker,
              EqualIgnoringCase(GetDlgItemText(editId), reference) ? 0 : 2);
}

void CNetworkSettingsDialog::UpdateAddressMarker(int controlId) {
    const AddressRow* row = RowOfControl(controlId);
    const ui::CIpAddressControl* control = IpAddress(controlId);
    if (initializing != 0 || row == nullptr || control == nullptr) {
        return;
    }
    Octets octets{};
    control->GetAddress(octets);
    SetMarker(row->marker, octets != backupRecord.*(row->field) ? 2 : 0);
}

void CNetworkSettingsDialog::MarkRefusedSettings(std::uint32_t writeErrors) {
    for (const RefusalMarkers& refusal : kRefusalMarkers) {
        if ((writeErrors & refusal.bit) == 0) {
            continue;
        }
        for (const int marker : refusal.markers) {
            if (marker != 0) {
                SetMarker(marker, 1);
            }
        }
    }
}

// ---- entries ------------------------------------------------------------------------------

NetworkEntries CNetworkSettingsDialog::ReadEntries() const {
    NetworkEntries entries;
    entries.name = GetDlgItemText(kNameEdit);
    entries.dhcp = IsDlgButtonChecked(kDhcpOn) != 0;
    const struct {
        int control;
        AddressEntry& entry;
    } addresses[] = {
        {kIpAddressControl, entries.ipAddress}, {kSubnetMaskControl, entries.subnetMask},
        {kGatewayControl, entries.gateway},     {kDns1Control, entries.dns1},
        {kDns2Control, entries.dns2},           {kWins1Control, entries.wins1},
        {kWins2Control, entries.wins2}};
    for (const auto& address : addresses) {
        if (const ui::CIpAddressControl* control = IpAddress(address.control)) {
            address.entry.filledFields = control->GetAddress(address.entry.octets);
        }
    }
    entries.domain = GetDlgItemText(kDomainEdit);
    entries.primaryInterface =
        IsDlgButtonChecked(kPrimaryWired) == 0 && IsDlgButtonChecked(kPrimaryWireless) != 0 ? 1 : 0;
    return entries;
}

void CNetworkSettingsDialog::Refuse(const EntryVerdict& verdict) {
    ui::ShowStringMessage(this, verdict.stringId, ui::MB_ICONEXCLAMATION);
    const int control = NetworkControlOf(verdict.field);
    GotoDlgCtrl(control);
    if (verdict.octet == FocusOctet::kFirstBlank) {
        if (ui::CIpAddressControl* address = IpAddress(control)) {
            address->SetFieldFocus(ui::CIpAddressControl::kFirstBlankField);
        }
    }
}

NetworkEntryScope CNetworkSettingsDialog::ProjectorScope(const ProjectorRecord& record) const {
    NetworkEntryScope scope = ScopeOf(record);
    scope.uniqueAmong = &state_->projectors;
    scope.skipIndex = state_->selectedIndex;
    return scope;
}

// ---- commands -----------------------------------------------------------------------------

void CNetworkSettingsDialog::OnSave() {
    ProjectorRecord* record = state_ != nullptr ? state_->SelectedRecord() : nullptr;
    if (record == nullptr) {
        return;
    }
    const NetworkEntries entries = ReadEntries();
    const NetworkEntryScope scope = ProjectorScope(*record);
    if (const EntryVerdict verdict = CheckNetworkEntries(entries, scope); !verdict.Accepted()) {
        Refuse(verdict);
        return;
    }
    StoreNetworkEntries(entries, scope, EntryStore::kValues, backupRecord, *record);
    SaveFileRequest request;
    request.titleId = kStringSaveSettingsTitle;
    request.filterId = kStringSettingsFileFilter;
    request.fileName = std::string(TextOf(record->projectorName));
    request.folder = HomeFolder();
    request.defaultExtension = "ini";
    const std::string path = ChooseFile(request);
    if (!path.empty()) {
        // A failed write leaves an existing file as it was; like a cancelled save, it is silent.
        WriteSettingsFile(*record, path);
    }
}

void CNetworkSettingsDialog::OnOK() {
    ProjectorRecord* record = state_ != nullptr ? state_->SelectedRecord() : nullptr;
    if (record == nullptr) {
        EndDialog(ui::IDCANCEL);
        return;
    }
    const NetworkEntries entries = ReadEntries();
    const NetworkEntryScope scope = ProjectorScope(*record);
    if (const EntryVerdict verdict = CheckNetworkEntries(entries, scope); !verdict.Accepted()) {
        Refuse(verdict);
        return;
    }
    StoreNetworkEntries(entries, scope, EntryStore::kAgainstReference, backupRecord, *record);
    // The write gate decides what may go, as on every other road (a setting the projector never
    // reported, an address another listed projector has): nothing is sent until it passes.
    if (const auto refusal = fleet::PassWindowGate(
            state_->projectors, static_cast<std::size_t>(state_->selectedIndex), backupRecord,
            *record, "", true)) {
        const GateMessage message = GateRefusalMessage(*refusal, backupRecord);
        ui::ShowStringMessageWithText(this, message.id, message.text, ui::MB_ICONEXCLAMATION);
        return;
    }
    // A demonstration sends nothing and keeps nothing.
    fleet::CWriteHistory history(state_->debugMode != 0 ? "" : historyFolder_, backupRecord);
    if (!history.KeepBefore(*record)) {
        ui::ShowStringMessageWithText(
            this, kStringHistoryNotKept,
            FormatString(kStringHistoryNotKept, UserLanguage(), {history.Folder()}),
            ui::MB_ICONEXCLAMATION);
        return;
    }
    for (int marker = kFirstMarker; marker <= kLastMarker; ++marker) {
        if (marker != kDhcpMarker) {
            SetMarker(marker, 0);
        }
    }
    state_->writeProgress = {};
    COperationProgressDialog progress(WorkerMode::kWrite, *state_, this);
    const int written = progress.DoModal();
    if (!history.LogAfter(state_->writeProgress.result)) {
        ui::ShowStringMessageWithText(
            this, kStringChangeLogNotKept,
            FormatString(kStringChangeLogNotKept, UserLanguage(),
                         {TextOf(backupRecord.address), history.Folder()}),
            ui::MB_ICONEXCLAMATION);
    }
    if (written != ui::IDOK) {
        EndDialog(ui::IDCANCEL);
        return;
    }
    if (state_->writeErrors != 0) {
        MarkRefusedSettings(state_->writeErrors);
        EndDialog(ui::IDCANCEL);
        return;
    }
    EndDialog(ui::IDOK);
}

void CNetworkSettingsDialog::OnCancel() {
    if (ProjectorRecord* record = state_ != nullptr ? state_->SelectedRecord() : nullptr;
        record != nullptr && initializing == 0) {
        *record = backupRecord;
    }
    EndDialog(ui::IDCANCEL);
}

// ---- sub-dialogs --------------------------------------------------------------------------

std::string CNetworkSettingsDialog::ChooseFile(const SaveFileRequest& request) {
    return chooseFile_ ? chooseFile_(this, request) : std::string();
}

void CNetworkSettingsDialog::OnMailButton() {
    if (ProjectorRecord* record = state_->SelectedRecord()) {
        CMailNotifyDialog dialog(record, this);
        dialog.SetReference(backupRecord);
        dialog.DoModal();
    }
}

void CNetworkSettingsDialog::OnSnmpButton() {
    ProjectorRecord* record = state_->SelectedRecord();
    if (record == nullptr) {
        return;
    }
    CSnmpDialog dialog(record, this);
    dialog.SetReference(backupRecord);
    dialog.DoModal();
}

void CNetworkSettingsDialog::OnWirelessButton() {
    ProjectorRecord* record = state_->SelectedRecord();
    if (record == nullptr) {
        return;
    }
    if (record->imType == kImTypeExtendedWireless) {
        CWirelessSecurityDialog dialog(record, this);
        dialog.SetReference(backupRecord);
        dialog.DoModal();
    } else {
        CWirelessDialog dialog(record, this);
        dialog.SetReference(backupRecord);
        dialog.DoModal();
    }
}

}  // namespace lanterna::dialogs
