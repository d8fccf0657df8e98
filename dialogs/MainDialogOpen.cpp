// Opening a projector: probe, password, read, then the settings dialog or a dropped settings
// file; the connect-by-address flow; the file drop on the list.

#include <QTreeView>
#include <algorithm>
#include <cstring>
#include <ctime>
#include <optional>

#include "dialogs/FleetWording.h"
#include "dialogs/MainDialog.h"
#include "dialogs/PresenceWatch.h"
#include "fleet/Credentials.h"
#include "fleet/WriteGate.h"
#include "fleet/WriteHistory.h"
#include "platform/AsciiCase.h"
#include "platform/FixedText.h"
#include "platform/ProfileFile.h"
#include "platform/UserLanguage.h"
#include "resources/StringIds.h"
#include "settings/AddressRules.h"
#include "settings/SettingsFile.h"
#include "settings/SettingsFileCheck.h"
#include "ui/ListView.h"
#include "ui/MessageBox.h"

namespace lanterna::dialogs {
namespace {

// End codes of the address-entry dialog.
constexpr int kAddressConnectNew = 1;
constexpr int kAddressAddNew = 1070;
constexpr int kAddressAddListed = 1425;
constexpr int kAddressConnectListed = 1426;
constexpr int kAddressAddSilent = 1071;  // add; nothing answered there

// Probe results.
constexpr int kProbeNoPassword = 1;
constexpr int kProbePasswordNeeded = 2;

constexpr std::size_t kDroppedPathLimit = 2048;

}  // namespace

// ---- OpenProjector ------------------------------------------------------------------------

void CMainDialog::OpenProjector(int row) {
    state_.selectedIndex = IndexOfRow(row);
    OpenSelected();
}

bool CMainDialog::OpenSelected() {
    ProjectorRecord* record = state_.SelectedRecord();
    if (record == nullptr) {
        return false;
    }
    if (OnlyPjlinkFound(*record)) {
        ShowMessage(kStringPjlinkOnlyNoSettings, ui::MB_ICONINFORMATION);
        return false;
    }
    if (!ProbeAndRead(*record)) {
        return false;
    }
    return droppedFile_ != 0 ? ApplyDroppedFile(*record) : ApplySettingsDialog(*record);
}

// The probe, the password and the read. The password is the one the session remembers (or the
// keyring keeps) for the projector, else asked for; a refused one is asked for again, three
// prompts at most, each time over a new link.
bool CMainDialog::ProbeAndRead(ProjectorRecord& record) {
    const std::string address(TextOf(record.address));
    bool knownTried = false;
    int prompts = 0;
    for (;;) {
        CopyText(state_.currentAddress, address);
        const int probe =
            services_.runOperation ? services_.runOperation(*this, WorkerMode::kProbe, false) : -1;
        if (probe != kProbeNoPassword && probe != kProbePasswordNeeded) {
            EndOpenFailed(&record);
            return false;
        }
        const bool needed = probe == kProbePasswordNeeded;
        const std::string mac(TextOf(record.macAddress));
        std::optional<std::string> password;
        std::string keptFor;
        bool keep = false;
        if (needed && !knownTried) {
            password = passwords_.Known(
                address, mac, true, &keptFor,
                [this](const fleet::Credential& marked) { return ConfirmKeptEntry(marked); });
            knownTried = true;
        }
        // A kept password is for one projector: the read stops right after another's hardware
        // address.
        if (password && !keptFor.empty() && mac.empty()) {
            CopyText(record.macAddress, keptFor);
        }
        if (needed && !password) {
            PasswordPrompt prompt;
            prompt.projector = ProjectorWords(TextOf(record.projectorName), address);
            prompt.offerKeyring = passwords_.HasKeyring();
            ++prompts;
            if (PromptPassword(prompt) != ui::IDOK) {
                EndOpenFailed(&record);
                return false;
            }
            password = prompt.password;
            keep = prompt.keep;
        }
        CopyText(record.password, password.value_or(""));
        // A dropped file is applied over a full read too, so that the history keeps it whole.
        state_.readAllSettings = 1;
        const int read = services_.runOperation
                             ? services_.runOperation(*this, WorkerMode::kRead, needed)
                             : ui::IDCANCEL;
        if (read == ui::IDOK) {
            JoinPjlinkTwinsOf(record);
            if (needed) {
                passwords_.Worked(address, std::string(TextOf(record.macAddress)), *password,
                                  keep);
            }
            return true;
        }
        if (!keptFor.empty() && fleet::KeptHardwareAddress(TextOf(record.macAddress)) != keptFor) {
            passwords_.ReachedOther(address, keptFor);
            ShowKeptPasswordReachedOther(address, std::string(TextOf(record.macAddress)), keptFor);
        }
        if (read != kOperationPasswordRefused || !needed || prompts >= kPasswordPrompts) {
            EndOpenFailed(&record);
            return false;
        }
        passwords_.Refused(address, *password);
        CloseLink(state_);
    }
}

bool CMainDialog::ApplySettingsDialog(ProjectorRecord& record) {
    const int answer =
        services_.runNetworkSettings ? services_.runNetworkSettings(*this, record) : ui::IDCANCEL;
    CloseLink(state_);
    if (answer != ui::IDOK) {
        return false;
    }
    // A new name or address follows into the address book.
    addressBook_.book.Rename(TextOf(state_.currentAddress), TextOf(record.projectorName),
                             record.ipAddress);
    ShowWritten(record);
    return true;
}

// After a write the list keeps the user's place: no search, no wait; only the projector written
// is shown anew (its name, and its address when a static one was written, so that it is opened
// there next time), and it is greeted in the background like every listed projector.
void CMainDialog::ShowWritten(ProjectorRecord& record) {
    if (record.dhcp == 0 && IsHostAddress(record.ipAddress) == 1) {
        CopyText(record.address, FormatDotted(record.ipAddress));
    }
    rows_->Model().Changed(&record);
    if (QAbstractItemView* shown =
            IsDetailsView() ? static_cast<QAbstractItemView*>(details_) : List()) {
        shown->scrollTo(shown->currentIndex());
    }
    if (presenceWatch_ && state_.debugMode == 0) {
        presenceWatch_->GreetSoon();
    }
}

bool CMainDialog::ApplyDroppedFile(ProjectorRecord& record) {
    if (ShowMessage(kStringApplySettingsQuestion, kMessageYesNoQuestion) != ui::IDYES) {
        EndOpenFailed(&record);
        return false;
    }
    // The record holds what was just read, which the history keeps before the file goes over it.
    fleet::CWriteHistory history(state_.debugMode != 0 ? "" : services_.historyFolder, record);
    const ProjectorRecord reported = record;
    CopySettings(droppedSettings_, record);
    // The file passes the write gate as a file applied whole does on every road: it is the
    // projector's own, and every setting it holds is judged.
    if (const auto refusal = fleet::PassWindowGate(
            state_.projectors, static_cast<std::size_t>(state_.selectedIndex), reported, record,
            std::string(TextOf(droppedSettings_.macAddress)), false)) {
        const GateMessage message = GateRefusalMessage(*refusal, reported);
        ui::ShowStringMessageWithText(this, message.id, message.text, ui::MB_ICONEXCLAMATION);
        EndOpenFailed(&record);
        return false;
    }
    if (!history.KeepBefore(record)) {
        ui::ShowStringMessageWithText(this, kStringHistoryNotKept,
                                      Words(kStringHistoryNotKept, {history.Folder()}),
                                      ui::MB_ICONEXCLAMATION);
        EndOpenFailed(&record);
        return false;
    }
    state_.writeProgress = {};
    const int write =
        services_.runOperation ? services_.runOperation(*this, WorkerMode::kWrite, false) : 2;
    if (!history.LogAfter(state_.writeProgress.result)) {
        ui::ShowStringMessageWithText(
            this, kStringChangeLogNotKept,
            Words(kStringChangeLogNotKept, {TextOf(record.address), history.Folder()}),
            ui::MB_ICONEXCLAMATION);
    }
    if (write != ui::IDOK) {
        EndOpenFailed(&record);
        return false;
    }
    CloseLink(state_);
    record.writeAll = 0;
    ShowWritten(record);
    return true;
}

// Every early end of the road: no half-applied file stays in the record, no link stays open.
void CMainDialog::EndOpenFailed(ProjectorRecord* record) {
    RestoreDroppedRecord(record);
    CloseLink(state_);
}

void CMainDialog::RestoreDroppedRecord(ProjectorRecord* record) {
    if (droppedFile_ != 0 && record != nullptr) {
        // Byte for byte, so the record is exactly as it was before the drop.
        std::memcpy(static_cast<void*>(record), &droppedBackup_, sizeof droppedBackup_);
    }
}

// ---- connect by address -------------------------------------------------------------------

int CMainDialog::FindRecordOfAddress(const Octets& address) const {
    int found = -1;
    state_.projectors.ForEach([&](std::size_t index, const ProjectorRecord& record) {
        if (found < 0 && record.ipAddress == address) {
            found = static_cast<int>(index);
        }
    });
    return found;
}

void CMainDialog::ConnectByAddress() {
    CopyText(state_.pendingName, "");
    const int code = services_.runAddressEntry ? services_.runAddressEntry(*this) : ui::IDCANCEL;
    switch (code) {
        case kAddressConnectNew:
            if (AddProjectorByAddress(true, true) == 1) {
                OpenSelected();
            }
            break;
        case kAddressAddNew:
            AddProjectorByAddress(true, true);
            break;
        case kAddressAddSilent:
            // Listed before it is switched on: it shows as not answering until it answers a
            // greeting.
            if (AddProjectorByAddress(true, true) == 1) {
                presence_.MarkSilent(FormatDotted(state_.pendingAddress), std::time(nullptr));
                rows_->Model().PresenceChanged();
            }
            break;
        case kAddressConnectListed: {
            const int index = FindRecordOfAddress(state_.pendingAddress);
            if (index >= 0) {
                state_.selectedIndex = index;
                OpenSelected();
            }
            break;
        }
        case kAddressAddListed:
        default:
            break;
    }
}

// ---- file drop ----------------------------------------------------------------------------

void CMainDialog::OnFilesDropped(int row, const std::vector<std::string>& paths) {
    ui::CListView* list = List();
    if (list == nullptr || paths.empty() || busy_ != 0 || dropPending_) {
        return;
    }
    if (paths.size() > 1) {
        PostMessage(kShowWarningMessage, kStringNotSettingsFile);
        return;
    }
    ProjectorRecord* record = Rows().EntryAt(row).record;
    if (record == nullptr) {
        return;
    }
    const std::string& path = paths.front();
    if (!HasExtension(path, ".ini")) {
        PostMessage(kShowWarningMessage, kStringNotSettingsFile);
        return;
    }
    // A path too long to take whole is not read cut short: that would name another file.
    ProjectorRecord fromFile{};
    ProfileDocument document;
    if (path.size() > kDroppedPathLimit || LoadProfile(path, document) != FileRead::Loaded) {
        PostMessage(kShowWarningMessage, kStringSettingsFileUnreadable);
        return;
    }
    // A file that cannot be used says which key is wrong, as every other road does.
    if (const SettingsFileProblem problem = ReadCheckedSettings(document, fromFile)) {
        warningDetail_ = SettingsFileProblemText(problem, UserLanguage());
        PostMessage(kShowWarningMessage, kStringSettingsFileUnreadable);
        return;
    }
    // A file saved from another projector is refused.
    if (!IsEmptyText(record->macAddress) &&
        !EqualIgnoringCase(TextOf(record->macAddress), TextOf(fromFile.macAddress))) {
        PostMessage(kShowWarningMessage, kStringSettingsFileUnreadable);
        return;
    }
    std::memcpy(static_cast<void*>(&droppedBackup_), record, sizeof droppedBackup_);
    if (IsEmptyText(record->macAddress)) {
        record->macAddress = fromFile.macAddress;
    }
    // The file goes over the record once the projector has been read.
    droppedSettings_ = fromFile;
    // The two views share their selection; the one on screen takes the focus.
    list->SelectRow(row, !IsDetailsView());
    if (IsDetailsView()) {
        details_->scrollTo(details_->currentIndex());
        details_->setFocus(Qt::OtherFocusReason);
    }
    droppedFile_ = 1;
    dropPending_ = true;
    PostMessage(kOpenProjectorMessage, row);
}

}  // namespace lanterna::dialogs
