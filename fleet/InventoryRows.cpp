#include "fleet/InventoryRows.h"

#include <array>

#include "fleet/HealthReport.h"
#include "fleet/Provision.h"
#include "fleet/RecordFacts.h"
#include "fleet/RecordFields.h"

namespace lanterna::fleet {

namespace {

constexpr std::array<std::string_view, 17> kInventoryColumns = {
    "address",   "name",       "hardwareAddress", "interface",
    "dhcp",      "subnetMask", "gateway",         "dns",
    "mail",      "smtpServer", "recipients",      "trapAddresses",
    "community", "essid",      "security",        "password",
    "status"};

constexpr std::array<std::string_view, 4> kInventoryHealthColumns = {"power", "lampHours",
                                                                     "errors", "model"};

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

std::span<const std::string_view> InventoryHealthColumns() {
    return kInventoryHealthColumns;
}

std::vector<std::string> InventoryHealthCells(const pjlink::HealthRead& read) {
    const pjlink::Health& health = read.health;
    const std::optional<int> hours = pjlink::MostLampHours(health);
    std::string model = health.maker.value_or("");
    if (health.product) {
        model += (model.empty() ? "" : " ") + *health.product;
    }
    return {health.power ? std::string(PowerKey(*health.power)) : std::string(),
            hours ? std::to_string(*hours) : (health.noLamp ? "no lamp" : ""),
            ErrorsText(health), model};
}

std::vector<std::string> InventoryRow(const std::string& address, const ProjectorRecord& r,
                                      bool passwordSet) {
    const bool wireless = r.wirelessActive != 0;
    const bool mail = r.mailNotify == 1 && r.mailNotifyState != kStateUnknown;
    // What the projector did not report stays empty: never a value it did not give.
    const auto known = [](std::int32_t state, std::string text) {
        return state != kStateUnknown ? std::move(text) : std::string();
    };
    const bool addressKnown = r.dhcpState != kStateUnknown && r.dhcp == 0;
    return {address,
            known(r.projectorNameState, std::string(TextOf(r.projectorName))),
            MacText(TextOf(r.macAddress)),
            wireless ? "wireless" : "wired",
            known(r.dhcpState, r.dhcp != 0 ? "on" : "off"),
            addressKnown ? known(r.subnetMaskState, FormatDotted(r.subnetMask)) : "",
            addressKnown ? known(r.gatewayState, FormatDotted(r.gateway)) : "",
            known(r.dns1State, SetAddressesOf(r.dns1, r.dns2)),
            known(r.mailNotifyState, mail ? "on" : "off"),
            mail ? known(r.smtpServerState, FormatDotted(r.smtpServer)) : "",
            mail ? RecipientsText(r) : "",
            SetAddressesOf(r.trapAddress1State != kStateUnknown ? r.trapAddress1 : Octets{},
                           r.trapAddress2State != kStateUnknown ? r.trapAddress2 : Octets{}),
            known(r.communityState, std::string(TextOf(r.community))),
            wireless ? known(r.essidState, std::string(TextOf(r.essid))) : "",
            SecurityText(r),
            passwordSet ? "set" : "none",
            std::string(OutcomeKey(Outcome::kRead))};
}

std::vector<std::string> InventoryRowNotRead(const std::string& address, const std::string& name,
                                             Outcome outcome) {
    std::vector<std::string> row(kInventoryColumns.size());
    row.front() = address;
    row[1] = name;
    row.back() = std::string(OutcomeKey(outcome));
    return row;
}

std::vector<std::string> SettableColumns() {
    std::vector<std::string> columns{std::string(kHardwareAddressColumn),
                                     std::string(kAddressColumn)};
    for (const RecordFieldInfo& field : RecordFieldList()) {
        columns.emplace_back(field.name);
    }
    columns.emplace_back(kStatusColumn);
    return columns;
}

std::vector<std::string> SettableRow(const std::string& address, const ProjectorRecord& record) {
    std::vector<std::string> row{MacText(TextOf(record.macAddress)), address};
    for (const RecordFieldInfo& field : RecordFieldList()) {
        const bool key = field.name.starts_with("wepKey") && field.name != "wepKeyId";
        row.push_back(key ? std::string() : FieldValueText(field.name, record));
    }
    row.emplace_back(OutcomeKey(Outcome::kRead));
    return row;
}

std::vector<std::string> SettableRowNotRead(const std::string& address, Outcome outcome) {
    std::vector<std::string> row(SettableColumns().size());
    row[1] = address;
    row.back() = std::string(OutcomeKey(outcome));
    return row;
}

}  // namespace lanterna::fleet
