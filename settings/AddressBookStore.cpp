#include "settings/AddressBookStore.h"

#include <array>
#include <charconv>
#include <cstdio>
#include <map>
#include <optional>
#include <utility>
#include <vector>

#include "platform/AsciiCase.h"

namespace lanterna {

namespace {

constexpr std::string_view kCountName = "Count";
// Entry and type texts are read as into a zeroed 36-byte buffer with a limit of 35 bytes.
constexpr std::size_t kValueLimit = 35;

std::string EntryName(std::uint32_t index) {
    std::array<char, 16> name{};
    std::snprintf(name.data(), name.size(), "%02u", index);
    return name.data();
}

std::string TypeName(std::uint32_t index) {
    return EntryName(index) + "TYPE";
}

RegistryValue StringValue(std::string name, std::string_view text) {
    RegistryValue value{std::move(name), kRegistryString, std::string(text)};
    value.data.push_back('\0');
    return value;
}

RegistryValue DwordValue(std::string name, std::uint32_t number) {
    RegistryValue value{std::move(name), kRegistryDword, std::string(4, '\0')};
    for (std::size_t i = 0; i < 4; ++i) {
        value.data[i] = static_cast<char>((number >> (8U * i)) & 0xFFU);
    }
    return value;
}

}  // namespace

std::string AddressBookKeyPath() {
    return std::string(kProgramKeyPath) + std::string(kAddressBookSubKey);
}

namespace {

// Opens (creating when missing) the address book's key and reads its entry count; a missing
// count is an empty book.
bool OpenBookKey(RegistryKey& key, std::uint32_t& count) {
    if (key.OpenOrCreate(RegistryRoot::CurrentUser, AddressBookKeyPath()) == 0) {
        return false;
    }
    if (key.GetDword(kCountName, count) == 0) {
        count = 0;
    }
    return true;
}

// The index of an entry value ("07") or a type value ("07TYPE", any letter case) as the
// store names them; nullopt for any other name.
std::optional<std::pair<std::uint32_t, bool>> EntryIndexOf(std::string_view name) {
    constexpr std::string_view kTypeSuffix = "TYPE";
    const bool isType =
        name.size() > kTypeSuffix.size() &&
        EqualIgnoringCase(name.substr(name.size() - kTypeSuffix.size()), kTypeSuffix);
    const std::string_view digits =
        isType ? name.substr(0, name.size() - kTypeSuffix.size()) : name;
    std::uint32_t index = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), index);
    if (error != std::errc() || end != digits.data() + digits.size() || digits.empty() ||
        EntryName(index) != digits) {
        return std::nullopt;
    }
    return std::make_pair(index, isType);
}

// The stored values of the entries from `first` to `count` - 1, in index order. Goes through
// the key's values (not the indexes), so a huge count with few values costs nothing.
std::vector<UnreadEntry> CollectUnread(const RegistryKey& key, std::uint32_t first,
                                       std::uint32_t count) {
    const RegistryKeyEntry* entry = key.OpenEntry();
    if (entry == nullptr) {
        return {};
    }
    std::map<std::uint32_t, UnreadEntry> found;
    for (const RegistryValue& value : entry->Values()) {
        const auto index = EntryIndexOf(value.name);
        if (!index || index->first < first || index->first >= count) {
            continue;
        }
        UnreadEntry& unread = found[index->first];
        (index->second ? unread.type : unread.entry) = value;
    }
    std::vector<UnreadEntry> unread;
    unread.reserve(found.size());
    for (auto& [index, values] : found) {
        unread.push_back(std::move(values));
    }
    return unread;
}

}  // namespace

int LoadAddressBook(AddressBook& book, const HiveFile& hive) {
    RegistryKey key(hive);
    std::uint32_t count = 0;
    if (!OpenBookKey(key, count)) {
        return 0;
    }
    book.KeepUnread({});
    for (std::uint32_t i = 0; i < count; ++i) {
        std::string entry;
        if (key.GetString(EntryName(i), entry, kValueLimit) == 0) {
            book.KeepUnread(CollectUnread(key, i, count));
            return 0;
        }
        std::string type;
        if (key.GetString(TypeName(i), type, kValueLimit) == 0) {
            type.clear();
        }
        book.Append(std::move(entry), std::move(type));
    }
    key.Close();
    return 1;
}

int AppendAddressBookEntry(std::string_view entry, std::string_view type, const HiveFile& hive) {
    RegistryKey key(hive);
    std::uint32_t count = 0;
    if (!OpenBookKey(key, count)) {
        return 0;
    }
    key.SetString(EntryName(count), entry);
    key.SetString(TypeName(count), type);
    const int result = key.SetDword(kCountName, count + 1);
    key.Close();
    return result;
}

int SaveAddressBook(const AddressBook& book, const HiveFile& hive) {
    const std::size_t total = book.Size() + book.Unread().size();
    std::vector<RegistryValue> values;
    values.reserve(2 * total + 1);
    values.push_back(DwordValue(std::string(kCountName), static_cast<std::uint32_t>(total)));
    for (std::size_t i = 0; i < book.Size(); ++i) {
        const auto index = static_cast<std::uint32_t>(i);
        values.push_back(StringValue(EntryName(index), book.ManualEntries()[i]));
        values.push_back(StringValue(TypeName(index), book.ManualTypes()[i]));
    }
    // Behind them, the entries that could not be read, each value as it was stored.
    for (std::size_t i = 0; i < book.Unread().size(); ++i) {
        const auto index = static_cast<std::uint32_t>(book.Size() + i);
        const UnreadEntry& unread = book.Unread()[i];
        if (unread.entry) {
            values.push_back({EntryName(index), unread.entry->type, unread.entry->data});
        }
        if (unread.type) {
            values.push_back({TypeName(index), unread.type->type, unread.type->data});
        }
    }
    RegistryKey key(hive);
    const int result =
        key.CreateWithValues(RegistryRoot::CurrentUser, AddressBookKeyPath(), std::move(values));
    key.Close();
    return result;
}

}  // namespace lanterna
