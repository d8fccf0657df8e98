#include "dialogs/OtherSubnetsDialog.h"

#include <string>
#include <vector>

#include "dialogs/DialogIds.h"
#include "fleet/OtherSubnets.h"
#include "resources/StringIds.h"
#include "resources/TextPattern.h"
#include "settings/OtherSubnets.h"
#include "ui/DialogCodes.h"
#include "ui/MessageBox.h"

namespace lanterna::dialogs {
namespace {

// An entry as a message names it: cut to the longest a good one can be, on a character's
// boundary, so that a pasted page does not fill the screen.
std::string EntryAsNamed(const std::string& entry) {
    if (entry.size() <= kSubnetEntryMaxBytes) {
        return entry;
    }
    std::size_t cut = kSubnetEntryMaxBytes;
    while (cut > 0 && (static_cast<unsigned char>(entry[cut]) & 0xC0U) == 0x80U) {
        --cut;
    }
    return entry.substr(0, cut) + "...";
}

}  // namespace

COtherSubnetsDialog::COtherSubnetsDialog(HiveFile hive, QWidget* owner)
    : skin::CSkinDialog(kOtherSubnetsTemplate, owner), hive_(std::move(hive)) {}

bool COtherSubnetsDialog::OnInitDialog() {
    std::vector<std::string> entries;
    LoadOtherSubnets(entries, hive_);
    std::string text;
    for (const std::string& entry : entries) {
        text += (text.empty() ? "" : " ") + entry;
    }
    SetDlgItemText(kEntriesEdit, text);
    GotoDlgCtrl(kEntriesEdit);
    return false;
}

void COtherSubnetsDialog::Refuse(int stringId, std::initializer_list<std::string_view> values) {
    ui::ShowStringMessageWithText(this, stringId, FormatString(stringId, UserLanguage(), values),
                                  ui::MB_ICONEXCLAMATION);
    GotoDlgCtrl(kEntriesEdit);
}

void COtherSubnetsDialog::OnOK() {
    const std::vector<std::string> entries = fleet::SubnetEntriesOf(GetDlgItemText(kEntriesEdit));
    if (entries.size() > kMaxSubnetEntries) {
        Refuse(kStringSubnetEntriesTooMany, {std::to_string(kMaxSubnetEntries)});
        return;
    }
    std::vector<std::string> addresses;
    const fleet::SubnetRefusal refusal = fleet::AddressesOfSubnets(entries, addresses);
    switch (refusal.problem) {
        case fleet::TargetProblem::kNone:
            break;
        case fleet::TargetProblem::kTooMany:
            Refuse(kStringSubnetEntryTooMany,
                   {EntryAsNamed(refusal.entry), std::to_string(fleet::kMaxTargets)});
            return;
        case fleet::TargetProblem::kNotAddressOrRange:
            Refuse(kStringSubnetEntryNotRange, {EntryAsNamed(refusal.entry)});
            return;
    }
    if (SaveOtherSubnets(entries, hive_) != 1) {
        Refuse(kStringSubnetsNotSaved, {});
        return;
    }
    EndDialog(ui::IDOK);
}

}  // namespace lanterna::dialogs
