#include "settings/SettingsFileKeys.h"

#include <algorithm>
#include <array>

#include "platform/AsciiCase.h"
#include "resources/StringIds.h"
#include "resources/TextPattern.h"

namespace lanterna {

namespace {

using R = ProjectorRecord;
using F = FileValueForm;

constexpr FileValueRule kFlag{F::kFlag};
constexpr FileValueRule kAddress{F::kAddress};
constexpr FileValueRule kEvents{F::kNumber, 0, 0x7FF};
constexpr FileValueRule kDigit{F::kNumber, 0, 9};
constexpr FileValueRule kTwoDigits{F::kNumber, 0, 99};

constexpr FileValueRule Text(std::uint32_t bytes) {
    return {F::kText, 0, bytes};
}

constexpr std::array<SettingsFileKey, 40> kKeys{{
    {"COMMON", "PROJECTORNAME", Text(15), true, "projectorName", &R::projectorNameState},
    {"COMMON", "MACADDR", {F::kHardwareAddress}, true, {}, nullptr},
    {"COMMON", "IMTYPE", {F::kNumber, 0, 255}, false, {}, nullptr},
    {"COMMON", "PRIMIF", kFlag, false, "primaryInterface", &R::primaryInterfaceState},
    {"FILE", "INIVER", {F::kAny}, false, {}, nullptr},
    {"NETWORK", "DHCP", kFlag, true, "dhcp", &R::dhcpState},
    {"NETWORK", "IP", kAddress, true, "ipAddress", &R::ipAddressState},
    {"NETWORK", "SUBNET", kAddress, true, "subnetMask", &R::subnetMaskState},
    {"NETWORK", "GATEWAY", kAddress, true, "gateway", &R::gatewayState},
    {"NETWORK", "DNS1", kAddress, true, "dns1", &R::dns1State},
    {"NETWORK", "DNS2", kAddress, true, "dns2", &R::dns2State},
    {"NETWORK", "DNSDOMAIN", Text(96), true, "dnsDomain", &R::dnsDomainState},
    {"NETWORK", "WINS1", kAddress, true, "wins1", &R::wins1State},
    {"NETWORK", "WINS2", kAddress, true, "wins2", &R::wins2State},
    {"SMTP", "SMTPALART", kFlag, true, "mailNotify", &R::mailNotifyState},
    {"SMTP", "SMTPSERVER", kAddress, true, "smtpServer", &R::smtpServerState},
    {"SMTP", "SMTPPORT", {F::kNumber, 0, 65535}, true, "smtpPort", &R::smtpPortState},
    {"SMTP", "TO1", Text(64), true, "mailTo1", &R::mailTo1State},
    {"SMTP", "TO2", Text(64), true, "mailTo2", &R::mailTo2State},
    {"SMTP", "TO3", Text(64), true, "mailTo3", &R::mailTo3State},
    {"SMTP", "TO1EVENT", kEvents, true, "mailEvents1", &R::mailEvents1State},
    {"SMTP", "TO2EVENT", kEvents, true, "mailEvents2", &R::mailEvents2State},
    {"SMTP", "TO3EVENT", kEvents, true, "mailEvents3", &R::mailEvents3State},
    {"SNMP", "TRAP1", kAddress, true, "trapAddress1", &R::trapAddress1State},
    {"SNMP", "TRAP2", kAddress, true, "trapAddress2", &R::trapAddress2State},
    {"SNMP", "COMMUNITY", Text(8), true, "community", &R::communityState},
    // The ESSID as a projector reports it: a space is part of an ESSID that was read.
    {"WLAN", "ESSID", {F::kEssid, 0, 32}, true, "essid", &R::essidState},
    {"WLAN", "SEC0", kDigit, false, "security", &R::securityState},
    {"WLAN", "SEC1", kDigit, false, "security", &R::securityState},
    {"WLAN", "SEC2", kTwoDigits, false, "security", &R::securityState},
    {"WLAN", "SEC3", kTwoDigits, false, "security", &R::securityState},
    {"WLAN", "WEPID", {F::kNumber, 1, 4}, false, "wepKeyId", &R::wepKeyIdState},
    {"WLAN", "WEPKEY1", Text(26), false, "wepKey1", &R::wepKey1State},
    {"WLAN", "WEPKEY2", Text(26), false, "wepKey2", &R::wepKey2State},
    {"WLAN", "WEPKEY3", Text(26), false, "wepKey3", &R::wepKey3State},
    {"WLAN", "WEPKEY4", Text(26), false, "wepKey4", &R::wepKey4State},
    {"WLAN", "WEP", kFlag, true, "wepEnabled", &R::wepEnabledState},
    {"WLAN", "WEPKEY", Text(26), true, "wepKey", &R::wepKeyState},
    {"WLAN", "ADHOC", kFlag, true, "adhoc", &R::adhocState},
}};

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

bool IsHexDigit(char c) {
    return IsDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

// One to `digits` decimal digits from `low` to `high`.
bool IsDecimal(std::string_view text, std::size_t digits, std::uint64_t low, std::uint64_t high) {
    if (text.empty() || text.size() > digits || !std::all_of(text.begin(), text.end(), IsDigit)) {
        return false;
    }
    std::uint64_t value = 0;
    for (const char c : text) {
        value = value * 10 + static_cast<std::uint64_t>(c - '0');
    }
    return value >= low && value <= high;
}

bool IsDottedAddress(std::string_view text) {
    for (int part = 0; part < 4; ++part) {
        const std::size_t dot = text.find('.');
        const bool last = part == 3;
        if ((dot == std::string_view::npos) != last ||
            !IsDecimal(text.substr(0, dot), 3, 0, 255)) {
            return false;
        }
        text.remove_prefix(last ? text.size() : dot + 1);
    }
    return true;
}

bool IsEssidByte(char c) {
    return c >= 0x20 && c <= 0x7E && c != ':';
}

}  // namespace

std::span<const SettingsFileKey> SettingsFileKeys() {
    return kKeys;
}

const SettingsFileKey* FindSettingsFileKey(std::string_view section, std::string_view name,
                                           bool older) {
    if (!older) {
        if (!EqualIgnoringCase(name.substr(0, kCurrentKeyPrefix.size()), kCurrentKeyPrefix)) {
            return nullptr;
        }
        name.remove_prefix(kCurrentKeyPrefix.size());
    }
    for (const SettingsFileKey& key : kKeys) {
        if ((key.older || !older) && EqualIgnoringCase(key.section, section) &&
            EqualIgnoringCase(key.name, name)) {
            return &key;
        }
    }
    return nullptr;
}

std::string SettingsFileKeyName(const SettingsFileKey& key, bool older) {
    return (older ? std::string() : std::string(kCurrentKeyPrefix)) + std::string(key.name);
}

bool IsFileValue(const FileValueRule& rule, std::string_view value) {
    switch (rule.form) {
        case F::kAny:
            return true;
        case F::kFlag:
            return value == "0" || value == "1";
        case F::kNumber:
            return IsDecimal(value, 10, rule.low, rule.high);
        case F::kAddress:
            return IsDottedAddress(value);
        case F::kHardwareAddress:
            return value.size() == 12 && std::all_of(value.begin(), value.end(), IsHexDigit);
        case F::kText:
            return value.size() <= rule.high && value.find('\0') == std::string_view::npos;
        case F::kEssid:
            return value.size() <= rule.high && std::all_of(value.begin(), value.end(), IsEssidByte);
    }
    return false;
}

std::string FileValueRuleText(const FileValueRule& rule, Language language) {
    const std::string low = std::to_string(rule.low);
    const std::string high = std::to_string(rule.high);
    switch (rule.form) {
        case F::kAny:
            return {};
        case F::kFlag:
            return FormatString(kStringFileRuleFlag, language);
        case F::kNumber:
            return FormatString(kStringFileRuleNumber, language, {low, high});
        case F::kAddress:
            return FormatString(kStringFileRuleAddress, language);
        case F::kHardwareAddress:
            return FormatString(kStringFileRuleHardwareAddress, language);
        case F::kText:
            return FormatString(kStringFileRuleText, language, {high});
        case F::kEssid:
            return FormatString(kStringFileRuleEssid, language, {high});
    }
    return {};
}

}  // namespace lanterna
