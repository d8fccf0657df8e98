#include "settings/AddressBookStore.h"

#include <array>
#include <cstdio>
#include <vector>

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

}  // namespace

int LoadAddressBook(AddressBook& book, const HiveFile& hive) {
    RegistryKey key(hive);
    std::uint32_t count = 0;
    if (!OpenBookKey(key, count)) {
        return 0;
    }
    for (std::uint32_t i = 0; i < count; ++i) {
        std::string entry;
        if (key.GetString(EntryName(i), entry, kValueLimit) == 0) {
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
    std::vector<RegistryValue> values;
    values.reserve(2 * book.Size() + 1);
    values.push_back(DwordValue(std::string(kCountName), static_cast<std::uint32_t>(book.Size())));
    for (std::size_t i = 0; i < book.Size(); ++i) {
        const auto index = static_cast<std::uint32_t>(i);
        values.push_back(StringValue(EntryName(index), book.ManualEntries()[i]));
        values.push_back(StringValue(TypeName(index), book.ManualTypes()[i]));
    }
    RegistryKey key(hive);
    if (key.OpenOrCreate(RegistryRoot::CurrentUser, AddressBookKeyPath()) == 0) {
        return 0;
    }
    const int result = key.ReplaceValues(std::move(values));
    key.Close();
    return result;
}

}  // namespace lanterna
