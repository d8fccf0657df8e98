#include "tools/lanternactl/RecordJson.h"

#include <algorithm>
#include <cstdint>
#include <limits>

#include "platform/InputFile.h"

namespace lanterna::cli {

namespace {

// Every field of the JSON form, in record order. Kinds: NUMBER (any integer field), TEXT,
// ADDRESS (four octets as dotted text), SECURITY (array of four numbers).
// clang-format off
#define LANTERNA_RECORD_FIELDS(X)                                                                  \
    X(NUMBER, origin)                                                                              \
    X(NUMBER, writeAll)                                                                            \
    X(TEXT, address)                                                                               \
    X(TEXT, macAddress)                                                                            \
    X(NUMBER, wirelessActive)                                                                      \
    X(NUMBER, dhcp)                                                                                \
    X(TEXT, projectorName)                                                                         \
    X(ADDRESS, ipAddress)                                                                          \
    X(ADDRESS, subnetMask)                                                                         \
    X(ADDRESS, gateway)                                                                            \
    X(ADDRESS, dns1)                                                                               \
    X(ADDRESS, dns2)                                                                               \
    X(TEXT, dnsDomain)                                                                             \
    X(ADDRESS, wins1)                                                                              \
    X(ADDRESS, wins2)                                                                              \
    X(NUMBER, mailNotify)                                                                          \
    X(ADDRESS, smtpServer)                                                                         \
    X(NUMBER, smtpPort)                                                                            \
    X(TEXT, mailTo1)                                                                               \
    X(NUMBER, mailEvents1)                                                                         \
    X(TEXT, mailTo2)                                                                               \
    X(NUMBER, mailEvents2)                                                                         \
    X(TEXT, mailTo3)                                                                               \
    X(NUMBER, mailEvents3)                                                                         \
    X(ADDRESS, trapAddress1)                                                                       \
    X(ADDRESS, trapAddress2)                                                                       \
    X(TEXT, community)                                                                             \
    X(NUMBER, essidSet)                                                                            \
    X(TEXT, essid)                                                                                 \
    X(NUMBER, wepEnabled)                                                                          \
    X(TEXT, wepKey)                                                                                \
    X(NUMBER, adhoc)                                                                               \
    X(NUMBER, dhcpState)                                                                           \
    X(NUMBER, projectorNameState)                                                                  \
    X(NUMBER, ipAddressState)                                                                      \
    X(NUMBER, subnetMaskState)                                                                     \
    X(NUMBER, gatewayState)                                                                        \
    X(NUMBER, dns1State)                                                                           \
    X(NUMBER, dns2State)                                                                           \
    X(NUMBER, dnsDomainState)                                                                      \
    X(NUMBER, wins1State)                                                                          \
    X(NUMBER, wins2State)                                                                          \
    X(NUMBER, mailNotifyState)                                                                     \
    X(NUMBER, smtpServerState)                                                                     \
    X(NUMBER, smtpPortState)                                                                       \
    X(NUMBER, mailTo1State)                                                                        \
    X(NUMBER, mailTo2State)                                                                        \
    X(NUMBER, mailTo3State)                                                                        \
    X(NUMBER, mailEvents1State)                                                                    \
    X(NUMBER, mailEvents2State)                                                                    \
    X(NUMBER, mailEvents3State)                                                                    \
    X(NUMBER, trapAddress1State)                                                                   \
    X(NUMBER, trapAddress2State)                                                                   \
    X(NUMBER, communityState)                                                                      \
    X(NUMBER, essidState)                                                                          \
    X(NUMBER, wepEnabledState)                                                                     \
    X(NUMBER, wepKeyState)                                                                         \
    X(NUMBER, adhocState)                                                                          \
    X(NUMBER, primaryInterfaceState)                                                               \
    X(NUMBER, securityState)                                                                       \
    X(NUMBER, wepKeyIdState)                                                                       \
    X(NUMBER, wepKey1State)                                                                        \
    X(NUMBER, wepKey2State)                                                                        \
    X(NUMBER, wepKey3State)                                                                        \
    X(NUMBER, wepKey4State)                                                                        \
    X(NUMBER, primaryInterface)                                                                    \
    X(SECURITY, security)                                                                          \
    X(NUMBER, wepKeyId)                                                                            \
    X(TEXT, wepKey1)                                                                               \
    X(TEXT, wepKey2)                                                                               \
    X(TEXT, wepKey3)                                                                               \
    X(TEXT, wepKey4)                                                                               \
    X(TEXT, securityPsk)                                                                           \
    X(TEXT, securityUser)                                                                          \
    X(TEXT, securityPassword)                                                                      \
    X(NUMBER, imType)                                                                              \
    X(TEXT, iniVersion)
// clang-format on

template <typename Integer>
nlohmann::ordered_json NumberToJson(Integer value) {
    return static_cast<std::int64_t>(value);
}

template <std::size_t N>
nlohmann::ordered_json TextToJson(const FixedText<N>& text) {
    return std::string(TextOf(text));
}

nlohmann::ordered_json AddressToJson(const Octets& octets) {
    return FormatDotted(octets);
}

nlohmann::ordered_json SecurityToJson(const std::array<std::int32_t, 4>& digits) {
    return nlohmann::ordered_json::array({digits[0], digits[1], digits[2], digits[3]});
}

template <typename Integer>
bool NumberFromJson(const nlohmann::json& value, Integer& field, std::string& error) {
    if (!value.is_number_integer()) {
        error = "must be an integer";
        return false;
    }
    // A number above the signed 64-bit range arrives unsigned; read signed it would wrap.
    if (value.is_number_unsigned() &&
        value.get<std::uint64_t>() >
            static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max())) {
        error = "is out of range";
        return false;
    }
    const auto number = value.get<std::int64_t>();
    if (number < static_cast<std::int64_t>(std::numeric_limits<Integer>::min()) ||
        number > static_cast<std::int64_t>(std::numeric_limits<Integer>::max())) {
        error = "is out of range";
        return false;
    }
    field = static_cast<Integer>(number);
    return true;
}

template <std::size_t N>
bool TextFromJson(const nlohmann::json& value, FixedText<N>& field, std::string& error) {
    if (!value.is_string()) {
        error = "must be a string";
        return false;
    }
    const auto& text = value.get_ref<const std::string&>();
    if (text.size() > N - 1 || text.find('\0') != std::string::npos) {
        error = "is longer than " + std::to_string(N - 1) + " bytes or holds a zero byte";
        return false;
    }
    CopyText(field, text);
    return true;
}

bool AddressFromJson(const nlohmann::json& value, Octets& field, std::string& error) {
    std::array<int, 4> numbers{};
    const bool isText = value.is_string();
    const std::string text = isText ? value.get<std::string>() : std::string();
    const bool onlyDigitsAndPoints = text.find_first_not_of("0123456789.") == std::string::npos;
    // Exactly four parts: "1.2.3.4.5" would otherwise be read as 1.2.3.4.
    const bool fourParts = std::count(text.begin(), text.end(), '.') == 3;
    if (!isText || !onlyDigitsAndPoints || !fourParts || ScanDotted(text, numbers) != 4) {
        error = "must be a dotted address such as \"192.168.1.5\"";
        return false;
    }
    Octets octets{};
    if (ScanDottedOctetsInRange(text, octets) != 4) {
        error = "has an octet outside 0..255";
        return false;
    }
    field = octets;
    return true;
}

bool SecurityFromJson(const nlohmann::json& value, std::array<std::int32_t, 4>& field,
                      std::string& error) {
    if (!value.is_array() || value.size() != 4) {
        error = "must be an array of four numbers";
        return false;
    }
    for (std::size_t i = 0; i < 4; ++i) {
        if (!NumberFromJson(value[i], field[i], error)) {
            return false;
        }
    }
    return true;
}

}  // namespace

nlohmann::ordered_json RecordToJson(const ProjectorRecord& record) {
    nlohmann::ordered_json json = nlohmann::ordered_json::object();
#define NUMBER_TO(name) json[#name] = NumberToJson(record.name);
#define TEXT_TO(name) json[#name] = TextToJson(record.name);
#define ADDRESS_TO(name) json[#name] = AddressToJson(record.name);
#define SECURITY_TO(name) json[#name] = SecurityToJson(record.name);
#define FIELD_TO(kind, name) kind##_TO(name)
    LANTERNA_RECORD_FIELDS(FIELD_TO)
#undef FIELD_TO
#undef SECURITY_TO
#undef ADDRESS_TO
#undef TEXT_TO
#undef NUMBER_TO
    return json;
}

bool RecordFromJson(const nlohmann::json& json, ProjectorRecord& record, std::string& error) {
    if (!json.is_object()) {
        error = "the record must be a JSON object";
        return false;
    }
    for (const auto& [key, value] : json.items()) {
        bool known = false;
        bool ok = true;
        std::string problem;
#define NUMBER_FROM(name) ok = NumberFromJson(value, record.name, problem);
#define TEXT_FROM(name) ok = TextFromJson(value, record.name, problem);
#define ADDRESS_FROM(name) ok = AddressFromJson(value, record.name, problem);
#define SECURITY_FROM(name) ok = SecurityFromJson(value, record.name, problem);
#define FIELD_FROM(kind, name) \
    if (key == #name) {        \
        known = true;          \
        kind##_FROM(name)      \
    }
        LANTERNA_RECORD_FIELDS(FIELD_FROM)
#undef FIELD_FROM
#undef SECURITY_FROM
#undef ADDRESS_FROM
#undef TEXT_FROM
#undef NUMBER_FROM
        if (key == "password") {
            error = "field \"password\" is not taken from a file; it is asked for instead";
            return false;
        }
        if (!known) {
            error = "unknown field \"" + key + "\"";
            return false;
        }
        if (!ok) {
            error = "field \"" + key + "\" " + problem;
            return false;
        }
    }
    return true;
}

bool RecordFromJsonText(std::string_view text, ProjectorRecord& record, std::string& error) {
    if (text.size() > kRecordJsonMaxBytes) {
        error = "larger than " + ByteLimitText(kRecordJsonMaxBytes);
        return false;
    }
    const nlohmann::json json = nlohmann::json::parse(text, nullptr, false);
    if (json.is_discarded()) {
        error = "not valid JSON";
        return false;
    }
    return RecordFromJson(json, record, error);
}

}  // namespace lanterna::cli
