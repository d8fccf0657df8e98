#include "settings/OtherSubnets.h"

#include <algorithm>
#include <string_view>

namespace lanterna {
namespace {

constexpr std::string_view kSubnetsSubKey = "\\Subnets";

bool IsStorableEntry(const std::string& entry) {
    return !entry.empty() && entry.size() <= kSubnetEntryMaxBytes &&
           entry.find('\0') == std::string::npos;
}

}  // namespace

std::string OtherSubnetsKeyPath() {
    return std::string(kProgramKeyPath) + std::string(kSubnetsSubKey);
}

int LoadOtherSubnets(std::vector<std::string>& entries, const HiveFile& hive) {
    entries.clear();
    RegistryKey key(hive);
    if (key.OpenOrCreate(RegistryRoot::CurrentUser, OtherSubnetsKeyPath()) != 1) {
        return 0;
    }
    for (std::size_t number = 1; number <= kMaxSubnetEntries; ++number) {
        std::string entry;
        if (key.GetString(std::to_string(number), entry, kSubnetEntryMaxBytes + 1) != 1 ||
            entry.empty()) {
            break;
        }
        entries.push_back(std::move(entry));
    }
    return 1;
}

int SaveOtherSubnets(const std::vector<std::string>& entries, const HiveFile& hive) {
    if (entries.size() > kMaxSubnetEntries ||
        !std::all_of(entries.begin(), entries.end(), IsStorableEntry)) {
        return 0;
    }
    std::vector<RegistryValue> values;
    values.reserve(entries.size());
    for (std::size_t i = 0; i < entries.size(); ++i) {
        values.push_back({std::to_string(i + 1), kRegistryString, entries[i] + '\0'});
    }
    RegistryKey key(hive);
    return key.CreateWithValues(RegistryRoot::CurrentUser, OtherSubnetsKeyPath(),
                                std::move(values));
}

}  // namespace lanterna
