#include "platform/RegistryKey.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>

#include "platform/DiskSpace.h"

namespace lanterna {

namespace {

// mkdir -p with private permissions for the folders it creates.
bool MakeFolders(const std::string& folder) {
    if (folder.empty() || folder == "." || folder == "/") {
        return true;
    }
    struct stat info {};
    if (::stat(folder.c_str(), &info) == 0) {
        return S_ISDIR(info.st_mode);
    }
    if (!MakeFolders(FolderOf(folder))) {
        return false;
    }
    return ::mkdir(folder.c_str(), 0700) == 0 || errno == EEXIST;
}

bool IsUsableKeyPath(std::string_view path) {
    return !path.empty() && path.front() != '\\' && path.back() != '\\' &&
           IsStorableRegistryName(path);
}

}  // namespace

std::string FullRegistryPath(RegistryRoot /*root*/, std::string_view path) {
    return "HKEY_CURRENT_USER\\" + std::string(path);
}

RegistryKey::RegistryKey(HiveFile hive) : hiveFile_(std::move(hive)) {}

std::optional<RegistryHive> RegistryKey::LoadHive() const {
    if (hiveFile_.path.empty()) {
        return std::nullopt;
    }
    std::string content;
    switch (ReadWholeFile(hiveFile_.path, kMaxHiveFileBytes, content)) {
        case FileRead::Loaded:
            return RegistryHive::Parse(content);
        case FileRead::Missing:
            return RegistryHive();
        default:
            return std::nullopt;  // left alone: neither read nor written over
    }
}

int RegistryKey::SaveHive(const RegistryHive& hive) const {
    if (!MakeFolders(FolderOf(hiveFile_.path))) {
        return 0;
    }
    // The hive may hold what users would rather keep to themselves: owner only.
    return ReplaceFileAtomically(hiveFile_.path, hive.Serialize(), hiveFile_.seam,
                                 FileAccess::kPrivate);
}

int RegistryKey::OpenOrCreate(RegistryRoot root, std::string_view path) {
    Close();
    if (!IsUsableKeyPath(path)) {
        return 0;
    }
    std::optional<RegistryHive> hive = LoadHive();
    if (!hive) {
        return 0;
    }
    const std::string fullPath = FullRegistryPath(root, path);
    if (hive->FindKey(fullPath) == nullptr) {
        hive->CreateKey(fullPath);
        if (SaveHive(*hive) == 0) {
            return 0;
        }
    }
    hive_ = std::move(*hive);
    open_ = fullPath;
    return 1;
}

int RegistryKey::Close() {
    if (!open_) {
        return 0;
    }
    open_.reset();
    hive_ = RegistryHive();
    return 1;
}

template <typename Change>
int RegistryKey::ChangeOpenKey(Change&& change) {
    if (!open_) {
        return 0;
    }
    std::optional<RegistryHive> hive = LoadHive();
    RegistryKeyEntry* key = hive ? hive->FindKey(*open_) : nullptr;
    if (key == nullptr) {
        return 0;  // the key was deleted since it was opened, or the hive became unreadable
    }
    change(*key);
    if (SaveHive(*hive) == 0) {
        return 0;
    }
    hive_ = std::move(*hive);
    return 1;
}

int RegistryKey::SetString(std::string_view name, std::string_view text) {
    if (!IsStorableRegistryName(name)) {
        return 0;
    }
    RegistryValue value{std::string(name), kRegistryString, std::string(text)};
    value.data.push_back('\0');
    return ChangeOpenKey([&](RegistryKeyEntry& key) { SetRegistryValue(key, std::move(value)); });
}

int RegistryKey::SetDword(std::string_view name, std::uint32_t number) {
    if (!IsStorableRegistryName(name)) {
        return 0;
    }
    RegistryValue value{std::string(name), kRegistryDword, std::string(4, '\0')};
    for (std::size_t i = 0; i < 4; ++i) {
        value.data[i] = static_cast<char>((number >> (8U * i)) & 0xFFU);
    }
    return ChangeOpenKey([&](RegistryKeyEntry& key) { SetRegistryValue(key, std::move(value)); });
}

int RegistryKey::CreateWithValues(RegistryRoot root, std::string_view path,
                                  std::vector<RegistryValue> values) {
    Close();
    const bool storable = std::all_of(values.begin(), values.end(), [](const RegistryValue& v) {
        return IsStorableRegistryName(v.name);
    });
    std::optional<RegistryHive> hive =
        IsUsableKeyPath(path) && storable ? LoadHive() : std::nullopt;
    if (!hive) {
        return 0;
    }
    const std::string fullPath = FullRegistryPath(root, path);
    RegistryKeyEntry& key = hive->CreateKey(fullPath);
    key.Clear();
    key.Reserve(values.size());
    for (RegistryValue& value : values) {
        key.Set(std::move(value));
    }
    if (SaveHive(*hive) == 0) {
        return 0;
    }
    hive_ = std::move(*hive);
    open_ = fullPath;
    return 1;
}

int RegistryKey::ReplaceValues(std::vector<RegistryValue> values) {
    for (const RegistryValue& value : values) {
        if (!IsStorableRegistryName(value.name)) {
            return 0;
        }
    }
    return ChangeOpenKey([&](RegistryKeyEntry& key) {
        key.Clear();
        for (RegistryValue& value : values) {
            SetRegistryValue(key, std::move(value));
        }
    });
}

const RegistryKeyEntry* RegistryKey::OpenEntry() const {
    return open_ ? hive_.FindKey(*open_) : nullptr;
}

int RegistryKey::GetString(std::string_view name, std::string& text, std::size_t limit) const {
    const RegistryKeyEntry* key = open_ ? hive_.FindKey(*open_) : nullptr;
    const RegistryValue* value = key != nullptr ? FindRegistryValue(*key, name) : nullptr;
    if (value == nullptr || value->type != kRegistryString || value->data.size() > limit) {
        return 0;
    }
    text = value->data.substr(0, value->data.find('\0'));
    return 1;
}

int RegistryKey::GetDword(std::string_view name, std::uint32_t& number) const {
    const RegistryKeyEntry* key = open_ ? hive_.FindKey(*open_) : nullptr;
    const RegistryValue* value = key != nullptr ? FindRegistryValue(*key, name) : nullptr;
    if (value == nullptr || value->type != kRegistryDword || value->data.size() != 4) {
        return 0;
    }
    number = 0;
    for (std::size_t i = 0; i < 4; ++i) {
        number |= static_cast<std::uint32_t>(static_cast<unsigned char>(value->data[i]))
                  << (8U * i);
    }
    return 1;
}

int RegistryKey::DeleteSubKey(RegistryRoot root, std::string_view path) {
    if (!IsUsableKeyPath(path)) {
        return 0;
    }
    std::optional<RegistryHive> hive = LoadHive();
    const std::string fullPath = FullRegistryPath(root, path);
    if (!hive || !hive->DeleteKey(fullPath) || SaveHive(*hive) == 0) {
        return 0;
    }
    if (open_) {
        hive_ = std::move(*hive);
    }
    return 1;
}

}  // namespace lanterna
