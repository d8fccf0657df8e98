#include <memory>

#include "platform/DecimalText.h"
#include "record/ProjectorRecord.h"
#include "settings/AddressBook.h"
#include "settings/ValidationRules.h"

namespace lanterna {

namespace {

constexpr std::size_t kAddressTextLimit = 20;

// The address entry `i` names; none for an entry without a full dotted one.
std::optional<Octets> EntryAddress(const AddressBook& book, std::size_t i) {
    const std::optional<std::string_view> addressText = AddressTextOf(book.ManualEntries()[i]);
    Octets address{};
    if (!addressText || ScanDottedInto(addressText->substr(0, kAddressTextLimit), address) != 4) {
        return std::nullopt;
    }
    return address;
}

}  // namespace

std::vector<Octets> AddressBookAddresses(const AddressBook& book) {
    std::vector<Octets> addresses;
    for (std::size_t i = 0; i < book.Size(); ++i) {
        if (const auto address = EntryAddress(book, i)) {
            addresses.push_back(*address);
        }
    }
    return addresses;
}

std::size_t MergeAddressBook(const AddressBook& book, ProjectorList& projectors) {
    std::size_t added = 0;
    for (std::size_t i = 0; i < book.Size(); ++i) {
        const std::string_view entry = book.ManualEntries()[i];
        const std::optional<Octets> found = EntryAddress(book, i);
        if (!found) {
            continue;
        }
        const Octets address = *found;
        if (IsAddressUnique(projectors, address, kSkipNone) == 0 ||
            projectors.Size() >= ProjectorList::kDisplayLimit) {
            continue;
        }
        auto record = std::make_unique<ProjectorRecord>();
        record->origin = kOriginAddress;
        record->ipAddress = address;
        CopyText(record->address, FormatDotted(address));
        const std::string_view name =
            entry.substr(0, entry.find('\n')).substr(0, kProjectorNameMax);
        if (!name.empty()) {
            CopyText(record->projectorName, name);
        }
        record->imType = static_cast<std::uint8_t>(LeadingDecimal(book.ManualTypes()[i]));
        projectors.Append(std::move(record));
        ++added;
    }
    return added;
}

}  // namespace lanterna
