#include <limits>
#include <string>

#include "platform/DecimalText.h"
#include "platform/ProfileFile.h"
#include "settings/SettingsFile.h"

namespace lanterna {

namespace {

// Every text is read with this default so that a missing key can be told from an empty one.
constexpr std::string_view kMissing = "DEFAULT";
// Every number is read with this default; a stored -1 therefore counts as missing too.
constexpr int kMissingNumber = -1;
constexpr std::size_t kTextBufferBytes = 1024;
constexpr std::size_t kIniVersionLimit = 6;

bool IsTaken(std::string_view text) {
    return !text.empty() && text != kMissing;
}

// Reads the keys of one key set (with or without the "NM_" prefix) into the record and notes
// whether any of them made the file usable.
class SettingsKeyReader {
  public:
    SettingsKeyReader(const ProfileDocument& document, std::string_view prefix,
                      ProjectorRecord& record)
        : document_(document), prefix_(prefix), record_(record) {}

    bool Usable() const { return usable_; }
    void MarkUsable() { usable_ = true; }
    void MarkWireless() { record_.wirelessActive = 1; }

    std::string Text(std::string_view section, std::string_view key) const {
        return ProfileString(document_, section, Name(key), kMissing, kTextBufferBytes);
    }

    // A number key that fits `Field`; nullopt when missing (or stored as -1) and when the number
    // lies outside the field's range, which would otherwise be stored cut.
    template <typename Field>
    std::optional<Field> Number(std::string_view section, std::string_view key) const {
        const long long value = ProfileWideInt(document_, section, Name(key), kMissingNumber);
        if (value == kMissingNumber || value < std::numeric_limits<Field>::min() ||
            value > std::numeric_limits<Field>::max()) {
            return std::nullopt;
        }
        return static_cast<Field>(value);
    }

    // A dotted address; one with an octet outside 0..255 or more than four parts is unusable
    // like a missing one.
    void Address(std::string_view section, std::string_view key, Octets& field,
                 std::int32_t& state) {
        const std::string text = Text(section, key);
        Octets octets = field;
        state = IsTaken(text) && ScanDottedOctetsInRange(text, octets) >= 0 ? kStateRead
                                                                            : kStateUnknown;
        if (state == kStateRead) {
            field = octets;
            usable_ = true;
        }
    }

    template <typename Field>
    bool NumberInto(std::string_view section, std::string_view key, Field& field,
                    std::int32_t& state) {
        const std::optional<Field> value = Number<Field>(section, key);
        state = value ? kStateRead : kStateUnknown;
        if (value) {
            field = *value;
            usable_ = true;
        }
        return value.has_value();
    }

    // A text whose empty value counts as missing (the projector name, the community).
    template <std::size_t N>
    void RequiredText(std::string_view section, std::string_view key, FixedText<N>& field,
                      std::size_t limit, std::int32_t& state) {
        const std::string text = Text(section, key);
        state = IsTaken(text) ? kStateRead : kStateUnknown;
        if (state == kStateRead) {
            CopyText(field, text, limit);
            usable_ = true;
        }
    }

    // A text that may be stored empty: an empty value is known (state 1) but not usable.
    // Returns true when a non-empty text was taken.
    template <std::size_t N>
    bool OptionalText(std::string_view section, std::string_view key, FixedText<N>& field,
                      std::size_t limit, std::int32_t& state) {
        const std::string text = Text(section, key);
        state = text != kMissing ? kStateRead : kStateUnknown;
        if (!IsTaken(text)) {
            return false;
        }
        CopyText(field, text, limit);
        usable_ = true;
        return true;
    }

    void MacAddress() {
        const std::string text = Text("COMMON", "MACADDR");
        if (IsTaken(text)) {
            CopyText(record_.macAddress, text, 12);
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
        OptionalText("NETWORK", "DNSDOMAIN", r.dnsDomain, 96, r.dnsDomainState);
        Address("NETWORK", "WINS1", r.wins1, r.wins1State);
        Address("NETWORK", "WINS2", r.wins2, r.wins2State);
    }

    void Mail() {
        ProjectorRecord& r = record_;
        NumberInto("SMTP", "SMTPALART", r.mailNotify, r.mailNotifyState);
        Address("SMTP", "SMTPSERVER", r.smtpServer, r.smtpServerState);
        NumberInto("SMTP", "SMTPPORT", r.smtpPort, r.smtpPortState);
        OptionalText("SMTP", "TO1", r.mailTo1, 64, r.mailTo1State);
        OptionalText("SMTP", "TO2", r.mailTo2, 64, r.mailTo2State);
        OptionalText("SMTP", "TO3", r.mailTo3, 64, r.mailTo3State);
        NumberInto("SMTP", "TO1EVENT", r.mailEvents1, r.mailEvents1State);
        NumberInto("SMTP", "TO2EVENT", r.mailEvents2, r.mailEvents2State);
        NumberInto("SMTP", "TO3EVENT", r.mailEvents3, r.mailEvents3State);
    }

    void Snmp() {
        ProjectorRecord& r = record_;
        Address("SNMP", "TRAP1", r.trapAddress1, r.trapAddress1State);
        Address("SNMP", "TRAP2", r.trapAddress2, r.trapAddress2State);
        RequiredText("SNMP", "COMMUNITY", r.community, 8, r.communityState);
    }

    void Essid() {
        ProjectorRecord& r = record_;
        if (OptionalText("WLAN", "ESSID", r.essid, 32, r.essidState)) {
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
        if (OptionalText("WLAN", "WEPKEY", r.wepKey, 26, r.wepKeyState)) {
            MarkWireless();
        }
    }

    // The four security digits count only together.
    void SecurityDigits() {
        ProjectorRecord& r = record_;
        static constexpr std::string_view kKeys[] = {"SEC0", "SEC1", "SEC2", "SEC3"};
        bool allPresent = true;
        for (std::size_t i = 0; i < 4; ++i) {
            const std::optional<std::int32_t> digit = Number<std::int32_t>("WLAN", kKeys[i]);
            if (digit) {
                r.security[i] = *digit;
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
            if (OptionalText("WLAN", kNames[i], *keys[i], 26, *states[i])) {
                MarkWireless();
            }
        }
    }

  private:
    std::string Name(std::string_view key) const { return std::string(prefix_) + std::string(key); }

    const ProfileDocument& document_;
    std::string_view prefix_;
    ProjectorRecord& record_;
    bool usable_ = false;
};

int ReadCurrentKeySet(ProjectorRecord& record, const ProfileDocument& document,
                      std::string_view version) {
    CopyText(record.iniVersion, version, kIniVersionLimit);
    SettingsKeyReader keys(document, "NM_", record);

    // A type beyond the 8-bit field is not taken: cut, it would name another module.
    const std::string imType = keys.Text("COMMON", "IMTYPE");
    const std::optional<long long> imTypeNumber = ScanLeadingDecimalWide(imType);
    if (IsTaken(imType) && imTypeNumber.value_or(0) >= 0 && imTypeNumber.value_or(0) <= 255) {
        record.imType = static_cast<std::uint8_t>(imTypeNumber.value_or(0));
    }
    keys.RequiredText("COMMON", "PROJECTORNAME", record.projectorName, 15,
                      record.projectorNameState);
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
    const std::string primary = keys.Text("COMMON", "PRIMIF");
    if (IsTaken(primary)) {
        record.primaryInterfaceState = kStateRead;
        record.primaryInterface = LeadingDecimal(primary) == 1 ? 1 : 0;
        return 1;
    }
    record.primaryInterfaceState = kStateUnknown;
    return keys.Usable() ? 1 : 0;
}

int ReadOlderKeySet(ProjectorRecord& record, const ProfileDocument& document) {
    SettingsKeyReader keys(document, "", record);
    keys.RequiredText("COMMON", "PROJECTORNAME", record.projectorName, 15,
                      record.projectorNameState);
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

int ReadSettingsDocument(ProjectorRecord& record, const ProfileDocument& document) {
    const std::string version =
        ProfileString(document, "FILE", "NM_INIVER", kMissing, kTextBufferBytes);
    if (IsTaken(version)) {
        return ReadCurrentKeySet(record, document, version);
    }
    return ReadOlderKeySet(record, document);
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
