#include "fleet/InventoryRows.h"

#include <array>

#include "fleet/RecordFacts.h"
#include "fleet/RecordFields.h"

namespace lanterna::fleet {

namespace {

constexpr std::array<std::string_view, 16> kInventoryColumns = {
    "address",   "name",       "hardwareAddress", "interface",
    "dhcp",      "subnetMask", "gateway",         "dns",
    "mail",      "smtpServer", "recipients",      "trapAddresses",
    "community", "essid",      "security",        "password"};

// The addresses of a pair that are set, joined by a blank.
std::string SetAddressesOf(const Octets& first, const Octets& second) {
    std::string text;
    for (const Octets* address : {&first, &second}) {
        if (!IsZeroAddress(*address)) {
            text += (text.empty() ? "" : " ") + FormatDotted(*address);
        }
    }
    return text;
}

}  // namespace

std::span<const std::string_view> InventoryColumns() {
    return kInventoryColumns;
}

std::vector<std::string> InventoryRow(const std::string& address, const ProjectorRecord& r,
                                      bool passwordSet) {
    const bool wireless = r.wirelessActive != 0;
    const bool mail = r.mailNotify == 1;
    return {address,
            std::string(TextOf(r.projectorName)),
            MacText(TextOf(r.macAddress)),
            wireless ? "wireless" : "wired",
            r.dhcp != 0 ? "on" : "off",
            r.dhcp != 0 ? "" : FormatDotted(r.subnetMask),
            r.dhcp != 0 ? "" : FormatDotted(r.gateway),
            SetAddressesOf(r.dns1, r.dns2),
            mail ? "on" : "off",
            mail ? FormatDotted(r.smtpServer) : "",
            mail ? RecipientsText(r) : "",
            SetAddressesOf(r.trapAddress1, r.trapAddress2),
            std::string(TextOf(r.community)),
            wireless ? std::string(TextOf(r.essid)) : "",
            SecurityText(r),
            passwordSet ? "set" : "none"};
}

std::vector<std::string> SettableColumns() {
    std::vector<std::string> columns{"hardwareAddress", "address"};
    for (const RecordFieldInfo& field : RecordFieldList()) {
        columns.emplace_back(field.name);
    }
    return columns;
}

std::vector<std::string> SettableRow(const std::string& address, const ProjectorRecord& record) {
    std::vector<std::string> row{MacText(TextOf(record.macAddress)), address};
    for (const RecordFieldInfo& field : RecordFieldList()) {
        const bool key = field.name.starts_with("wepKey") && field.name != "wepKeyId";
        row.push_back(key ? std::string() : FieldValueText(field.name, record));
    }
    return row;
}

}  // namespace lanterna::fleet
