#include "fleet/RecordFields.h"

#include <algorithm>
#include <cstdio>
#include <functional>
#include <type_traits>

#include "fleet/EventNames.h"
#include "fleet/FieldCut.h"
#include "platform/AsciiCase.h"
#include "platform/DecimalText.h"
#include "record/CutState.h"
#include "record/DottedAddress.h"
#include "record/RecordSlots.h"
#include "resources/StringIds.h"
#include "resources/TextPattern.h"
#include "settings/SettingsFile.h"
#include "settings/ValidationRules.h"

namespace lanterna::fleet {

namespace {

using Record = ProjectorRecord;

struct FieldDefinition {
    std::string_view name;
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
    // The value as `parse` takes it back.
    std::function<std::string(const Record&)> text;
    // What `parse` takes, in words: a string id and its values.
    FieldRule rule{};
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
FieldDefinition Field(std::string_view name, FieldHome home, Get get, GetState getState,
                      std::function<int(std::string_view, Record&)> parse) {
    return {name,
            home,
            std::move(parse),
            [get](const Record& edited, const Record& read) {
                return get(const_cast<Record&>(edited)) != get(const_cast<Record&>(read));
            },
            [get, getState](const Record& edited, Record& read, std::int32_t state) {
                get(read) = get(const_cast<Record&>(edited));
                getState(read) = state;
            },
            [getState](const Record& r) { return getState(const_cast<Record&>(r)); },
            {},
            {}};
}

template <std::size_t N, typename Get, typename GetState>
FieldDefinition TextField(std::string_view name, FieldHome home, Get get, GetState getState,
                          bool ignoreCase = false) {
    FieldDefinition field =
        Field(name, home, get, getState, [get](std::string_view text, Record& r) {
            if (text.size() > N - 1) {
                return -1;
            }
            CopyText(get(r), text);
            return 0;
        });
    field.rule = {kStringFileRuleText, {std::to_string(N - 1), {}}};
    if (ignoreCase) {
        // A change of letter case alone counts as unchanged and is not stored.
        field.differs = [get](const Record& edited, const Record& read) {
            return !EqualIgnoringCase(TextOf(get(const_cast<Record&>(edited))),
                                      TextOf(get(const_cast<Record&>(read))));
        };
    }
    field.text = [get](const Record& r) {
        return std::string(TextOf(get(const_cast<Record&>(r))));
    };
    return field;
}

template <typename Get, typename GetState>
FieldDefinition AddressField(std::string_view name, Get get, GetState getState) {
    FieldDefinition field =
        Field(name, FieldHome::kEvery, get, getState, [get](std::string_view text, Record& r) {
            return ParseAddress(text, get(r)) ? 0 : -1;
        });
    field.rule = {kStringFileRuleAddress, {}};
    field.text = [get](const Record& r) { return FormatDotted(get(const_cast<Record&>(r))); };
    return field;
}

template <typename Get, typename GetState>
FieldDefinition FlagField(std::string_view name, FieldHome home, Get get, GetState getState) {
    FieldDefinition field = Field(name, home, get, getState, [get](std::string_view text, Record& r) {
        const auto flag = ParseFlag(text);
        if (!flag) {
            return -1;
        }
        get(r) = *flag;
        return 0;
    });
    field.rule = {kStringFieldRuleFlag, {}};
    field.text = [get](const Record& r) {
        return std::string(get(const_cast<Record&>(r)) != 0 ? "on" : "off");
    };
    return field;
}

template <typename Get, typename GetState>
FieldDefinition NumberField(std::string_view name, FieldHome home, Get get, GetState getState,
                            std::int64_t low, std::int64_t high, int messageId = 0) {
    // Out of range is refused while reading, before the value is cut to the field's type.
    FieldDefinition field = Field(name, home, get, getState,
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
    field.rule = {kStringFileRuleNumber, {std::to_string(low), std::to_string(high)}};
    field.text = [get](const Record& r) { return std::to_string(get(const_cast<Record&>(r))); };
    return field;
}

template <typename Get, typename GetState>
FieldDefinition EventField(std::string_view name, Get get, GetState getState) {
    FieldDefinition field =
        Field(name, FieldHome::kEvery, get, getState, [get](std::string_view text, Record& r) {
            const auto set = ParseEventSet(text);
            if (!set) {
                return -1;
            }
            get(r) = *set;
            return 0;
        });
    field.rule = {kStringFieldRuleEvents, {}};
    field.text = [get](const Record& r) {
        return EventSetNames(static_cast<std::uint32_t>(get(const_cast<Record&>(r))));
    };
    return field;
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

// The security code as ParseSecurity takes it: its name where it has one, else six digits.
std::string SecurityCodeText(const Record& r) {
    for (const SecurityName& known : kSecurityNames) {
        if (r.security == known.code) {
            return std::string(known.name);
        }
    }
    char digits[16];
    std::snprintf(digits, sizeof digits, "%d%d%02d%02d", r.security[0] % 10, r.security[1] % 10,
                  r.security[2] % 100, r.security[3] % 100);
    return digits;
}

#define MEMBER(m)             \
    [](Record & r) -> auto& { \
        return r.m;           \
    }

template <int Slot>
FieldDefinition WepKeySlotField(std::string_view name) {
    return TextField<27>(
        name, FieldHome::kExtendedWireless,
        [](Record & r) -> auto& { return numbered::WepKey(r, Slot); },
        [](Record & r) -> auto& { return numbered::WepKeyState(r, Slot); });
}

FieldDefinition EssidField() {
    FieldDefinition essid =
        TextField<36>("essid", FieldHome::kWireless, MEMBER(essid), MEMBER(essidState));
    // An ESSID given is an ESSID set; the empty one clears it.
    essid.rule = {kStringFileRuleText, {"35", {}}};
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
    constexpr FieldHome kEvery = FieldHome::kEvery;
    std::vector<FieldDefinition> f;
    f.push_back(TextField<16>("projectorName", kEvery, MEMBER(projectorName),
                              MEMBER(projectorNameState), true));
    f.push_back(FlagField("dhcp", kEvery, MEMBER(dhcp), MEMBER(dhcpState)));
    f.push_back(AddressField("ipAddress", MEMBER(ipAddress), MEMBER(ipAddressState)));
    f.push_back(AddressField("subnetMask", MEMBER(subnetMask), MEMBER(subnetMaskState)));
    f.push_back(AddressField("gateway", MEMBER(gateway), MEMBER(gatewayState)));
    f.push_back(AddressField("dns1", MEMBER(dns1), MEMBER(dns1State)));
    f.push_back(AddressField("dns2", MEMBER(dns2), MEMBER(dns2State)));
    f.push_back(
        TextField<97>("dnsDomain", kEvery, MEMBER(dnsDomain), MEMBER(dnsDomainState), true));
    f.push_back(AddressField("wins1", MEMBER(wins1), MEMBER(wins1State)));
    f.push_back(AddressField("wins2", MEMBER(wins2), MEMBER(wins2State)));
    f.push_back(NumberField("primaryInterface", kEvery, MEMBER(primaryInterface),
                            MEMBER(primaryInterfaceState), 0, 1));
    f.push_back(FlagField("mailNotify", kEvery, MEMBER(mailNotify), MEMBER(mailNotifyState)));
    f.push_back(AddressField("smtpServer", MEMBER(smtpServer), MEMBER(smtpServerState)));
    f.push_back(NumberField("smtpPort", kEvery, MEMBER(smtpPort), MEMBER(smtpPortState), 1, 65535,
                            kStringBadSmtpPort));
    f.push_back(TextField<65>("mailTo1", kEvery, MEMBER(mailTo1), MEMBER(mailTo1State)));
    f.push_back(TextField<65>("mailTo2", kEvery, MEMBER(mailTo2), MEMBER(mailTo2State)));
    f.push_back(TextField<65>("mailTo3", kEvery, MEMBER(mailTo3), MEMBER(mailTo3State)));
    f.push_back(EventField("mailEvents1", MEMBER(mailEvents1), MEMBER(mailEvents1State)));
    f.push_back(EventField("mailEvents2", MEMBER(mailEvents2), MEMBER(mailEvents2State)));
    f.push_back(EventField("mailEvents3", MEMBER(mailEvents3), MEMBER(mailEvents3State)));
    f.push_back(AddressField("trapAddress1", MEMBER(trapAddress1), MEMBER(trapAddress1State)));
    f.push_back(AddressField("trapAddress2", MEMBER(trapAddress2), MEMBER(trapAddress2State)));
    f.push_back(TextField<9>("community", kEvery, MEMBER(community), MEMBER(communityState)));
    f.push_back(EssidField());
    f.push_back(FlagField("adhoc", FieldHome::kWireless, MEMBER(adhoc), MEMBER(adhocState)));
    f.push_back(FlagField("wepEnabled", FieldHome::kBasicWireless, MEMBER(wepEnabled),
                          MEMBER(wepEnabledState)));
    f.push_back(
        TextField<28>("wepKey", FieldHome::kBasicWireless, MEMBER(wepKey), MEMBER(wepKeyState)));
    f.push_back(Field("security", FieldHome::kExtendedWireless, MEMBER(security),
                      MEMBER(securityState), &ParseSecurity));
    f.back().text = &SecurityCodeText;
    f.back().rule = {kStringFieldRuleSecurity, {}};
    f.push_back(NumberField("wepKeyId", FieldHome::kExtendedWireless, MEMBER(wepKeyId),
                            MEMBER(wepKeyIdState), 1, 4));
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

// How a projector is reached: a template's interface settings fit only its own kind.
enum class InterfaceKind { kUnknown, kWired, kWireless, kExtendedWireless };

// The kind of a projector as read, or of the one a file was saved from (its module type and
// whether it holds wireless keys); unknown for a file that names no module type.
InterfaceKind InterfaceKindOf(const Record& record) {
    if (record.imType == 0) {
        return InterfaceKind::kUnknown;
    }
    if (record.wirelessActive == 0) {
        return InterfaceKind::kWired;
    }
    return record.imType == kImTypeExtendedWireless ? InterfaceKind::kExtendedWireless
                                                    : InterfaceKind::kWireless;
}

// The interface choice and the wireless set-up.
bool IsInterfaceSetUp(std::string_view name) {
    return name == "primaryInterface" || name == "essid" || name == "adhoc" ||
           name == "security" || name.starts_with("wep");
}

}  // namespace

std::vector<RecordFieldInfo> RecordFieldList() {
    std::vector<RecordFieldInfo> list;
    for (const FieldDefinition& field : Fields()) {
        list.push_back({field.name, field.home});
    }
    return list;
}

bool IsRecordField(std::string_view name) {
    return FindField(name) != nullptr;
}

std::string FieldText(std::string_view name, const ProjectorRecord& record) {
    const FieldDefinition* field = FindField(name);
    if (field == nullptr) {
        return {};
    }
    // Keys are never shown: a stored key stands for itself, as in the wireless dialogs.
    if (name.starts_with("wepKey") && name != "wepKeyId") {
        return field->text(record).empty() ? "" : "**********";
    }
    return field->text(record);
}

namespace {

// Letters added, removed or changed between `a` and `b`, letter case aside.
std::size_t EditDistance(std::string_view a, std::string_view b) {
    std::vector<std::size_t> row(b.size() + 1);
    for (std::size_t j = 0; j <= b.size(); ++j) {
        row[j] = j;
    }
    for (std::size_t i = 1; i <= a.size(); ++i) {
        std::size_t diagonal = row[0];
        row[0] = i;
        for (std::size_t j = 1; j <= b.size(); ++j) {
            const std::size_t above = row[j];
            const bool same = EqualIgnoringCase(a.substr(i - 1, 1), b.substr(j - 1, 1));
            row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (same ? 0 : 1)});
            diagonal = above;
        }
    }
    return row[b.size()];
}

}  // namespace

std::optional<std::string_view> NearestRecordField(std::string_view name) {
    constexpr std::size_t kMostChanges = 2;
    std::optional<std::string_view> nearest;
    std::size_t best = kMostChanges + 1;
    for (const FieldDefinition& field : Fields()) {
        const std::size_t distance = EditDistance(name, field.name);
        if (distance < best) {
            best = distance;
            nearest = field.name;
        }
    }
    return nearest;
}

ApplyOutcome ApplyAssignments(const std::vector<FieldAssignment>& assignments, Record& record) {
    Record edited = record;
    std::vector<const FieldDefinition*> named;
    for (const FieldAssignment& assignment : assignments) {
        const FieldDefinition* field = FindField(assignment.field);
        const int parsed = field == nullptr ? -1 : field->parse(assignment.value, edited);
        if (parsed != 0) {
            ApplyOutcome refused{false, assignment.field, assignment.value,
                                 parsed > 0 ? parsed : 0, {}, {}};
            if (field != nullptr && parsed < 0) {
                refused.rule = field->rule;
            }
            return refused;
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
    ApplyOutcome outcome;
    outcome.ok = true;
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

std::optional<std::string> ReadFieldValue(std::string_view name, const Record& record) {
    const FieldDefinition* field = FindField(name);
    if (field == nullptr || !field->text || field->stateOf(record) == kStateUnknown ||
        MissingSetting(name, record)) {
        return std::nullopt;
    }
    return field->text(record);
}

bool IsFieldCut(std::string_view name, const Record& record) {
    const FieldDefinition* field = FindField(name);
    return field != nullptr && field->stateOf(record) == kStateCut;
}

std::string FieldValueText(std::string_view name, const Record& record) {
    return ReadFieldValue(name, record).value_or("");
}

std::optional<MissingReason> MissingSetting(std::string_view name, const Record& record) {
    const FieldDefinition* field = FindField(name);
    if (field == nullptr || field->home == FieldHome::kEvery) {
        return std::nullopt;
    }
    if (record.wirelessActive == 0) {
        return MissingReason::kWiredInterface;
    }
    const bool extended = record.imType == kImTypeExtendedWireless;
    if (field->home == FieldHome::kBasicWireless && extended) {
        return MissingReason::kBasicWirelessOnly;
    }
    if (field->home == FieldHome::kExtendedWireless && !extended) {
        return MissingReason::kExtendedWireless;
    }
    return std::nullopt;
}

TemplateMerge MergeTemplate(const Record& file, Record& record) {
    TemplateMerge merge;
    const bool sameInterface = InterfaceKindOf(file) != InterfaceKind::kUnknown &&
                               InterfaceKindOf(file) == InterfaceKindOf(record);
    for (const FieldDefinition& field : Fields()) {
        if (field.stateOf(file) != kStateRead) {
            continue;
        }
        if (IsOwnIdentity(field.name)) {
            merge.leftAlone.push_back({std::string(field.name), LeftAloneReason::kOwnIdentity});
            continue;
        }
        if (IsInterfaceSetUp(field.name) && !sameInterface) {
            merge.leftAlone.push_back({std::string(field.name), LeftAloneReason::kOtherInterface});
            continue;
        }
        const bool differs = field.differs(file, record);
        field.store(differs ? file : record, record, differs ? kStateChanged : kStateUnchanged);
        if (differs) {
            merge.changed.emplace_back(field.name);
        }
    }
    record.writeAll = 0;
    return merge;
}

bool TemplateHoldsNoSetting(const Record& file) {
    return std::none_of(Fields().begin(), Fields().end(), [&file](const FieldDefinition& field) {
        return field.stateOf(file) == kStateRead && !IsOwnIdentity(field.name);
    });
}

std::optional<std::vector<std::string>> OlderTemplateKeys(const Record& file) {
    if (!IsEmptyText(file.iniVersion)) {
        return std::nullopt;
    }
    std::vector<std::string> keys;
    for (const SettingsFileKey& key : SettingsFileKeys()) {
        if (key.older && key.state != nullptr && file.*key.state == kStateRead &&
            !IsOwnIdentity(key.field) && !IsInterfaceSetUp(key.field)) {
            keys.push_back(SettingsFileKeyName(key, true));
        }
    }
    return keys;
}

std::optional<std::string> OlderTemplateNote(const Record& file, std::string_view fileName,
                                             Language language) {
    const std::optional<std::vector<std::string>> keys = OlderTemplateKeys(file);
    if (!keys) {
        return std::nullopt;
    }
    std::string joined;
    for (const std::string& key : *keys) {
        joined += (joined.empty() ? "" : ", ") + key;
    }
    if (joined.empty()) {
        joined = FormatString(kStringNoValue, language);
    }
    return FormatString(kStringOlderTemplateApplies, language, {fileName, joined});
}

}  // namespace lanterna::fleet
