#include "settings/MonitorList.h"

#include <array>
#include <cstdio>
#include <memory>
#include <optional>
#include <set>
#include <string_view>

#include "platform/DecimalText.h"
#include "platform/ProfileFile.h"
#include "record/ProjectorRecord.h"
#include "settings/ValidationRules.h"

namespace lanterna {

namespace {

constexpr std::string_view kSection = "PROJECTOR";
constexpr std::string_view kMissingValue = "DEFAULT";
constexpr std::size_t kValueBufferBytes = 2048;
constexpr std::size_t kAddressLimit = 20;
constexpr std::string_view kTypePrefix = "imtype_";  // key names are compared in lower case

// The projector number i whose "%03d" is `digits`, or nullopt when no number prints that way
// (a leading zero beyond the padding, a sign, too many digits).
std::optional<int> ProjectorNumberOf(std::string_view digits) {
    if (digits.empty() || digits.size() > 10 ||
        digits.find_first_not_of("0123456789") != std::string_view::npos) {
        return std::nullopt;
    }
    const int number = LeadingDecimal(digits);
    std::array<char, 16> printed{};
    std::snprintf(printed.data(), printed.size(), "%03d", number);
    return std::string_view(printed.data()) == digits ? std::optional(number) : std::nullopt;
}

std::string KeyName(std::string_view stem, int number) {
    std::array<char, 32> name{};
    std::snprintf(name.data(), name.size(), "%.*s_%03d", static_cast<int>(stem.size()), stem.data(),
                  number);
    return name.data();
}

// The value as the platform's reader hands it out with the "DEFAULT" default.
std::string ValueOf(const std::unordered_map<std::string, std::optional<std::string>>& keys,
                    std::string_view stem, int number) {
    std::string name = KeyName(stem, number);
    for (char& c : name) {
        c = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    }
    const auto found = keys.find(name);
    const std::string value =
        found != keys.end() && found->second ? *found->second : std::string(kMissingValue);
    return value.substr(0, kValueBufferBytes - 1);
}

}  // namespace

int ImportMonitorDocument(const ProfileDocument& document, ProjectorList& projectors) {
    const int count = ProfileInt(document, kSection, "Count", 0);
    if (count <= 0) {
        return 0;
    }
    const auto keys = document.KeyTable(kSection);
    // Only numbers with a module type can yield a record; visit them in ascending order.
    std::set<int> numbers;
    for (const auto& [name, value] : keys) {
        if (value && name.starts_with(kTypePrefix)) {
            const auto number =
                ProjectorNumberOf(std::string_view(name).substr(kTypePrefix.size()));
            if (number && *number < count) {
                numbers.insert(*number);
            }
        }
    }
    for (const int number : numbers) {
        const std::string type = ValueOf(keys, "IMType", number);
        if (type == kMissingValue || type == "20") {
            continue;
        }
        auto record = std::make_unique<ProjectorRecord>();
        record->origin = kOriginImport;
        record->imType = static_cast<std::uint8_t>(LeadingDecimal(type));
        // A type written another way ("020", " 20") still names the rejected module.
        if (record->imType == kImTypeRejected) {
            continue;
        }
        const std::string name = ValueOf(keys, "Name", number);
        if (name != kMissingValue) {
            CopyText(record->projectorName, name, kProjectorNameMax);
        }
        const std::string address = ValueOf(keys, "Address", number);
        if (address != kMissingValue) {
            CopyText(record->address, address, kAddressLimit);
            ScanDottedInto(address, record->ipAddress);
        }
        if (IsHostAddress(record->ipAddress) == 0 ||
            IsAddressUnique(projectors, record->ipAddress, kSkipNone) == 0) {
            continue;
        }
        projectors.Append(std::move(record));
        if (projectors.Size() > ProjectorList::kDisplayLimit) {
            break;
        }
    }
    return 1;
}

int ImportMonitorList(const std::string& path, ProjectorList& projectors) {
    ProfileDocument document;
    LoadProfile(path, document);
    return ImportMonitorDocument(document, projectors);
}

}  // namespace lanterna
