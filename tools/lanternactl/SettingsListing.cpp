#include "tools/lanternactl/SettingsListing.h"

#include <optional>
#include <ostream>
#include <string>

#include "fleet/FieldCut.h"
#include "fleet/RecordFacts.h"
#include "fleet/RecordFields.h"
#include "tools/lanternactl/TextSafety.h"

namespace lanterna::cli {

namespace {

// How a field's value reads.
enum class Shown {
    kAsIs,
    kServer,     // 0.0.0.0 is no server at all
    kText,       // empty is none
    kInterface,  // 0 the wired LAN, 1 the wireless LAN
    kKey,        // masked unless asked for
};

struct Line {
    std::string_view label;
    std::string_view field;
    Shown shown = Shown::kAsIs;
};

constexpr Line kAddressLines[] = {
    {"DHCP", "dhcp"},
    {"IP address", "ipAddress"},
    {"Subnet mask", "subnetMask"},
    {"Gateway", "gateway", Shown::kServer},
    {"DNS server 1", "dns1", Shown::kServer},
    {"DNS server 2", "dns2", Shown::kServer},
    {"DNS domain", "dnsDomain", Shown::kText},
    {"WINS server 1", "wins1", Shown::kServer},
    {"WINS server 2", "wins2", Shown::kServer},
};

constexpr Line kMailLines[] = {
    {"SMTP server", "smtpServer"},
    {"SMTP port", "smtpPort"},
    {"Recipient 1", "mailTo1", Shown::kText},
    {"Events 1", "mailEvents1"},
    {"Recipient 2", "mailTo2", Shown::kText},
    {"Events 2", "mailEvents2"},
    {"Recipient 3", "mailTo3", Shown::kText},
    {"Events 3", "mailEvents3"},
};

constexpr Line kSnmpLines[] = {
    {"Trap address 1", "trapAddress1", Shown::kServer},
    {"Trap address 2", "trapAddress2", Shown::kServer},
    {"Community", "community", Shown::kText},
};

constexpr Line kWirelessLines[] = {
    {"ESSID", "essid", Shown::kText},
    {"Ad hoc", "adhoc"},
    {"WEP", "wepEnabled"},
    {"WEP key", "wepKey", Shown::kKey},
    {"Security", "security"},
    {"Key in use", "wepKeyId"},
    {"WEP key 1", "wepKey1", Shown::kKey},
    {"WEP key 2", "wepKey2", Shown::kKey},
    {"WEP key 3", "wepKey3", Shown::kKey},
    {"WEP key 4", "wepKey4", Shown::kKey},
};

constexpr std::string_view kNone = "(none)";

std::string ValueOf(const Line& line, const ProjectorRecord& record, bool showSecrets) {
    const std::optional<std::string> value = fleet::ReadFieldValue(line.field, record);
    if (!value) {
        return std::string(kNotReported);
    }
    switch (line.shown) {
        case Shown::kAsIs:
            return *value;
        case Shown::kServer:
            return *value == "0.0.0.0" ? std::string(kNone) : *value;
        case Shown::kText:
            return value->empty() ? std::string(kNone) : *value;
        case Shown::kInterface:
            return *value == "1" ? "wireless LAN" : "wired LAN";
        case Shown::kKey:
            if (value->empty()) {
                return std::string(kNone);
            }
            return showSecrets ? *value : "********";
    }
    return *value;
}

void PrintLine(std::ostream& out, std::string_view label, const std::string& value) {
    out << "  " << label << ": " << TerminalText(value) << "\n";
}

// A value the projector reported longer than it is held says so.
std::string MarkedValueOf(const Line& line, const ProjectorRecord& record, bool showSecrets) {
    std::string value = ValueOf(line, record, showSecrets);
    if (fleet::IsFieldCut(line.field, record)) {
        value.append(" ").append(kCutMark);
    }
    return value;
}

// The lines of `lines` the projector has (a wireless setting of another module kind is left
// out).
template <std::size_t N>
void PrintLines(std::ostream& out, const Line (&lines)[N], const ProjectorRecord& record,
                bool showSecrets) {
    for (const Line& line : lines) {
        if (!fleet::MissingSetting(line.field, record)) {
            PrintLine(out, line.label, MarkedValueOf(line, record, showSecrets));
        }
    }
}

}  // namespace

void PrintSettingsListing(std::ostream& out, const ProjectorRecord& record, bool showSecrets) {
    const bool wireless = record.wirelessActive != 0;
    out << "Projector\n";
    PrintLine(out, "Name", MarkedValueOf({"", "projectorName", Shown::kText}, record, showSecrets));
    PrintLine(out, "Hardware address", fleet::MacText(TextOf(record.macAddress)));
    PrintLine(out, "Interface in use", wireless ? "wireless LAN" : "wired LAN");
    PrintLine(out, "Module type", std::to_string(record.imType));
    PrintLine(out, "Primary interface",
              ValueOf({"", "primaryInterface", Shown::kInterface}, record, showSecrets));

    out << (wireless ? "Wireless LAN\n" : "Wired LAN\n");
    PrintLines(out, kAddressLines, record, showSecrets);

    out << "Mail notification\n";
    PrintLine(out, "Notification", ValueOf({"", "mailNotify"}, record, showSecrets));
    if (record.mailNotifyState != kStateUnknown && record.mailNotify == 1) {
        PrintLines(out, kMailLines, record, showSecrets);
    }

    out << "SNMP\n";
    PrintLines(out, kSnmpLines, record, showSecrets);

    if (wireless) {
        out << "Wireless security\n";
        PrintLines(out, kWirelessLines, record, showSecrets);
    }
}

}  // namespace lanterna::cli
