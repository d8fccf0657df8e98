#include "tools/lanternactl/SetFields.h"

#include <algorithm>
#include <functional>
#include <ostream>

#include "platform/AsciiCase.h"
#include "platform/DecimalText.h"
#include "record/RecordSlots.h"
#include "resources/StringIds.h"
#include "settings/ValidationRules.h"
#include "tools/lanternactl/EventNames.h"
#include "tools/lanternactl/WrappedText.h"

namespace lanterna::cli {

namespace {

using Record = ProjectorRecord;

// Which projectors have a field.
enum class FieldHome {
    kEvery,
    kWireless,          // the wireless interface in use
    kBasicWireless,     // the wireless interface of a module other than type 22
    kExtendedWireless,  // the wireless interface of a type-22 module
};

struct FieldDefinition {
    std::string_view name;
    std::string_view forms;  // accepted forms and limits, for the help
    FieldHome home = FieldHome::kEvery;
    // Stores the text into the record: 0 done, -1 it cannot be read as the field's kind, else
    // the message id of a value out of the field's range.
    std::function<int(std::string_view, Record&)> parse;
    // Whether the field differs between the edited and the read record.
    std::function<bool(const Record& edited, const Record& read)> differs;
    // Copies the field from the edited record and sets its state word.
    std::function<void(const Record& edited, Record& read, std::int32_t state)> store;
    // The field's state word.
    std::function<std::int32_t(const Record&)> stateOf;
};

std::optional<std::int32_t> ParseFlag(std::string_view text) {
    for (const std::string_view on : {"1", "on", "ON", "yes"}) {
        if (text == on) {
            return 1;
        }
    }
    for (const std::string_view off : {"0", "off", "OFF", "no"}) {
        if (text == off) {
            return 0;
        }
    }
    return std::nullopt;
}

bool ParseAddress(std::string_view text, Octets& octets) {
    std::array<int, 4> numbers{};
    if (ClassifyAddressText(text, AddressTextMode::kSyntax) != kAddressTextValid ||
        ScanDotted(text, numbers) != 4) {
        return false;
    }
    for (std::size_t i = 0; i < 4; ++i) {
        octets[i] = static_cast<std::uint8_t>(numbers[i]);
    }
    return true;
}

// A field whose value and state are reached through two accessors.
template <typename Get, typename GetState>
FieldDefinition Field(std::string_view name, std::string_view forms, FieldHome home, Get get,
                      GetState getState, std::function<int(std::string_view, Record&)> parse) {
    return {name,
            forms,
            home,
            std::move(parse),
            [get](const Record& edited, const Record& read) {
                return get(const_cast<Record&>(edited)) != get(const_cast<Record&>(read));
            },
            [get, getState](const Record& edited, Record& read, std::int32_t state) {
                get(read) = get(const_cast<Record&>(edited));
                getState(read) = state;
            },
            [getState](const Record& r) { return getState(const_cast<Record&>(r)); }};
}

template <std::size_t N, typename Get, typename GetState>
FieldDefinition TextField(std::string_view name, std::string_view forms, FieldHome home, Get get,
                          GetState getState, bool ignoreCase = false) {
    FieldDefinition field =
        Field(name, forms, home, get, getState, [get](std::string_view text, Record& r) {
            if (text.size() > N - 1) {
                return -1;
            }
            CopyText(get(r), text);
            return 0;
        });
    if (ignoreCase) {
        // A change of letter case alone counts as unchanged and is not stored.
        field.differs = [get](const Record& edited, const Record& read) {
            return !EqualIgnoringCase(TextOf(get(const_cast<Record&>(edited))),
                                      TextOf(get(const_cast<Record&>(read))));
        };
    }
    return field;
}

template <typename Get, typename GetState>
FieldDefinition AddressField(std::string_view name, std::string_view forms, Get get,
                             GetState getState) {
    return Field(
        name, forms, FieldHome::kEvery, get, getState,
        [get](std::string_view text, Record& r) { return ParseAddress(text, get(r)) ? 0 : -1; });
}

template <typename Get, typename GetState>
FieldDefinition FlagField(std::string_view name, std::string_view forms, FieldHome home, Get get,
                          GetState getState) {
    return Field(name, forms, home, get, getState, [get](std::string_view text, Record& r) {
        const auto flag = ParseFlag(text);
        if (!flag) {
            return -1;
        }
        get(r) = *flag;
        return 0;
    });
}

template <typename Get, typename GetState>
FieldDefinition NumberField(std::string_view name, std::string_view forms, FieldHome home, Get get,
                            GetState getState, std::int64_t low, std::int64_t high,
                            int messageId = 0) {
    // Out of range is refused while reading, before the value is cut to the field's type.
    return Field(name, forms, home, get, getState,
                 [get, low, high, messageId](std::string_view text, Record& r) {
                     const auto number = ParseWholeNumber(text);
                     if (!number) {
                         return -1;
                     }
                     if (*number < low || *number > high) {
                         return messageId != 0 ? messageId : -1;
                     }
                     using Value = std::remove_reference_t<decltype(get(r))>;
                     get(r) = static_cast<Value>(*number);
                     return 0;
                 });
}

template <typename Get, typename GetState>
FieldDefinition EventField(std::string_view name, Get get, GetState getState) {
    return Field(name, "event names joined by ',', none, or a number 0 to 0x7ff", FieldHome::kEvery,
                 get, getState, [get](std::string_view text, Record& r) {
                     const auto set = ParseEventSet(text);
                     if (!set) {
                         return -1;
                     }
                     get(r) = *set;
                     return 0;
                 });
}

// The security codes by name, as the wireless security dialog's modes set them.
struct SecurityName {
    std::string_view name;
    std::array<std::int32_t, 4> code;
};
constexpr SecurityName kSecurityNames[] = {
    {"none", {0, 0, 0, 0}},    {"wep64", {1, 1, 0, 0}}, {"wep128", {1, 2, 0, 0}},
    {"wpa-psk", {2, 0, 1, 0}}, {"leap", {1, 2, 4, 1}},
};

int ParseSecurity(std::string_view text, Record& r) {
    for (const SecurityName& known : kSecurityNames) {
        if (text == known.name) {
            r.security = known.code;
            return 0;
        }
    }
    if (text.size() != 6 || text.find_first_not_of("0123456789") != text.npos) {
        return -1;
    }
    const auto digits = [text](std::size_t at, std::size_t count) {
        return static_cast<std::int32_t>(*ParseWholeNumber(text.substr(at, count)));
    };
    r.security = {digits(0, 1), digits(1, 1), digits(2, 2), digits(4, 2)};
    return 0;
}

#define MEMBER(m)             \
    [](Record & r) -> auto& { \
        return r.m;           \
    }

template <int Slot>
FieldDefinition WepKeySlotField(std::string_view name) {
    return TextField<27>(
        name, "a key of the size of security (see wepKey), empty to clear",
        FieldHome::kExtendedWireless, [](Record & r) -> auto& { return numbered::WepKey(r, Slot); },
        [](Record & r) -> auto& { return numbered::WepKeyState(r, Slot); });
}

FieldDefinition EssidField() {
    FieldDefinition essid =
        TextField<36>("essid",
                      "up to 32 letters, digits and '-' (type 22: bytes 0x21 to 0x7e but ':'); "
                      "empty for none",
                      FieldHome::kWireless, MEMBER(essid), MEMBER(essidState));
    // An ESSID given is an ESSID set; the empty one clears it.
    essid.parse = [](std::string_view text, Record& r) {
        if (text.size() > 35) {
            return -1;
        }
        CopyText(r.essid, text);
        r.essidSet = text.empty() ? 0 : 1;
        return 0;
    };
    essid.differs = [](const Record& edited, const Record& read) {
        return TextOf(edited.essid) != TextOf(read.essid) || edited.essidSet != read.essidSet;
    };
    essid.store = [](const Record& edited, Record& read, std::int32_t state) {
        read.essid = edited.essid;
        read.essidSet = edited.essidSet;
        read.essidState = state;
    };
    return essid;
}

std::vector<FieldDefinition> MakeFields() {
    constexpr std::string_view kOptionalServer = "dotted address; 0.0.0.0 for none";
    std::vector<FieldDefinition> f;
    f.push_back(TextField<16>("projectorName", "1 to 15 letters, digits and '-', not digits only",
                              FieldHome::kEvery, MEMBER(projectorName), MEMBER(projectorNameState),
                              true));
    f.push_back(FlagField("dhcp", "on or off (1/0, yes/no)", FieldHome::kEvery, MEMBER(dhcp),
                          MEMBER(dhcpState)));
    f.push_back(AddressField("ipAddress",
                             "dotted host address (not 0.0.0.0, 127.x.x.x nor 224.0.0.0 and "
                             "above), not the network or broadcast address of its subnet",
                             MEMBER(ipAddress), MEMBER(ipAddressState)));
    f.push_back(AddressField("subnetMask", "255.0.0.0 to 255.255.255.254, ones then zeros",
                             MEMBER(subnetMask), MEMBER(subnetMaskState)));
    f.push_back(AddressField("gateway", "dotted address in the subnet; 0.0.0.0 for none",
                             MEMBER(gateway), MEMBER(gatewayState)));
    f.push_back(AddressField("dns1", kOptionalServer, MEMBER(dns1), MEMBER(dns1State)));
    f.push_back(AddressField("dns2", kOptionalServer, MEMBER(dns2), MEMBER(dns2State)));
    f.push_back(TextField<97>("dnsDomain", "up to 96 letters, digits, '.' and '-'; may be empty",
                              FieldHome::kEvery, MEMBER(dnsDomain), MEMBER(dnsDomainState), true));
    f.push_back(AddressField("wins1", kOptionalServer, MEMBER(wins1), MEMBER(wins1State)));
    f.push_back(AddressField("wins2", kOptionalServer, MEMBER(wins2), MEMBER(wins2State)));
    f.push_back(NumberField("primaryInterface", "0 wired LAN, 1 wireless LAN", FieldHome::kEvery,
                            MEMBER(primaryInterface), MEMBER(primaryInterfaceState), 0, 1));
    f.push_back(FlagField("mailNotify", "on or off", FieldHome::kEvery, MEMBER(mailNotify),
                          MEMBER(mailNotifyState)));
    f.push_back(AddressField("smtpServer", "dotted host address", MEMBER(smtpServer),
                             MEMBER(smtpServerState)));
    f.push_back(NumberField("smtpPort", "1 to 65535", FieldHome::kEvery, MEMBER(smtpPort),
                            MEMBER(smtpPortState), 1, 65535, kStringBadSmtpPort));
    constexpr std::string_view kMail =
        "mail address: up to 64 bytes with '@', none of \"/\\[]:;|=,+*?<> or blank";
    f.push_back(
        TextField<65>("mailTo1", kMail, FieldHome::kEvery, MEMBER(mailTo1), MEMBER(mailTo1State)));
    f.push_back(TextField<65>("mailTo2", "as mailTo1, or empty", FieldHome::kEvery, MEMBER(mailTo2),
                              MEMBER(mailTo2State)));
    f.push_back(TextField<65>("mailTo3", "as mailTo1, or empty", FieldHome::kEvery, MEMBER(mailTo3),
                              MEMBER(mailTo3State)));
    f.push_back(EventField("mailEvents1", MEMBER(mailEvents1), MEMBER(mailEvents1State)));
    f.push_back(EventField("mailEvents2", MEMBER(mailEvents2), MEMBER(mailEvents2State)));
    f.push_back(EventField("mailEvents3", MEMBER(mailEvents3), MEMBER(mailEvents3State)));
    constexpr std::string_view kTrap = "dotted host address; 0.0.0.0 for none";
    f.push_back(
        AddressField("trapAddress1", kTrap, MEMBER(trapAddress1), MEMBER(trapAddress1State)));
    f.push_back(
        AddressField("trapAddress2", kTrap, MEMBER(trapAddress2), MEMBER(trapAddress2State)));
    f.push_back(TextField<9>("community", "1 to 8 letters and digits", FieldHome::kEvery,
                             MEMBER(community), MEMBER(communityState)));
    f.push_back(EssidField());
    f.push_back(
        FlagField("adhoc", "on or off", FieldHome::kWireless, MEMBER(adhoc), MEMBER(adhocState)));
    f.push_back(FlagField("wepEnabled", "on or off", FieldHome::kBasicWireless, MEMBER(wepEnabled),
                          MEMBER(wepEnabledState)));
    f.push_back(TextField<28>("wepKey", "5 or 13 letters and digits, or 10 or 26 hex digits",
                              FieldHome::kBasicWireless, MEMBER(wepKey), MEMBER(wepKeyState)));
    f.push_back(Field(
        "security", "none, wep64, wep128, wpa-psk, leap, or the six digits of the code",
        FieldHome::kExtendedWireless, MEMBER(security), MEMBER(securityState), &ParseSecurity));
    f.push_back(NumberField("wepKeyId", "1 to 4: the WEP key in use", FieldHome::kExtendedWireless,
                            MEMBER(wepKeyId), MEMBER(wepKeyIdState), 1, 4));
    f.push_back(WepKeySlotField<1>("wepKey1"));
    f.push_back(WepKeySlotField<2>("wepKey2"));
    f.push_back(WepKeySlotField<3>("wepKey3"));
    f.push_back(WepKeySlotField<4>("wepKey4"));
    return f;
}

#undef MEMBER

const std::vector<FieldDefinition>& Fields() {
    static const std::vector<FieldDefinition> fields = MakeFields();
    return fields;
}

const FieldDefinition* FindField(std::string_view name) {
    for (const FieldDefinition& field : Fields()) {
        if (field.name == name) {
            return &field;
        }
    }
    return nullptr;
}

bool IsNamed(const std::vector<const FieldDefinition*>& named, std::string_view name) {
    return std::any_of(named.begin(), named.end(),
                       [name](const FieldDefinition* field) { return field->name == name; });
}

// Fields a template never carries to a projector: each keeps its own.
bool IsOwnIdentity(std::string_view name) {
    return name == "projectorName" || name == "dhcp" || name == "ipAddress" ||
           name == "subnetMask" || name == "gateway";
}

}  // namespace

bool ParseAssignments(const std::vector<std::string>& words, std::vector<FieldAssignment>& out,
                      std::string& error) {
    for (const std::string& word : words) {
        const std::size_t equals = word.find('=');
        if (equals == std::string::npos) {
            error = "'" + word + "' is not FIELD=VALUE";
            return false;
        }
        FieldAssignment assignment{word.substr(0, equals), word.substr(equals + 1)};
        if (FindField(assignment.field) == nullptr) {
            error = "unknown field '" + assignment.field + "'";
            return false;
        }
        out.push_back(std::move(assignment));
    }
    return true;
}

ApplyOutcome ApplyAssignments(const std::vector<FieldAssignment>& assignments, Record& record) {
    Record edited = record;
    std::vector<const FieldDefinition*> named;
    for (const FieldAssignment& assignment : assignments) {
        const FieldDefinition* field = FindField(assignment.field);
        const int parsed = field == nullptr ? -1 : field->parse(assignment.value, edited);
        if (parsed > 0) {
            return {false, parsed, assignment.field, {}};
        }
        if (parsed != 0) {
            return {
                false, 0, "bad value for " + assignment.field + ": '" + assignment.value + "'", {}};
        }
        if (!IsNamed(named, field->name)) {
            named.push_back(field);
        }
    }
    const bool dhcpSwitchedOff = edited.dhcp == 0 && record.dhcp != 0;
    if (dhcpSwitchedOff) {
        for (const std::string_view name : {"ipAddress", "subnetMask", "gateway"}) {
            if (!IsNamed(named, name)) {
                named.push_back(FindField(name));
            }
        }
    }
    ApplyOutcome outcome{true, 0, {}, {}};
    for (const FieldDefinition& field : Fields()) {
        if (!IsNamed(named, field.name)) {
            continue;
        }
        const bool forced =
            dhcpSwitchedOff &&
            (field.name == "ipAddress" || field.name == "subnetMask" || field.name == "gateway");
        const bool differs = field.differs(edited, record);
        field.store(differs ? edited : record, record,
                    differs || forced ? kStateChanged : kStateUnchanged);
        if (differs || forced) {
            outcome.changed.emplace_back(field.name);
        }
    }
    return outcome;
}

std::optional<std::string> MissingSetting(std::string_view name, const Record& record) {
    const FieldDefinition* field = FindField(name);
    if (field == nullptr || field->home == FieldHome::kEvery) {
        return std::nullopt;
    }
    if (record.wirelessActive == 0) {
        return std::string(name) + " is a wireless LAN setting; the projector uses its wired " +
               "interface";
    }
    const bool extended = record.imType == kImTypeExtendedWireless;
    const std::string type = std::to_string(record.imType);
    if (field->home == FieldHome::kBasicWireless && extended) {
        return std::string(name) + " belongs to modules other than type 22; this one sets WEP " +
               "with security, wepKeyId and wepKey1 to wepKey4";
    }
    if (field->home == FieldHome::kExtendedWireless && !extended) {
        return std::string(name) + " belongs to type-22 modules; this one (type " + type +
               ") sets WEP with wepEnabled and wepKey";
    }
    return std::nullopt;
}

std::vector<std::string> MergeTemplate(const Record& file, Record& record) {
    std::vector<std::string> changed;
    for (const FieldDefinition& field : Fields()) {
        if (IsOwnIdentity(field.name) || field.stateOf(file) != kStateRead) {
            continue;
        }
        const bool differs = field.differs(file, record);
        field.store(differs ? file : record, record, differs ? kStateChanged : kStateUnchanged);
        if (differs) {
            changed.emplace_back(field.name);
        }
    }
    record.writeAll = 0;
    return changed;
}

std::string SettableFieldNames() {
    std::string names;
    for (const FieldDefinition& field : Fields()) {
        if (!names.empty()) {
            names += ", ";
        }
        names += field.name;
    }
    return names;
}

void PrintSettableFields(std::ostream& out) {
    for (const FieldDefinition& field : Fields()) {
        std::string_view where;
        switch (field.home) {
            case FieldHome::kEvery:
                break;
            case FieldHome::kWireless:
                where = " [wireless]";
                break;
            case FieldHome::kBasicWireless:
                where = " [wireless, not type 22]";
                break;
            case FieldHome::kExtendedWireless:
                where = " [wireless, type 22]";
                break;
        }
        out << "  " << field.name << where << "\n";
        PrintWrapped(out, field.forms);
    }
}

}  // namespace lanterna::cli
