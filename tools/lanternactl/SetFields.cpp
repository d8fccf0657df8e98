#include "tools/lanternactl/SetFields.h"

#include <algorithm>
#include <charconv>
#include <functional>
#include <optional>

#include "platform/AsciiCase.h"
#include "record/RecordSlots.h"
#include "resources/StringIds.h"
#include "settings/ValidationRules.h"

namespace lanterna::cli {

namespace {

using Record = ProjectorRecord;

struct FieldDefinition {
    std::string_view name;
    // Stores the text into the record: 0 done, -1 it cannot be read as the field's kind, else
    // the message id of a value out of the field's range.
    std::function<int(std::string_view, Record&)> parse;
    // 0 when the value passes, else the message id.
    std::function<int(const Record&)> check;
    // Whether the field differs between the edited and the read record.
    std::function<bool(const Record& edited, const Record& read)> differs;
    // Copies the field from the edited record and sets its state word.
    std::function<void(const Record& edited, Record& read, std::int32_t state)> store;
};

std::optional<std::int64_t> ParseNumber(std::string_view text) {
    int base = 10;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        text.remove_prefix(2);
        base = 16;
    }
    std::int64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    if (error != std::errc() || end != text.data() + text.size() || text.empty()) {
        return std::nullopt;
    }
    return value;
}

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

int Verdict(bool passes, int messageId) {
    return passes ? 0 : messageId;
}

// A field whose value and state are reached through two accessors.
template <typename Get, typename GetState>
FieldDefinition Field(std::string_view name, Get get, GetState getState,
                      std::function<int(std::string_view, Record&)> parse,
                      std::function<int(const Record&)> check) {
    return {name, std::move(parse), std::move(check),
            [get](const Record& edited, const Record& read) {
                return get(const_cast<Record&>(edited)) != get(const_cast<Record&>(read));
            },
            [get, getState](const Record& edited, Record& read, std::int32_t state) {
                get(read) = get(const_cast<Record&>(edited));
                getState(read) = state;
            }};
}

template <std::size_t N, typename Get, typename GetState>
FieldDefinition TextField(std::string_view name, Get get, GetState getState,
                          std::function<int(const Record&)> check, bool ignoreCase = false) {
    FieldDefinition field = Field(
        name, get, getState,
        [get](std::string_view text, Record& r) {
            if (text.size() > N - 1) {
                return -1;
            }
            CopyText(get(r), text);
            return 0;
        },
        std::move(check));
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
FieldDefinition AddressField(std::string_view name, Get get, GetState getState,
                             std::function<int(const Record&)> check) {
    return Field(
        name, get, getState,
        [get](std::string_view text, Record& r) { return ParseAddress(text, get(r)) ? 0 : -1; },
        std::move(check));
}

template <typename Get, typename GetState>
FieldDefinition FlagField(std::string_view name, Get get, GetState getState) {
    return Field(
        name, get, getState,
        [get](std::string_view text, Record& r) {
            const auto flag = ParseFlag(text);
            if (!flag) {
                return -1;
            }
            get(r) = *flag;
            return 0;
        },
        [](const Record&) { return 0; });
}

template <typename Get, typename GetState>
FieldDefinition NumberField(std::string_view name, Get get, GetState getState, std::int64_t low,
                            std::int64_t high, int messageId = 0) {
    // Out of range is refused while reading, before the value is cut to the field's type.
    return Field(
        name, get, getState,
        [get, low, high, messageId](std::string_view text, Record& r) {
            const auto number = ParseNumber(text);
            if (!number) {
                return -1;
            }
            if (*number < low || *number > high) {
                return messageId != 0 ? messageId : -1;
            }
            using Value = std::remove_reference_t<decltype(get(r))>;
            get(r) = static_cast<Value>(*number);
            return 0;
        },
        [](const Record&) { return 0; });
}

#define MEMBER(m)             \
    [](Record & r) -> auto& { \
        return r.m;           \
    }

bool StaticAddress(const Record& r) {
    return r.dhcp == 0;
}

int CheckIpAddress(const Record& r) {
    if (!StaticAddress(r)) {
        return 0;
    }
    if (IsHostAddress(r.ipAddress) != 1) {
        return kStringBadIpAddress;
    }
    if (CheckAddressAgainstMask(FormatDotted(r.ipAddress), FormatDotted(r.subnetMask)) != 0) {
        return IsAddressSet(r.subnetMask) == 1 ? kStringBadIpAddress : kStringBadSubnetMask;
    }
    return 0;
}

int CheckWepKeyOfSlot(const Record& r, int slot) {
    const int size = r.security[1] == 1 ? kWepKeySize64 : kWepKeySize128;
    return Verdict(IsWepKey(TextOf(numbered::WepKey(r, slot)), size) == 1, kStringBadWepKey);
}

template <int Slot>
FieldDefinition WepKeySlotField(std::string_view name) {
    return TextField<27>(
        name, [](Record & r) -> auto& { return numbered::WepKey(r, Slot); },
        [](Record & r) -> auto& { return numbered::WepKeyState(r, Slot); },
        [](const Record& r) { return CheckWepKeyOfSlot(r, Slot); });
}

const std::vector<FieldDefinition>& Fields() {
    static const std::vector<FieldDefinition> fields = [] {
        std::vector<FieldDefinition> f;
        f.push_back(TextField<16>(
            "projectorName", MEMBER(projectorName), MEMBER(projectorNameState),
            [](const Record& r) {
                return Verdict(IsProjectorName(TextOf(r.projectorName)) == 1,
                               kStringBadProjectorName);
            },
            true));
        f.push_back(FlagField("dhcp", MEMBER(dhcp), MEMBER(dhcpState)));
        f.push_back(
            AddressField("ipAddress", MEMBER(ipAddress), MEMBER(ipAddressState), CheckIpAddress));
        f.push_back(AddressField(
            "subnetMask", MEMBER(subnetMask), MEMBER(subnetMaskState), [](const Record& r) {
                return Verdict(!StaticAddress(r) || IsSubnetMask(r.subnetMask) == 1,
                               kStringBadSubnetMask);
            }));
        f.push_back(
            AddressField("gateway", MEMBER(gateway), MEMBER(gatewayState), [](const Record& r) {
                return Verdict(!StaticAddress(r) ||
                                   IsGatewayAddress(r.ipAddress, r.subnetMask, r.gateway) == 1,
                               kStringBadGateway);
            }));
        const auto optionalHost = [](auto get, int messageId) {
            return [get, messageId](const Record& r) {
                return Verdict(IsOptionalHostAddress(get(const_cast<Record&>(r))) == 1, messageId);
            };
        };
        f.push_back(AddressField("dns1", MEMBER(dns1), MEMBER(dns1State),
                                 optionalHost(MEMBER(dns1), kStringBadDns)));
        f.push_back(AddressField("dns2", MEMBER(dns2), MEMBER(dns2State),
                                 optionalHost(MEMBER(dns2), kStringBadDns)));
        f.push_back(TextField<97>(
            "dnsDomain", MEMBER(dnsDomain), MEMBER(dnsDomainState),
            [](const Record& r) {
                return Verdict(IsDomainName(TextOf(r.dnsDomain)) == 1, kStringBadDomainName);
            },
            true));
        f.push_back(AddressField("wins1", MEMBER(wins1), MEMBER(wins1State),
                                 optionalHost(MEMBER(wins1), kStringBadWins)));
        f.push_back(AddressField("wins2", MEMBER(wins2), MEMBER(wins2State),
                                 optionalHost(MEMBER(wins2), kStringBadWins)));
        f.push_back(NumberField("primaryInterface", MEMBER(primaryInterface),
                                MEMBER(primaryInterfaceState), 0, 1));
        f.push_back(FlagField("mailNotify", MEMBER(mailNotify), MEMBER(mailNotifyState)));
        f.push_back(AddressField(
            "smtpServer", MEMBER(smtpServer), MEMBER(smtpServerState), [](const Record& r) {
                return Verdict(r.mailNotify == 0 || IsHostAddress(r.smtpServer) == 1,
                               kStringBadSmtpServer);
            }));
        f.push_back(NumberField("smtpPort", MEMBER(smtpPort), MEMBER(smtpPortState), 1, 65535,
                                kStringBadSmtpPort));
        f.push_back(
            TextField<65>("mailTo1", MEMBER(mailTo1), MEMBER(mailTo1State), [](const Record& r) {
                return Verdict(IsMailAddress(TextOf(r.mailTo1)) == 1, kStringBadMailAddress);
            }));
        const auto optionalMail = [](auto get) {
            return [get](const Record& r) {
                const std::string_view text = TextOf(get(const_cast<Record&>(r)));
                return Verdict(text.empty() || IsMailAddress(text) == 1, kStringBadMailAddress);
            };
        };
        f.push_back(TextField<65>("mailTo2", MEMBER(mailTo2), MEMBER(mailTo2State),
                                  optionalMail(MEMBER(mailTo2))));
        f.push_back(TextField<65>("mailTo3", MEMBER(mailTo3), MEMBER(mailTo3State),
                                  optionalMail(MEMBER(mailTo3))));
        f.push_back(
            NumberField("mailEvents1", MEMBER(mailEvents1), MEMBER(mailEvents1State), 0, 0x7ff));
        f.push_back(
            NumberField("mailEvents2", MEMBER(mailEvents2), MEMBER(mailEvents2State), 0, 0x7ff));
        f.push_back(
            NumberField("mailEvents3", MEMBER(mailEvents3), MEMBER(mailEvents3State), 0, 0x7ff));
        const auto trap = [](auto get) {
            return [get](const Record& r) {
                return Verdict(CheckTrapAddress(get(const_cast<Record&>(r))) != kTrapAddressInvalid,
                               kStringBadTrapAddress);
            };
        };
        f.push_back(AddressField("trapAddress1", MEMBER(trapAddress1), MEMBER(trapAddress1State),
                                 trap(MEMBER(trapAddress1))));
        f.push_back(AddressField("trapAddress2", MEMBER(trapAddress2), MEMBER(trapAddress2State),
                                 trap(MEMBER(trapAddress2))));
        f.push_back(TextField<9>("community", MEMBER(community), MEMBER(communityState),
                                 [](const Record& r) {
                                     const std::string_view text = TextOf(r.community);
                                     return Verdict(!text.empty() && IsCommunityName(text) == 1,
                                                    kStringBadCommunityName);
                                 }));
        FieldDefinition essid =
            TextField<36>("essid", MEMBER(essid), MEMBER(essidState), [](const Record& r) {
                const std::string_view text = TextOf(r.essid);
                const bool ok = r.imType == kImTypeExtendedWireless ? IsEssid(text) == 1
                                                                    : IsEssidBasic(text) == 1;
                return Verdict(ok, kStringBadEssid);
            });
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
        f.push_back(std::move(essid));
        f.push_back(FlagField("adhoc", MEMBER(adhoc), MEMBER(adhocState)));
        f.push_back(FlagField("wepEnabled", MEMBER(wepEnabled), MEMBER(wepEnabledState)));
        f.push_back(
            TextField<28>("wepKey", MEMBER(wepKey), MEMBER(wepKeyState), [](const Record& r) {
                return Verdict(r.wepEnabled == 0 || IsWepKeyBasic(TextOf(r.wepKey)) == 1,
                               kStringBadWepKey);
            }));
        FieldDefinition security = Field(
            "security", MEMBER(security), MEMBER(securityState),
            [](std::string_view text, Record& r) {
                if (text.size() != 6 || text.find_first_not_of("0123456789") != text.npos) {
                    return -1;
                }
                const auto digits = [text](std::size_t at, std::size_t count) {
                    return static_cast<std::int32_t>(*ParseNumber(text.substr(at, count)));
                };
                r.security = {digits(0, 1), digits(1, 1), digits(2, 2), digits(4, 2)};
                return 0;
            },
            [](const Record&) { return 0; });
        f.push_back(std::move(security));
        f.push_back(NumberField("wepKeyId", MEMBER(wepKeyId), MEMBER(wepKeyIdState), 1, 4));
        f.push_back(WepKeySlotField<1>("wepKey1"));
        f.push_back(WepKeySlotField<2>("wepKey2"));
        f.push_back(WepKeySlotField<3>("wepKey3"));
        f.push_back(WepKeySlotField<4>("wepKey4"));
        return f;
    }();
    return fields;
}

#undef MEMBER

const FieldDefinition* FindField(std::string_view name) {
    for (const FieldDefinition& field : Fields()) {
        if (field.name == name) {
            return &field;
        }
    }
    return nullptr;
}

bool IsNamed(const std::vector<const FieldDefinition*>& named, std::string_view name) {
    for (const FieldDefinition* field : named) {
        if (field->name == name) {
            return true;
        }
    }
    return false;
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
            return {false, parsed, assignment.field};
        }
        if (parsed != 0) {
            return {false, 0, "bad value for " + assignment.field + ": '" + assignment.value + "'"};
        }
        if (!IsNamed(named, field->name)) {
            named.push_back(field);
        }
    }
    // Switching DHCP off sends the address line, so its three addresses must be good and go
    // with it even when they were not named.
    if (IsNamed(named, "dhcp") && edited.dhcp == 0 && record.dhcp != 0) {
        for (const std::string_view name : {"ipAddress", "subnetMask", "gateway"}) {
            if (!IsNamed(named, name)) {
                named.push_back(FindField(name));
            }
        }
    }
    // In the order of the table, which is the order the dialogs check their fields in.
    for (const FieldDefinition& field : Fields()) {
        if (!IsNamed(named, field.name)) {
            continue;
        }
        if (const int messageId = field.check(edited); messageId != 0) {
            return {false, messageId, std::string(field.name)};
        }
    }
    const bool dhcpSwitchedOff = edited.dhcp == 0 && record.dhcp != 0;
    for (const FieldDefinition* field : named) {
        const bool forced =
            dhcpSwitchedOff &&
            (field->name == "ipAddress" || field->name == "subnetMask" || field->name == "gateway");
        const bool differs = field->differs(edited, record);
        field->store(differs ? edited : record, record,
                     differs || forced ? kStateChanged : kStateUnchanged);
    }
    return {true, 0, {}};
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

}  // namespace lanterna::cli
