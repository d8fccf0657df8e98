#pragma once
// The address book: projectors the user added by address or imported, as two index-aligned
// text lists, and the stored entries it could not read (kept only to be written back).
// `ManualEntries()` holds "%s\n%d.%d.%d.%d" (name, line feed, dotted address), `ManualTypes()` the
// interface-module type as "%d" (an empty text reads as 0). The lists are changed in memory only;
// AddressBookStore.h loads and saves them. Not thread-safe: the application state owns one and uses
// it from one thread at a time.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/RegistryHive.h"
#include "record/DottedAddress.h"
#include "record/ProjectorList.h"

namespace lanterna {

// A stored entry that loading could not take (its text missing, too long or not a string): its
// two stored values as they were, absent ones empty. The book writes them back unchanged
// behind its own entries, so that a book read only in part never loses the rest.
struct UnreadEntry {
    std::optional<RegistryValue> entry;
    std::optional<RegistryValue> type;
};

class AddressBook {
  public:
    std::size_t Size() const { return entries_.size(); }
    bool Empty() const { return entries_.empty(); }
    const std::vector<std::string>& ManualEntries() const { return entries_; }
    const std::vector<std::string>& ManualTypes() const { return types_; }

    // Appends an entry text and its type text as they stand (used by loading).
    void Append(std::string entry, std::string type);
    // Add: appends the entry of a projector with this name, address and module type.
    void Add(std::string_view name, const Octets& address, std::uint8_t imType);
    // Remove: removes the first entry whose address text (after the line feed) equals
    // `address` byte for byte, with its type. False when there is none.
    bool RemoveAddress(std::string_view address);
    // Rename: every entry whose address text equals `currentAddress` becomes the entry of
    // `name` and `address`; its type stays. Returns how many entries changed.
    std::size_t Rename(std::string_view currentAddress, std::string_view name,
                       const Octets& address);
    void Clear();

    // The stored entries from the first one that could not be loaded onwards, in their order.
    const std::vector<UnreadEntry>& Unread() const { return unread_; }
    void KeepUnread(std::vector<UnreadEntry> unread) { unread_ = std::move(unread); }

  private:
    std::vector<std::string> entries_;
    std::vector<std::string> types_;
    std::vector<UnreadEntry> unread_;
};

// "%s\n%d.%d.%d.%d" of the name and the address.
std::string FormatAddressBookEntry(std::string_view name, const Octets& address);

// The text after the first line feed of an entry; nullopt for an entry without one.
std::optional<std::string_view> AddressTextOf(std::string_view entry);

// Merge at refresh: for each entry in order that names a full dotted address not yet in
// `projectors`, appends a record (origin 1, the address, the name when not empty, the type)
// while the list holds fewer than ProjectorList::kDisplayLimit records. Entries without a line
// feed or without four numbers are passed over (they stay in the book). Returns how many
// records were added.
std::size_t MergeAddressBook(const AddressBook& book, ProjectorList& projectors);

// The full dotted addresses the entries name, in order, as MergeAddressBook takes them.
std::vector<Octets> AddressBookAddresses(const AddressBook& book);

}  // namespace lanterna
