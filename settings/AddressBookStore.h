#pragma once
// The address book in the registry: key "Software\MIRAL VANTA\Lanterna\Manual" under
// HKEY_CURRENT_USER with "Count" (DWORD) and, for entry i, "%02d" (the entry text) and
// "%02dTYPE" (the type text). Results are 1 on success and 0 on failure; the callers never show
// them.

#include <string>
#include <string_view>

#include "platform/RegistryKey.h"
#include "settings/AddressBook.h"

namespace lanterna {

// "Software\MIRAL VANTA\Lanterna\Manual".
std::string AddressBookKeyPath();

// Appends the stored entries to `book`. 0 when the key could not be opened (the book is then
// unchanged) or an entry text is missing or too long (the entries before it stay, and that one
// and every later one up to "Count" is kept in the book's Unread list as stored); a missing
// type text loads as the empty text. Time linear in the number of entries.
int LoadAddressBook(AddressBook& book, const HiveFile& hive = HiveFile::UserDefault());

// Adds one entry behind the stored ones; the result of writing the new "Count".
int AppendAddressBookEntry(std::string_view entry, std::string_view type,
                           const HiveFile& hive = HiveFile::UserDefault());

// Replaces the stored list with `book`, numbered from 00 without gaps and "Count" the number
// of entries, in one atomic save: an interrupted or failed save leaves the stored list as it
// was. The book's unread entries follow its own, each value as it was stored.
int SaveAddressBook(const AddressBook& book, const HiveFile& hive = HiveFile::UserDefault());

}  // namespace lanterna
