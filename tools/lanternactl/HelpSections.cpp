#include "tools/lanternactl/HelpSections.h"

#include <array>
#include <cstdio>
#include <ostream>
#include <string_view>

#include "fleet/AuditFindings.h"
#include "fleet/EventNames.h"
#include "fleet/HealthReport.h"
#include "fleet/RecordFields.h"
#include "resources/StringTable.h"
#include "tools/lanternactl/WrappedText.h"

namespace lanterna::cli {

namespace {

struct FieldForms {
    std::string_view name;
    std::string_view forms;
};

constexpr std::string_view kOptionalServerForms = "dotted address; 0.0.0.0 for none";
constexpr std::string_view kMailForms =
    "mail address: up to 64 bytes with '@', none of \"/\\[]:;|=,+*?<> or blank";
constexpr std::string_view kEventForms = "event names joined by ',', none, or a number 0 to 0x7ff";
constexpr std::string_view kTrapForms = "dotted host address; 0.0.0.0 for none";
constexpr std::string_view kWepKeySlotForms =
    "a key of the size of security (see wepKey), empty to clear";

// The accepted forms and limits of each field, in the engine's order.
constexpr FieldForms kFieldForms[] = {
    {"projectorName", "1 to 15 letters, digits and '-', not digits only"},
    {"dhcp", "on or off (1/0, yes/no)"},
    {"ipAddress",
     "dotted host address (not 0.0.0.0, 127.x.x.x nor 224.0.0.0 and above), not the network or "
     "broadcast address of its subnet"},
    {"subnetMask", "255.0.0.0 to 255.255.255.254, ones then zeros"},
    {"gateway", "dotted address in the subnet; 0.0.0.0 for none"},
    {"dns1", kOptionalServerForms},
    {"dns2", kOptionalServerForms},
    {"dnsDomain", "up to 96 letters, digits, '.' and '-'; may be empty"},
    {"wins1", kOptionalServerForms},
    {"wins2", kOptionalServerForms},
    {"primaryInterface", "0 wired LAN, 1 wireless LAN"},
    {"mailNotify", "on or off"},
    {"smtpServer", "dotted host address"},
    {"smtpPort", "1 to 65535"},
    {"mailTo1", kMailForms},
    {"mailTo2", "as mailTo1, or empty"},
    {"mailTo3", "as mailTo1, or empty"},
    {"mailEvents1", kEventForms},
    {"mailEvents2", kEventForms},
    {"mailEvents3", kEventForms},
    {"trapAddress1", kTrapForms},
    {"trapAddress2", kTrapForms},
    {"community", "1 to 8 letters and digits"},
    {"essid",
     "up to 32 letters, digits and '-' (type 22: bytes 0x21 to 0x7e but ':'); empty for none"},
    {"adhoc", "on or off"},
    {"wepEnabled", "on or off"},
    {"wepKey", "5 or 13 letters and digits, or 10 or 26 hex digits"},
    {"security", "none, wep64, wep128, wpa-psk, leap, or the six digits of the code"},
    {"wepKeyId", "1 to 4: the WEP key in use"},
    {"wepKey1", kWepKeySlotForms},
    {"wepKey2", kWepKeySlotForms},
    {"wepKey3", kWepKeySlotForms},
    {"wepKey4", kWepKeySlotForms},
};

std::string_view FormsOf(std::string_view name) {
    for (const FieldForms& entry : kFieldForms) {
        if (entry.name == name) {
            return entry.forms;
        }
    }
    return {};
}

std::string_view WhereText(fleet::FieldHome home) {
    switch (home) {
        case fleet::FieldHome::kEvery:
            return "";
        case fleet::FieldHome::kWireless:
            return " [wireless]";
        case fleet::FieldHome::kBasicWireless:
            return " [wireless, not type 22]";
        case fleet::FieldHome::kExtendedWireless:
            return " [wireless, type 22]";
    }
    return "";
}

// The label of each event in the notification-event dialog, in English, lowest bit first.
constexpr std::array<std::string_view, 11> kEventLabels = {
    "lamp replacement notice",
    "no signal",
    "air filter",
    "high-speed cooling in progress",
    "lamp timer error",
    "lamp cover open",
    "lamp off",
    "fan-related error",
    "sensor error",
    "internal temperature abnormal",
    "internal error",
};

}  // namespace

void PrintSettableFields(std::ostream& out) {
    for (const fleet::RecordFieldInfo& field : fleet::RecordFieldList()) {
        out << "  " << field.name << WhereText(field.home) << "\n";
        PrintWrapped(out, FormsOf(field.name));
    }
}

void PrintEventNames(std::ostream& out) {
    const auto events = fleet::AllEventNames();
    for (std::size_t i = 0; i < events.size() && i < kEventLabels.size(); ++i) {
        std::array<char, 8> bit{};
        std::snprintf(bit.data(), bit.size(), "0x%03x", events[i].bit);
        out << "  " << events[i].name << std::string(22 - events[i].name.size(), ' ') << bit.data()
            << "  " << kEventLabels[i] << "\n";
    }
}

void PrintFindingHelp(std::ostream& out) {
    for (const auto kinds : {fleet::AllFindingKinds(), fleet::HealthFindingKinds()}) {
        for (const fleet::FindingKind* kind : kinds) {
            out << "  " << fleet::SeverityKey(kind->severity) << "  " << kind->id << "\n";
            PrintWrapped(out, LoadString(kind->meaning, Language::English));
        }
    }
}

}  // namespace lanterna::cli
