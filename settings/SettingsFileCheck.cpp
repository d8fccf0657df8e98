#include "settings/SettingsFileCheck.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <set>
#include <string_view>

#include "resources/StringIds.h"
#include "resources/TextPattern.h"
#include "settings/SettingsFile.h"

namespace lanterna {

namespace {

// Which module types the reader takes a key from.
enum class KeyModules { kAll, kExtended, kBasic };

struct CheckedKey {
    std::string_view section;
    std::string_view key;
    std::int32_t ProjectorRecord::*state;  // null: not judged (any text goes)
    KeyModules modules = KeyModules::kAll;
};

using R = ProjectorRecord;

// Every key of the current key set, in the order a save writes them.
constexpr std::array<CheckedKey, 40> kCheckedKeys{{
    {"COMMON", "NM_PROJECTORNAME", &R::projectorNameState},
    {"COMMON", "NM_MACADDR", nullptr},
    {"COMMON", "NM_IMTYPE", nullptr},
    {"COMMON", "NM_PRIMIF", &R::primaryInterfaceState},
    {"FILE", "NM_INIVER", nullptr},
    {"NETWORK", "NM_DHCP", &R::dhcpState},
    {"NETWORK", "NM_IP", &R::ipAddressState},
    {"NETWORK", "NM_SUBNET", &R::subnetMaskState},
    {"NETWORK", "NM_GATEWAY", &R::gatewayState},
    {"NETWORK", "NM_DNS1", &R::dns1State},
    {"NETWORK", "NM_DNS2", &R::dns2State},
    {"NETWORK", "NM_DNSDOMAIN", &R::dnsDomainState},
    {"NETWORK", "NM_WINS1", &R::wins1State},
    {"NETWORK", "NM_WINS2", &R::wins2State},
    {"SMTP", "NM_SMTPALART", &R::mailNotifyState},
    {"SMTP", "NM_SMTPSERVER", &R::smtpServerState},
    {"SMTP", "NM_SMTPPORT", &R::smtpPortState},
    {"SMTP", "NM_TO1", &R::mailTo1State},
    {"SMTP", "NM_TO2", &R::mailTo2State},
    {"SMTP", "NM_TO3", &R::mailTo3State},
    {"SMTP", "NM_TO1EVENT", &R::mailEvents1State},
    {"SMTP", "NM_TO2EVENT", &R::mailEvents2State},
    {"SMTP", "NM_TO3EVENT", &R::mailEvents3State},
    {"SNMP", "NM_TRAP1", &R::trapAddress1State},
    {"SNMP", "NM_TRAP2", &R::trapAddress2State},
    {"SNMP", "NM_COMMUNITY", &R::communityState},
    {"WLAN", "NM_ESSID", &R::essidState},
    {"WLAN", "NM_SEC0", &R::securityState, KeyModules::kExtended},
    {"WLAN", "NM_SEC1", &R::securityState, KeyModules::kExtended},
    {"WLAN", "NM_SEC2", &R::securityState, KeyModules::kExtended},
    {"WLAN", "NM_SEC3", &R::securityState, KeyModules::kExtended},
    {"WLAN", "NM_WEPID", &R::wepKeyIdState, KeyModules::kExtended},
    {"WLAN", "NM_WEPKEY1", &R::wepKey1State, KeyModules::kExtended},
    {"WLAN", "NM_WEPKEY2", &R::wepKey2State, KeyModules::kExtended},
    {"WLAN", "NM_WEPKEY3", &R::wepKey3State, KeyModules::kExtended},
    {"WLAN", "NM_WEPKEY4", &R::wepKey4State, KeyModules::kExtended},
    {"WLAN", "NM_WEP", &R::wepEnabledState, KeyModules::kBasic},
    {"WLAN", "NM_WEPKEY", &R::wepKeyState, KeyModules::kBasic},
    {"WLAN", "NM_ADHOC", &R::adhocState},
}};

std::string UpperCase(std::string_view text) {
    std::string upper(text);
    std::transform(upper.begin(), upper.end(), upper.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return upper;
}

bool IsReadFor(const CheckedKey& key, const ProjectorRecord& record) {
    const bool extended = record.imType == kImTypeExtendedWireless;
    return key.modules == KeyModules::kAll || (key.modules == KeyModules::kExtended) == extended;
}

// A key line without '=' or a key that no settings file has, in the sections the file uses.
SettingsFileProblem CheckKeyLines(const ProfileDocument& document) {
    std::set<std::string_view> sections;
    for (const CheckedKey& key : kCheckedKeys) {
        sections.insert(key.section);
    }
    for (const std::string_view section : sections) {
        const auto table = document.KeyTable(section);
        std::set<std::string> names;  // sorted: the same problem named every time
        for (const auto& [name, value] : table) {
            names.insert(name);
        }
        for (const std::string& name : names) {
            const std::string upper = UpperCase(name);
            if (!table.at(name)) {
                return {SettingsFileFault::kKeyWithoutValue, std::string(section), upper, {}};
            }
            const bool known = std::any_of(kCheckedKeys.begin(), kCheckedKeys.end(),
                                           [&](const CheckedKey& key) {
                                               return key.section == section && key.key == upper;
                                           });
            if (!known) {
                return {SettingsFileFault::kUnknownKey, std::string(section), upper, {}};
            }
        }
    }
    return {};
}

}  // namespace

SettingsFileProblem CheckSettingsDocument(const ProfileDocument& document,
                                          const ProjectorRecord& record) {
    if (!document.Find("FILE", "NM_INIVER")) {
        return {SettingsFileFault::kNoVersion, "FILE", "NM_INIVER", {}};
    }
    if (SettingsFileProblem problem = CheckKeyLines(document)) {
        return problem;
    }
    bool anySetting = false;
    for (const CheckedKey& key : kCheckedKeys) {
        const std::optional<std::string> value = document.Find(key.section, key.key);
        // An empty value reads as a key not given (a name, a community, an address).
        if (!value || value->empty() || key.state == nullptr || !IsReadFor(key, record)) {
            continue;
        }
        if (record.*key.state == kStateUnknown) {
            return {SettingsFileFault::kBadValue, std::string(key.section), std::string(key.key),
                    *value};
        }
        anySetting = true;
    }
    if (!anySetting) {
        return {SettingsFileFault::kNoSetting, {}, {}, {}};
    }
    return {};
}

std::optional<std::string> RestorableSettingsText(const ProjectorRecord& record) {
    ProfileDocument saved;
    if (!StoreSettings(record, saved)) {
        return std::nullopt;
    }
    const ProfileDocument written(saved.Serialize());
    ProfileDocument restorable;
    for (const CheckedKey& key : kCheckedKeys) {
        const std::optional<std::string> value = written.Find(key.section, key.key);
        if (value && (key.state == nullptr || record.*key.state != kStateUnknown) &&
            !restorable.Set(key.section, key.key, *value)) {
            return std::nullopt;
        }
    }
    return restorable.Serialize();
}

std::string SettingsFileProblemText(const SettingsFileProblem& problem, Language language) {
    switch (problem.fault) {
        case SettingsFileFault::kNone:
            return {};
        case SettingsFileFault::kNoVersion:
            return FormatString(kStringFileNoVersion, language, {});
        case SettingsFileFault::kBadValue:
            return FormatString(kStringFileBadValue, language,
                                {problem.section, problem.key, problem.value});
        case SettingsFileFault::kKeyWithoutValue:
            return FormatString(kStringFileKeyWithoutValue, language,
                                {problem.section, problem.key});
        case SettingsFileFault::kUnknownKey:
            return FormatString(kStringFileUnknownKey, language, {problem.section, problem.key});
        case SettingsFileFault::kNoSetting:
            return FormatString(kStringFileNoSetting, language, {});
    }
    return {};
}

}  // namespace lanterna
