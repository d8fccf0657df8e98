#include "dialogs/WirelessSecurityDialog.h"

#include <algorithm>
#include <iterator>
#include <string_view>
#include <vector>

#include "dialogs/DialogIds.h"
#include "ui/MessageBox.h"

namespace lanterna::dialogs {
namespace {

using Security = CWirelessSecurityDialog;

constexpr std::string_view kKeySize64 = "64bit";
constexpr std::string_view kKeySize128 = "128bit";

constexpr int kModeRadios[] = {Security::kWpaPskRadio, Security::kLeapRadio, Security::kWepRadio,
                               Security::kNoneRadio};
constexpr int kModeLabels[] = {Security::kSecurityLabel, Security::kUserNameLabel,
                               Security::kPasswordLabel, Security::kSharedKeyLabel};

int RadioOf(SecurityMode mode) {
    switch (mode) {
        case SecurityMode::kWpaPsk:
            return Security::kWpaPskRadio;
        case SecurityMode::kLeap:
            return Security::kLeapRadio;
        case SecurityMode::kWep:
            return Security::kWepRadio;
        case SecurityMode::kNone:
            break;
    }
    return Security::kNoneRadio;
}

int WirelessSecurityControlOf(EntryField field) {
    switch (field) {
        case EntryField::kWepKey1:
            return Security::kKeyEdits[0];
        case EntryField::kWepKey2:
            return Security::kKeyEdits[1];
        case EntryField::kWepKey3:
            return Security::kKeyEdits[2];
        case EntryField::kWepKey4:
            return Security::kKeyEdits[3];
        case EntryField::kSharedKey:
            return Security::kSharedKeyEdit;
        case EntryField::kLeapUserName:
            return Security::kUserNameEdit;
        case EntryField::kLeapPassword:
            return Security::kPasswordEdit;
        default:
            return Security::kEssidEdit;
    }
}

// The controls of the security group, the key radios and key boxes included.
std::vector<int> SecurityGroup() {
    std::vector<int> ids = {Security::kSharedKeyEdit, Security::kUserNameEdit,
                            Security::kPasswordEdit, Security::kKeySizeList};
    ids.insert(ids.end(), Security::kKeyRadios.begin(), Security::kKeyRadios.end());
    ids.insert(ids.end(), Security::kKeyEdits.begin(), Security::kKeyEdits.end());
    return ids;
}

}  // namespace

CWirelessSecurityDialog::CWirelessSecurityDialog(ProjectorRecord* record, QWidget* owner)
    : skin::CSkinDialog(kWirelessSecurityTemplate, owner), record_(record) {
    for (const int radio : kModeRadios) {
        OnCommand(radio, ui::Notify::Clicked, [this, radio] { OnModeClicked(radio); });
    }
    OnCommand(kAdhocOn, ui::Notify::Clicked, [this] { ApplyAdhocRule(); });
    OnCommand(kAdhocOff, ui::Notify::Clicked, [this] { ApplyInfrastructureRule(); });
    for (std::size_t slot = 0; slot < kKeyEdits.size(); ++slot) {
        OnCommand(kKeyEdits[slot], ui::Notify::TextChanged, [this, slot] { keyTouched[slot] = 1; });
    }
}

// ---- rules --------------------------------------------------------------------------------

void CWirelessSecurityDialog::EnableSecurityGroup(bool enable) {
    for (const int id : SecurityGroup()) {
        EnableDlgItem(id, enable);
    }
}

// The mode radios stand apart in the template (the key radios lie between "WEP" and "none"),
// so the dialog keeps them exclusive itself.
void CWirelessSecurityDialog::OnModeClicked(int radioId) {
    CheckRadioButton(kWpaPskRadio, kNoneRadio, radioId);
    ApplyModeRule();
}

void CWirelessSecurityDialog::ApplyModeRule() {
    EnableSecurityGroup(CheckedMode() == SecurityMode::kWep);
    for (const int id : {kSharedKeyEdit, kUserNameEdit, kPasswordEdit}) {
        EnableDlgItem(id, false);  // projectors are never sent these
    }
}

void CWirelessSecurityDialog::ApplyAdhocRule() {
    std::vector<int> ids = SecurityGroup();
    ids.insert(ids.end(), std::begin(kModeRadios), std::end(kModeRadios));
    ids.insert(ids.end(), std::begin(kModeLabels), std::end(kModeLabels));
    for (const int id : ids) {
        EnableDlgItem(id, false);
        ShowDlgItem(id, false);
    }
}

void CWirelessSecurityDialog::ApplyInfrastructureRule() {
    for (const int id : kModeRadios) {
        EnableDlgItem(id, true);
        ShowDlgItem(id, true);
    }
    for (const int id : kModeLabels) {
        EnableDlgItem(id, true);
        ShowDlgItem(id, true);
    }
    for (const int id : SecurityGroup()) {
        ShowDlgItem(id, true);
    }
    ApplyModeRule();
}

// ---- showing ------------------------------------------------------------------------------

void CWirelessSecurityDialog::SetLimits() {
    SetTextLimit(kEssidEdit, kEssidLimit);
    SetTextLimit(kSharedKeyEdit, kSharedKeyLimit);
    SetTextLimit(kUserNameEdit, kLeapTextLimit);
    SetTextLimit(kPasswordEdit, kLeapTextLimit);
    for (const int edit : kKeyEdits) {
        SetTextLimit(edit, kWepKeyLimit);
    }
}

void CWirelessSecurityDialog::ShowEntries(const WirelessSecurityEntries& entries) {
    SetLimits();
    SetDlgItemText(kKeySizeList, entries.keySize == kWepKeySize64 ? kKeySize64 : kKeySize128);
    // A choice never read shows no radio checked.
    if (entries.keyId >= 1 && entries.keyId <= kWepKeySlots) {
        CheckRadioButton(kKeyRadios.front(), kKeyRadios.back(), kKeyRadios[entries.keyId - 1]);
    }
    // A reported ESSID is shown whole, even one longer than a typed one may be.
    SetTextLimit(kEssidEdit, std::max(kEssidLimit, static_cast<int>(entries.essid.size())));
    SetDlgItemText(kEssidEdit, entries.essid);
    if (entries.modeChosen) {
        CheckRadioButton(kWpaPskRadio, kNoneRadio, RadioOf(entries.mode));
    }
    for (std::size_t slot = 0; slot < kKeyEdits.size(); ++slot) {
        SetDlgItemText(kKeyEdits[slot], entries.wepKeys[slot].text);
        keyTouched[slot] = entries.wepKeys[slot].touched ? 1 : 0;
    }
    SetDlgItemText(kSharedKeyEdit, entries.sharedKey.text);
    sharedKeyTouched_ = entries.sharedKey.touched ? 1 : 0;
    SetDlgItemText(kUserNameEdit, entries.userName);
    SetDlgItemText(kPasswordEdit, entries.password);
    if (entries.adhocChosen) {
        CheckRadioButton(kAdhocOn, kAdhocOff, entries.adhoc ? kAdhocOn : kAdhocOff);
    }
    if (entries.adhoc) {
        ApplyAdhocRule();
    } else {
        ApplyInfrastructureRule();
    }
}

bool CWirelessSecurityDialog::OnInitDialog() {
    if (record_ == nullptr) {
        SetTextLimit(kEssidEdit, kEssidLimit);
        return true;
    }
    ShowEntries(WirelessSecurityEntriesOf(*record_, false, true));
    for (const int id : {kSharedKeyEdit, kUserNameEdit, kPasswordEdit}) {
        EnableDlgItem(id, false);
    }
    atOpen_ = WirelessSecuritySettingsOf(*record_);
    return true;
}

// ---- OK and Cancel ------------------------------------------------------------------------

SecurityMode CWirelessSecurityDialog::CheckedMode() const {
    switch (GetCheckedRadioButton(kWpaPskRadio, kNoneRadio)) {
        case kWpaPskRadio:
            return SecurityMode::kWpaPsk;
        case kLeapRadio:
            return SecurityMode::kLeap;
        case kWepRadio:
            return SecurityMode::kWep;
        default:
            return SecurityMode::kNone;
    }
}

WirelessSecurityEntries CWirelessSecurityDialog::ReadEntries() const {
    WirelessSecurityEntries entries;
    entries.essid = GetDlgItemText(kEssidEdit);
    entries.adhoc = IsDlgButtonChecked(kAdhocOn) != 0;
    entries.adhocChosen = entries.adhoc || IsDlgButtonChecked(kAdhocOff) != 0;
    entries.mode = CheckedMode();
    entries.modeChosen = GetCheckedRadioButton(kWpaPskRadio, kNoneRadio) != 0;
    entries.keySize = GetDlgItemText(kKeySizeList) == kKeySize64 ? kWepKeySize64 : kWepKeySize128;
    entries.keyId = 0;
    for (std::size_t slot = 0; slot < kKeyRadios.size(); ++slot) {
        if (IsDlgButtonChecked(kKeyRadios[slot]) != 0) {
            entries.keyId = static_cast<int>(slot) + 1;
            break;
        }
    }
    for (std::size_t slot = 0; slot < kKeyEdits.size(); ++slot) {
        entries.wepKeys[slot] = KeyEntry{GetDlgItemText(kKeyEdits[slot]), keyTouched[slot] != 0};
    }
    entries.sharedKey = KeyEntry{GetDlgItemText(kSharedKeyEdit), sharedKeyTouched_ != 0};
    entries.userName = GetDlgItemText(kUserNameEdit);
    entries.password = GetDlgItemText(kPasswordEdit);
    return entries;
}

void CWirelessSecurityDialog::Refuse(const EntryVerdict& verdict) {
    ui::ShowStringMessage(this, verdict.stringId, ui::MB_ICONEXCLAMATION);
    GotoDlgCtrl(WirelessSecurityControlOf(verdict.field));
}

void CWirelessSecurityDialog::OnOK() {
    if (record_ != nullptr) {
        if (const EntryVerdict verdict =
                StoreWirelessSecurityEntries(ReadEntries(), reference, atOpen_, *record_);
            !verdict.Accepted()) {
            Refuse(verdict);
            return;
        }
    }
    EndDialog(ui::IDOK);
}

void CWirelessSecurityDialog::OnCancel() {
    if (record_ != nullptr) {
        RestoreWirelessSecuritySettings(atOpen_, *record_);
    }
    EndDialog(ui::IDCANCEL);
}

// ---- configuration-file variant -----------------------------------------------------------

CWirelessSecurityFileDialog::CWirelessSecurityFileDialog(QWidget* owner)
    : CWirelessSecurityDialog(nullptr, owner) {
    OnCommand(kSharedKeyEdit, ui::Notify::FocusGained, [this] { OnSharedKeyFocus(); });
}

bool CWirelessSecurityFileDialog::OnInitDialog() {
    if (record_ == nullptr) {
        SetLimits();
        return true;
    }
    ShowEntries(WirelessSecurityEntriesOf(*record_, true));
    return true;
}

void CWirelessSecurityFileDialog::ApplyModeRule() {
    const SecurityMode mode = CheckedMode();
    if (mode == SecurityMode::kWep) {
        CWirelessSecurityDialog::ApplyModeRule();
        return;
    }
    EnableSecurityGroup(false);
    if (mode == SecurityMode::kWpaPsk) {
        EnableDlgItem(kSharedKeyEdit, true);
    } else if (mode == SecurityMode::kLeap) {
        EnableDlgItem(kUserNameEdit, true);
        EnableDlgItem(kPasswordEdit, true);
    }
}

void CWirelessSecurityFileDialog::OnSharedKeyFocus() {
    if (sharedKeyTouched_ == 0 && GetDlgItemText(kSharedKeyEdit) == kStoredKeyMask) {
        SetDlgItemText(kSharedKeyEdit, "");
        sharedKeyTouched_ = 1;
    }
}

void CWirelessSecurityFileDialog::OnOK() {
    if (record_ != nullptr) {
        if (const EntryVerdict verdict =
                StoreWirelessSecurityEntriesInFile(ReadEntries(), *record_);
            !verdict.Accepted()) {
            Refuse(verdict);
            return;
        }
    }
    EndDialog(ui::IDOK);
}

void CWirelessSecurityFileDialog::OnCancel() {
    EndDialog(ui::IDCANCEL);
}

}  // namespace lanterna::dialogs
