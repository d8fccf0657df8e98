#include "dialogs/NetworkConfigFileDialog.h"

#include <filesystem>

#include "resources/StringIds.h"
#include "resources/StringTable.h"
#include "settings/ConfigFile.h"
#include "settings/TextRules.h"
#include "ui/MessageBox.h"

namespace lanterna::dialogs {
namespace {

// Rows a configuration file does not carry, with their labels.
using Dialog = CNetworkSettingsDialog;
constexpr int kHiddenRows[] = {
    Dialog::kDns1Control,  Dialog::kDns1Label,   Dialog::kDns2Control,  Dialog::kDns2Label,
    Dialog::kDomainEdit,   Dialog::kDomainLabel, Dialog::kWins1Control, Dialog::kWins1Label,
    Dialog::kWins2Control, Dialog::kWins2Label,  Dialog::kMacLabel,     Dialog::kMacValue,
    Dialog::kSaveButton,
};

}  // namespace

CNetworkConfigFileDialog::CNetworkConfigFileDialog(int wirelessVariant, QWidget* owner)
    : CNetworkSettingsDialog(nullptr, owner),
      wirelessVariant(wirelessVariant),
      mailDialog_(this),
      snmpDialog_(this),
      wirelessDialog_(this) {}

bool CNetworkConfigFileDialog::OnInitDialog() {
    initializing = 1;
    for (const int id : kHiddenRows) {
        ShowDlgItem(id, false);
        EnableDlgItem(id, false);
    }
    SetDlgItemText(ui::IDOK, LoadString(kStringCreateButton));
    SetDlgItemText(ui::IDCANCEL, LoadString(kStringCloseButton));
    SetTextLimit(kNameEdit, kNameLimit);
    const bool wireless = wirelessVariant != 0;
    EnableDlgItem(kWirelessButton, wireless);
    if (wireless) {
        fileRecord_.wirelessActive = 1;
    }
    CheckRadioButton(kDhcpOn, kDhcpOff, kDhcpOff);
    ApplyEnablingRule(false);
    ShowPrimaryInterfaceRow(true);
    CheckRadioButton(kPrimaryWired, kPrimaryWireless, kPrimaryWired);
    initializing = 0;
    return true;
}

void CNetworkConfigFileDialog::ApplyEnablingRule(bool dhcpOn) {
    for (const int id : {kIpAddressControl, kSubnetMaskControl, kGatewayControl}) {
        EnableDlgItem(id, !dhcpOn);
    }
}

void CNetworkConfigFileDialog::OnOK() {
    const NetworkEntries entries = ReadEntries();
    NetworkEntryScope scope;  // no servers, no uniqueness test
    scope.primaryInterface = true;
    if (const EntryVerdict verdict = CheckNetworkEntries(entries, scope); !verdict.Accepted()) {
        Refuse(verdict);
        return;
    }
    StoreNetworkEntries(entries, scope, EntryStore::kAllChanged, fileRecord_, fileRecord_);
    WriteFile();
}

bool CNetworkConfigFileDialog::WriteFile() {
    SaveFileRequest request;
    request.titleId = kStringSaveConfigFileTitle;
    request.filterId = kStringConfigFileFilter;
    request.fileName = std::string(TextOf(fileRecord_.projectorName));
    request.folder = HomeFolder();
    request.defaultExtension = "ncf";
    for (;;) {
        const std::string path = ChooseFile(request);
        if (path.empty()) {
            return false;
        }
        if (IsPlainFileName(path) == 1) {
            return WriteConfigFile(fileRecord_, path);
        }
        ui::ShowStringMessage(this, kStringBadFileNameCharacter, ui::MB_ICONEXCLAMATION);
        // Asked again in the folder of the refused name, with that name to correct.
        const std::filesystem::path refused(path);
        request.folder = refused.parent_path().string();
        request.fileName = refused.filename().string();
    }
}

void CNetworkConfigFileDialog::OnCancel() {
    EndDialog(ui::IDCANCEL);
}

void CNetworkConfigFileDialog::OnMailButton() {
    mailDialog_.SetRecord(&fileRecord_);
    mailDialog_.DoModal();
}

void CNetworkConfigFileDialog::OnSnmpButton() {
    snmpDialog_.SetRecord(&fileRecord_);
    snmpDialog_.DoModal();
}

void CNetworkConfigFileDialog::OnWirelessButton() {
    wirelessDialog_.SetRecord(&fileRecord_);
    wirelessDialog_.DoModal();
}

}  // namespace lanterna::dialogs
