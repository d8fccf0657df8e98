// The projector list of the main window: refresh, rows, adding by address and the import of a
// Sentro list file.

#include <memory>

#include "dialogs/DemonstrationProjectors.h"
#include "dialogs/MainDialog.h"
#include "discovery/RemoveDuplicates.h"
#include "platform/FixedText.h"
#include "record/DottedAddress.h"
#include "resources/StringIds.h"
#include "resources/StringTable.h"
#include "settings/AddressBookStore.h"
#include "settings/MonitorList.h"
#include "state/DebugTrace.h"
#include "ui/ListView.h"

namespace lanterna::dialogs {
namespace {

constexpr std::size_t kDisplayLimit = ProjectorList::kDisplayLimit;

}  // namespace

std::string CMainDialog::RowLabelOf(const ProjectorRecord& record) {
    return FormatAddressBookEntry(TextOf(record.projectorName), record.ipAddress);
}

int CMainDialog::RowImageOf(const ProjectorRecord& record) {
    return record.origin == 0 ? kImageProjectorFound : kImageProjectorAdded;
}

void CMainDialog::InsertFixedRows() {
    ui::CListView* list = List();
    list->InsertItem(nextRow_++, LoadString(kStringConnectByAddress), kImageConnectByAddress);
    list->InsertItem(nextRow_++, LoadString(kStringWiredConfigFileRow), kImageWiredFile);
    list->InsertItem(nextRow_++, LoadString(kStringWirelessConfigFileRow), kImageWirelessFile);
}

int CMainDialog::InsertProjectorRow(const ProjectorRecord& record) {
    return List()->InsertItem(nextRow_++, RowLabelOf(record), RowImageOf(record));
}

void CMainDialog::Refresh(bool useAddressBook) {
    ui::CListView* list = List();
    if (list == nullptr) {
        return;
    }
    list->DeleteAllItems();
    state_.projectors.Clear();
    state_.selectedIndex = -1;
    nextRow_ = 0;
    InsertFixedRows();

    if (state_.debugMode != 0) {
        AppendDemonstrationProjectors(state_.projectors);
    }
    if (services_.runSearch) {
        services_.runSearch(*this, state_.projectors);
    }
    RemoveDuplicates(state_.projectors);

    if (useAddressBook && addressBookPending_ == 1) {
        LoadAddressBook(addressBook_.book, addressBook_.hive);
        addressBookPending_ = 0;
    }
    MergeAddressBook(addressBook_.book, state_.projectors);

    // Rows and records stay index-aligned: the records past the limit go with their rows.
    if (state_.projectors.Size() > kDisplayLimit) {
        ShowMessage(kStringDisplayLimit, ui::MB_ICONEXCLAMATION);
        state_.projectors.Truncate(kDisplayLimit);
    }
    state_.projectors.ForEach(
        [this](std::size_t, const ProjectorRecord& record) { InsertProjectorRow(record); });
    DebugTrace("Refresh : %zu projectors", state_.projectors.Size());
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
    record->origin = 1;
    if (!IsEmptyText(state_.pendingName)) {
        CopyText(record->projectorName, TextOf(state_.pendingName));
    }
    record->imType = state_.pendingType;
    const ProjectorRecord& added = *record;
    state_.projectors.Append(std::move(record));
    if (addRow && List() != nullptr) {
        const int row = InsertProjectorRow(added);
        state_.selectedIndex = row - kFirstProjectorRow;
        addressBook_.book.Add(TextOf(added.projectorName), added.ipAddress, added.imType);
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
        const ProjectorRecord& record =
            *state_.projectors.At(static_cast<std::ptrdiff_t>(position));
        addressBook_.book.Add(TextOf(record.projectorName), record.ipAddress, record.imType);
        InsertProjectorRow(record);
    }
}

}  // namespace lanterna::dialogs
