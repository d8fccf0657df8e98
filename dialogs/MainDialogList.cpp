// The projector list of the main window: refresh, adding by address and the import of a
// Sentro list file.

#include <memory>

#include "dialogs/DemonstrationProjectors.h"
#include "dialogs/MainDialog.h"
#include "dialogs/PresenceWatch.h"
#include "discovery/RemoveDuplicates.h"
#include "fleet/OtherSubnets.h"
#include "platform/FixedText.h"
#include "record/DottedAddress.h"
#include "resources/StringIds.h"
#include "resources/StringTable.h"
#include "settings/AddressBookStore.h"
#include "settings/MonitorList.h"
#include "state/DebugTrace.h"
#include "ui/ListView.h"
#include "ui/Text.h"

namespace lanterna::dialogs {
namespace {

constexpr std::size_t kDisplayLimit = ProjectorList::kDisplayLimit;

}  // namespace

std::string CMainDialog::RowLabelOf(const ProjectorRecord& record) {
    return ui::ToUtf8(CProjectorListModel::LabelOf(record));
}

int CMainDialog::RowImageOf(const ProjectorRecord& record) {
    return CProjectorListModel::ImageOf(record);
}

void CMainDialog::Refresh(bool useAddressBook) {
    if (List() == nullptr) {
        return;
    }
    // The search binds the hello port: no greeting may hold it meanwhile.
    if (presenceWatch_) {
        presenceWatch_->Pause();
    }
    const ProjectorList none;
    rows_->Model().Reset(none);  // no row may outlive its record
    state_.projectors.Clear();
    state_.selectedIndex = -1;
    presence_.Clear();  // what the search finds answered just now

    if (state_.debugMode != 0) {
        AppendDemonstrationProjectors(state_.projectors);
    }
    if (services_.runSearch) {
        otherSubnets_ = fleet::StoredSubnetAddresses(addressBook_.hive);
        services_.runSearch(*this, state_.projectors);
    }
    RemoveDuplicates(state_.projectors);

    if (useAddressBook && addressBookPending_ == 1) {
        LoadAddressBook(addressBook_.book, addressBook_.hive);
        addressBookPending_ = 0;
    }
    // What the user named (other subnets greeted, the address book) keeps its place; broadcast
    // replies fill what is left.
    std::vector<Octets> greeted;
    for (const std::string& address : otherSubnets_) {
        if (Octets octets{}; ScanDottedInto(address, octets) == 4) {
            greeted.push_back(octets);
        }
    }
    const bool crowded = MakeRoomFor(state_.projectors, greeted,
                                     AddressBookAddresses(addressBook_.book), kDisplayLimit) > 0;
    MergeAddressBook(addressBook_.book, state_.projectors);

    if (crowded || state_.projectors.Size() > kDisplayLimit) {
        ShowMessage(kStringDisplayLimit, ui::MB_ICONEXCLAMATION);
        state_.projectors.Truncate(kDisplayLimit);
    }
    JoinPjlinkTwinsReadBefore();
    rows_->Model().Reset(state_.projectors);
    if (presenceWatch_) {
        presenceWatch_->Resume();
    }
    DebugTrace("Refresh : %zu projectors", state_.projectors.Size());
    FitColumns();
    FitFirstStart();
    viewTrace_.start();
}

int CMainDialog::AddProjectorByAddress(bool showMessage, bool addRow) {
    if (state_.projectors.Size() >= kDisplayLimit) {
        if (showMessage) {
            ShowMessage(kStringDisplayLimit, ui::MB_ICONEXCLAMATION);
        }
        return 0;
    }
    auto record = std::make_unique<ProjectorRecord>();
    record->ipAddress = state_.pendingAddress;
    CopyText(record->address, FormatDotted(state_.pendingAddress));
    record->origin = kOriginAddress;
    if (!IsEmptyText(state_.pendingName)) {
        CopyText(record->projectorName, TextOf(state_.pendingName));
    }
    record->imType = state_.pendingType;
    ProjectorRecord* added = record.get();
    const std::size_t index = state_.projectors.Append(std::move(record));
    if (addRow && List() != nullptr) {
        rows_->Model().Append(added);
        SelectRecord(added);
        state_.selectedIndex = static_cast<std::int32_t>(index);
        addressBook_.book.Add(TextOf(added->projectorName), added->ipAddress, added->imType);
    }
    return 1;
}

void CMainDialog::OnImport() {
    const std::string path = services_.chooseListFile ? services_.chooseListFile(*this) : "";
    if (path.empty() || List() == nullptr) {
        return;
    }
    const std::size_t before = state_.projectors.Size();
    if (ImportMonitorList(path, state_.projectors) == 0) {
        ShowMessage(kStringSettingsFileUnreadable, ui::MB_ICONEXCLAMATION);
        return;
    }
    for (std::size_t position = before; position < state_.projectors.Size(); ++position) {
        if (position >= kDisplayLimit) {
            ShowMessage(kStringDisplayLimit, ui::MB_ICONEXCLAMATION);
            state_.projectors.Truncate(position);
            break;
        }
        ProjectorRecord* record = state_.projectors.At(static_cast<std::ptrdiff_t>(position));
        addressBook_.book.Add(TextOf(record->projectorName), record->ipAddress, record->imType);
        rows_->Model().Append(record);
    }
}

}  // namespace lanterna::dialogs
