#include "dialogs/WirelessDialog.h"

#include <algorithm>

#include "dialogs/DialogIds.h"
#include "ui/MessageBox.h"

namespace lanterna::dialogs {

CWirelessDialog::CWirelessDialog(ProjectorRecord* record, QWidget* owner)
    : skin::CSkinDialog(kWirelessTemplate, owner), record_(record) {
    OnCommand(kWepOn, ui::Notify::Clicked, [this] { EnableDlgItem(kWepKeyEdit, true); });
    OnCommand(kWepOff, ui::Notify::Clicked, [this] { EnableDlgItem(kWepKeyEdit, false); });
    OnCommand(kWepKeyEdit, ui::Notify::TextChanged, [this] { keyTouched = 1; });
}

bool CWirelessDialog::OnInitDialog() {
    SetTextLimit(kEssidEdit, kEssidLimit);
    SetTextLimit(kWepKeyEdit, kWepKeyLimit);
    if (record_ == nullptr) {
        return true;
    }
    const WirelessEntries entries = WirelessEntriesOf(*record_);
    // A reported ESSID is shown whole, even one longer than a typed one may be.
    SetTextLimit(kEssidEdit, std::max(kEssidLimit, static_cast<int>(entries.essid.size())));
    SetDlgItemText(kEssidEdit, entries.essid);
    SetDlgItemText(kWepKeyEdit, entries.wepKey.text);
    keyTouched = entries.wepKey.touched ? 1 : 0;
    EnableDlgItem(kWepKeyEdit, entries.wepEnabled);
    // A switch never read shows neither choice.
    if (entries.wepChosen) {
        CheckRadioButton(kWepOn, kWepOff, entries.wepEnabled ? kWepOn : kWepOff);
    }
    if (entries.adhocChosen) {
        CheckRadioButton(kAdhocOn, kAdhocOff, entries.adhoc ? kAdhocOn : kAdhocOff);
    }
    atOpen_ = WirelessSettingsOf(*record_);
    return true;
}

WirelessEntries CWirelessDialog::ReadEntries() const {
    WirelessEntries entries;
    entries.essid = GetDlgItemText(kEssidEdit);
    entries.wepEnabled = IsDlgButtonChecked(kWepOn) != 0;
    entries.wepKey = KeyEntry{GetDlgItemText(kWepKeyEdit), keyTouched != 0};
    entries.adhoc = IsDlgButtonChecked(kAdhocOn) != 0;
    entries.wepChosen = entries.wepEnabled || IsDlgButtonChecked(kWepOff) != 0;
    entries.adhocChosen = entries.adhoc || IsDlgButtonChecked(kAdhocOff) != 0;
    return entries;
}

void CWirelessDialog::OnOK() {
    if (record_ != nullptr) {
        if (const EntryVerdict verdict =
                StoreWirelessEntries(ReadEntries(), reference, atOpen_, *record_);
            !verdict.Accepted()) {
            ui::ShowStringMessage(this, verdict.stringId, ui::MB_ICONEXCLAMATION);
            GotoDlgCtrl(verdict.field == EntryField::kEssid ? kEssidEdit : kWepKeyEdit);
            return;
        }
    }
    EndDialog(ui::IDOK);
}

void CWirelessDialog::OnCancel() {
    if (record_ != nullptr) {
        RestoreWirelessSettings(atOpen_, *record_);
    }
    EndDialog(ui::IDCANCEL);
}

}  // namespace lanterna::dialogs
