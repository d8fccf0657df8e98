#include <optional>
#include <string>

#include "platform/ProfileFile.h"
#include "record/DottedAddress.h"
#include "settings/SettingsFile.h"
#include "settings/SettingsFileCheck.h"
#include "settings/SettingsFileKeys.h"

namespace lanterna {

namespace {

// Every text is read with this default so that a missing key can be told from an empty one.
constexpr std::string_view kMissing = "DEFAULT";
// A number stored as -1 counts as missing, as the platform's integer reader returns it for one.
constexpr std::string_view kMissingNumber = "-1";
constexpr std::size_t kTextBufferBytes = 1024;
constexpr std::size_t kIniVersionLimit = 6;

bool IsTaken(std::string_view text) {
    return !text.empty() && text != kMissing;
}

// Digits that IsFileValue has let through: at most ten, so they fit.
std::uint64_t DigitsValue(std::string_view digits) {
    std::uint64_t value = 0;
    for (const char c : digits) {
        value = value * 10 + static_cast<std::uint64_t>(c - '0');
    }
    return value;
}

// Reads the keys of one key set (with or without the "NM_" prefix) into the record, takes each
// value only when it has exactly its key's form, and notes whether any of them made the file
// usable and which value was refused first.
class SettingsKeyReader {
  public:
    SettingsKeyReader(const ProfileDocument& document, bool older, ProjectorRecord& record,
                      SettingsFileProblem& refused)
        : document_(document), older_(older), record_(record), refused_(refused) {}

    bool Usable() const { return usable_; }
    void MarkWireless() { record_.wirelessActive = 1; }

    std::string Text(std::string_view section, std::string_view key) const {
        return ProfileString(document_, section, Name(key), kMissing, kTextBufferBytes);
    }

    // The value of a key when the file gives one of the key's form; none when the key is missing
    // (or empty, where `emptyIsMissing`) and when the value is refused, which is noted.
    std::optional<std::string> Value(std::string_view section, std::string_view key,
                                     bool emptyIsMissing) {
        std::string text = Text(section, key);
        const SettingsFileKey* known = FindSettingsFileKey(section, Name(key), older_);
        if (text == kMissing || (emptyIsMissing && text.empty()) || known == nullptr) {
            return std::nullopt;
        }
        if (!IsFileValue(known->rule, text)) {
            Refuse(*known, text);
            return std::nullopt;
        }
        return text;
    }

    // A number (a flag too); a stored -1 counts as missing.
    std::optional<std::uint64_t> Number(std::string_view section, std::string_view key) {
        if (Text(section, key) == kMissingNumber) {
            return std::nullopt;
        }
        const std::optional<std::string> text = Value(section, key, true);
        return text ? std::optional<std::uint64_t>(DigitsValue(*text)) : std::nullopt;
    }

    void Address(std::string_view section, std::string_view key, Octets& field,
                 std::int32_t& state) {
        const std::optional<std::string> text = Value(section, key, true);
        Octets octets{};
        state = text && ScanDottedOctetsInRange(*text, octets) >= 0 ? kStateRead : kStateUnknown;
        if (state == kStateRead) {
            field = octets;
            usable_ = true;
        }
    }

    template <typename Field>
    bool NumberInto(std::string_view section, std::string_view key, Field& field,
                    std::int32_t& state) {
        const std::optional<std::uint64_t> value = Number(section, key);
        state = value ? kStateRead : kStateUnknown;
        if (value) {
            field = static_cast<Field>(*value);
            usable_ = true;
        }
        return value.has_value();
    }

    // A text whose empty value counts as missing (the projector name, the community).
    template <std::size_t N>
    void RequiredText(std::string_view section, std::string_view key, FixedText<N>& field,
                      std::int32_t& state) {
        const std::optional<std::string> text = Value(section, key, true);
        state = text ? kStateRead : kStateUnknown;
        if (text) {
            CopyText(field, *text);
            usable_ = true;
        }
    }

    // A text that may be stored empty: an empty value is known (state 1) but not usable.
    // Returns true when a non-empty text was taken.
    template <std::size_t N>
    bool OptionalText(std::string_view section, std::string_view key, FixedText<N>& field,
                      std::int32_t& state) {
        const std::optional<std::string> text = Value(section, key, false);
        state = text ? kStateRead : kStateUnknown;
        if (!text || text->empty()) {
            return false;
        }
        CopyText(field, *text);
        usable_ = true;
        return true;
    }

    void MacAddress() {
        if (const std::optional<std::string> text = Value("COMMON", "MACADDR", true)) {
            CopyText(record_.macAddress, *text);
            usable_ = true;
        }
    }

    void Network() {
        ProjectorRecord& r = record_;
        Address("NETWORK", "IP", r.ipAddress, r.ipAddressState);
        NumberInto("NETWORK", "DHCP", r.dhcp, r.dhcpState);
        Address("NETWORK", "SUBNET", r.subnetMask, r.subnetMaskState);
        Address("NETWORK", "GATEWAY", r.gateway, r.gatewayState);
        Address("NETWORK", "DNS1", r.dns1, r.dns1State);
        Address("NETWORK", "DNS2", r.dns2, r.dns2State);
        OptionalText("NETWORK", "DNSDOMAIN", r.dnsDomain, r.dnsDomainState);
        Address("NETWORK", "WINS1", r.wins1, r.wins1State);
        Address("NETWORK", "WINS2", r.wins2, r.wins2State);
    }

    void Mail() {
        ProjectorRecord& r = record_;
        NumberInto("SMTP", "SMTPALART", r.mailNotify, r.mailNotifyState);
        Address("SMTP", "SMTPSERVER", r.smtpServer, r.smtpServerState);
        NumberInto("SMTP", "SMTPPORT", r.smtpPort, r.smtpPortState);
        OptionalText("SMTP", "TO1", r.mailTo1, r.mailTo1State);
        OptionalText("SMTP", "TO2", r.mailTo2, r.mailTo2State);
        OptionalText("SMTP", "TO3", r.mailTo3, r.mailTo3State);
        NumberInto("SMTP", "TO1EVENT", r.mailEvents1, r.mailEvents1State);
        NumberInto("SMTP", "TO2EVENT", r.mailEvents2, r.mailEvents2State);
        NumberInto("SMTP", "TO3EVENT", r.mailEvents3, r.mailEvents3State);
    }

    void Snmp() {
        ProjectorRecord& r = record_;
        Address("SNMP", "TRAP1", r.trapAddress1, r.trapAddress1State);
        Address("SNMP", "TRAP2", r.trapAddress2, r.trapAddress2State);
        RequiredText("SNMP", "COMMUNITY", r.community, r.communityState);
    }

    void Essid() {
        ProjectorRecord& r = record_;
        if (OptionalText("WLAN", "ESSID", r.essid, r.essidState)) {
            r.essidSet = 1;
            MarkWireless();
        }
    }

    void Adhoc() {
        if (NumberInto("WLAN", "ADHOC", record_.adhoc, record_.adhocState)) {
            MarkWireless();
        }
    }

    void BasicWep() {
        ProjectorRecord& r = record_;
        if (NumberInto("WLAN", "WEP", r.wepEnabled, r.wepEnabledState)) {
            MarkWireless();
        }
        if (OptionalText("WLAN", "WEPKEY", r.wepKey, r.wepKeyState)) {
            MarkWireless();
        }
    }

    // The four security digits count only together.
    void SecurityDigits() {
        ProjectorRecord& r = record_;
        static constexpr std::string_view kKeys[] = {"SEC0", "SEC1", "SEC2", "SEC3"};
        bool allPresent = true;
        for (std::size_t i = 0; i < 4; ++i) {
            const std::optional<std::uint64_t> digit = Number("WLAN", kKeys[i]);
            if (digit) {
                r.security[i] = static_cast<std::int32_t>(*digit);
            } else {
                allPresent = false;
            }
        }
        r.securityState = allPresent ? kStateRead : kStateUnknown;
        if (allPresent) {
            MarkWireless();
            usable_ = true;
        }
    }

    void ExtendedWep() {
        ProjectorRecord& r = record_;
        if (NumberInto("WLAN", "WEPID", r.wepKeyId, r.wepKeyIdState)) {
            MarkWireless();
        }
        FixedText<27>* keys[] = {&r.wepKey1, &r.wepKey2, &r.wepKey3, &r.wepKey4};
        std::int32_t* states[] = {&r.wepKey1State, &r.wepKey2State, &r.wepKey3State,
                                  &r.wepKey4State};
        static constexpr std::string_view kNames[] = {"WEPKEY1", "WEPKEY2", "WEPKEY3", "WEPKEY4"};
        for (std::size_t i = 0; i < 4; ++i) {
            if (OptionalText("WLAN", kNames[i], *keys[i], *states[i])) {
                MarkWireless();
            }
        }
    }

  private:
    std::string Name(std::string_view key) const {
        return (older_ ? std::string() : std::string(kCurrentKeyPrefix)) + std::string(key);
    }

    void Refuse(const SettingsFileKey& key, const std::string& value) {
        if (!refused_) {
            refused_ = {SettingsFileFault::kBadValue, std::string(key.section),
                        SettingsFileKeyName(key, older_), value, key.rule};
        }
    }

    const ProfileDocument& document_;
    bool older_;
    ProjectorRecord& record_;
    SettingsFileProblem& refused_;
    bool usable_ = false;
};

int ReadCurrentKeySet(ProjectorRecord& record, const ProfileDocument& document,
                      std::string_view version, SettingsFileProblem& refused) {
    CopyText(record.iniVersion, version, kIniVersionLimit);
    SettingsKeyReader keys(document, false, record, refused);
    // The module type comes first: it decides which wireless keys are read.
    if (const std::optional<std::uint64_t> type = keys.Number("COMMON", "IMTYPE")) {
        record.imType = static_cast<std::uint8_t>(*type);
    }
    keys.RequiredText("COMMON", "PROJECTORNAME", record.projectorName, record.projectorNameState);
    keys.MacAddress();
    keys.Network();
    keys.Mail();
    keys.Snmp();
    keys.Essid();
    keys.Adhoc();
    if (record.imType == kImTypeExtendedWireless) {
        keys.SecurityDigits();
        keys.ExtendedWep();
    } else {
        keys.BasicWep();
    }

    record.writeAll = 1;
    if (const std::optional<std::uint64_t> primary = keys.Number("COMMON", "PRIMIF")) {
        record.primaryInterfaceState = kStateRead;
        record.primaryInterface = static_cast<std::uint32_t>(*primary);
        return 1;
    }
    record.primaryInterfaceState = kStateUnknown;
    return keys.Usable() ? 1 : 0;
}

int ReadOlderKeySet(ProjectorRecord& record, const ProfileDocument& document,
                    SettingsFileProblem& refused) {
    SettingsKeyReader keys(document, true, record, refused);
    keys.RequiredText("COMMON", "PROJECTORNAME", record.projectorName, record.projectorNameState);
    keys.MacAddress();
    keys.Network();
    keys.Mail();
    keys.Snmp();
    keys.Essid();
    keys.BasicWep();
    keys.Adhoc();
    record.writeAll = 1;
    return keys.Usable() ? 1 : 0;
}

}  // namespace

int ReadSettingsValues(ProjectorRecord& record, const ProfileDocument& document,
                       SettingsFileProblem& refused) {
    refused = {};
    const std::string version =
        ProfileString(document, "FILE", "NM_INIVER", kMissing, kTextBufferBytes);
    const int result = IsTaken(version) ? ReadCurrentKeySet(record, document, version, refused)
                                        : ReadOlderKeySet(record, document, refused);
    return refused ? 0 : result;
}

int ReadSettingsDocument(ProjectorRecord& record, const ProfileDocument& document) {
    SettingsFileProblem refused;
    return ReadSettingsValues(record, document, refused);
}

int ReadSettingsFile(ProjectorRecord& record, const std::string& path) {
    if (path.empty()) {
        return 0;
    }
    ProfileDocument document;
    LoadProfile(path, document);
    return ReadSettingsDocument(record, document);
}

}  // namespace lanterna
