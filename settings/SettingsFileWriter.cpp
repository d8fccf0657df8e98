#include <string>

#include "platform/DiskSpace.h"
#include "platform/ProfileFile.h"
#include "record/CutState.h"
#include "settings/SettingsFile.h"

namespace lanterna {

namespace {

// Collects the key writes of one save; the first write that cannot be stored fails the batch.
class SettingsKeyWriter {
  public:
    explicit SettingsKeyWriter(ProfileDocument& document) : document_(document) {}

    bool Ok() const { return ok_; }

    void Text(std::string_view section, std::string_view key, std::string_view value) {
        ok_ = ok_ && document_.Set(section, key, value);
    }
    void Number(std::string_view section, std::string_view key, long long value) {
        // "%d" of the value as the 32-bit int it is passed as.
        Text(section, key, std::to_string(static_cast<std::int32_t>(value)));
    }
    // A value held cut is left out: the file would give back a value no projector holds.
    void TextUnlessCut(std::string_view section, std::string_view key, std::string_view value,
                       std::int32_t state) {
        if (state != kStateCut) {
            Text(section, key, value);
        }
    }
    void Address(std::string_view section, std::string_view key, const Octets& value) {
        Text(section, key, FormatDotted(value));
    }

  private:
    ProfileDocument& document_;
    bool ok_ = true;
};

void StoreCommon(const ProjectorRecord& r, SettingsKeyWriter& keys) {
    keys.TextUnlessCut("COMMON", "NM_PROJECTORNAME", TextOf(r.projectorName), r.projectorNameState);
    keys.Text("COMMON", "NM_MACADDR", TextOf(r.macAddress));
    keys.Number("COMMON", "NM_IMTYPE", r.imType);
    if (r.primaryInterfaceState != kStateUnknown) {
        keys.Number("COMMON", "NM_PRIMIF", r.primaryInterface);
    }
    keys.Text("FILE", "NM_INIVER", kSettingsFileVersion);
}

void StoreNetwork(const ProjectorRecord& r, SettingsKeyWriter& keys) {
    keys.Number("NETWORK", "NM_DHCP", r.dhcp);
    const bool dhcpOn = r.dhcp != 0;
    if (!dhcpOn) {
        keys.Address("NETWORK", "NM_IP", r.ipAddress);
        keys.Address("NETWORK", "NM_SUBNET", r.subnetMask);
        keys.Address("NETWORK", "NM_GATEWAY", r.gateway);
        if (r.dns1State != kStateUnknown) {
            keys.Address("NETWORK", "NM_DNS1", r.dns1);
        }
        if (r.dns2State != kStateUnknown) {
            keys.Address("NETWORK", "NM_DNS2", r.dns2);
        }
        if (HoldsWholeValue(r.dnsDomainState)) {
            keys.Text("NETWORK", "NM_DNSDOMAIN", TextOf(r.dnsDomain));
        }
    }
    // With DHCP on the WINS servers come from the DHCP server: the file says "none".
    if (r.wins1State != kStateUnknown) {
        keys.Address("NETWORK", "NM_WINS1", dhcpOn ? Octets{} : r.wins1);
    }
    if (r.wins2State != kStateUnknown) {
        keys.Address("NETWORK", "NM_WINS2", dhcpOn ? Octets{} : r.wins2);
    }
}

void StoreMail(const ProjectorRecord& r, SettingsKeyWriter& keys) {
    keys.Number("SMTP", "NM_SMTPALART", r.mailNotify);
    if (r.mailNotify == 0) {
        return;
    }
    keys.Address("SMTP", "NM_SMTPSERVER", r.smtpServer);
    keys.Number("SMTP", "NM_SMTPPORT", r.smtpPort);
    keys.TextUnlessCut("SMTP", "NM_TO1", TextOf(r.mailTo1), r.mailTo1State);
    keys.TextUnlessCut("SMTP", "NM_TO2", TextOf(r.mailTo2), r.mailTo2State);
    keys.TextUnlessCut("SMTP", "NM_TO3", TextOf(r.mailTo3), r.mailTo3State);
    keys.Number("SMTP", "NM_TO1EVENT", r.mailEvents1);
    keys.Number("SMTP", "NM_TO2EVENT", r.mailEvents2);
    keys.Number("SMTP", "NM_TO3EVENT", r.mailEvents3);
}

void StoreSnmp(const ProjectorRecord& r, SettingsKeyWriter& keys) {
    keys.Address("SNMP", "NM_TRAP1", r.trapAddress1);
    keys.Address("SNMP", "NM_TRAP2", r.trapAddress2);
    keys.TextUnlessCut("SNMP", "NM_COMMUNITY", TextOf(r.community), r.communityState);
}

void StoreWireless(const ProjectorRecord& r, SettingsKeyWriter& keys) {
    if (r.wirelessActive == 0) {
        return;
    }
    keys.Text("WLAN", "NM_ESSID", TextOf(r.essid));
    if (r.imType == kImTypeExtendedWireless) {
        keys.Number("WLAN", "NM_SEC0", r.security[0]);
        keys.Number("WLAN", "NM_SEC1", r.security[1]);
        keys.Number("WLAN", "NM_SEC2", r.security[2]);
        keys.Number("WLAN", "NM_SEC3", r.security[3]);
        // A key number is 1 to 4: one never read and outside them is left out, not written as a
        // value no reader takes back.
        if (r.wepKeyIdState != kStateUnknown || (r.wepKeyId >= 1 && r.wepKeyId <= 4)) {
            keys.Number("WLAN", "NM_WEPID", r.wepKeyId);
        }
        keys.TextUnlessCut("WLAN", "NM_WEPKEY1", TextOf(r.wepKey1), r.wepKey1State);
        keys.TextUnlessCut("WLAN", "NM_WEPKEY2", TextOf(r.wepKey2), r.wepKey2State);
        keys.TextUnlessCut("WLAN", "NM_WEPKEY3", TextOf(r.wepKey3), r.wepKey3State);
        keys.TextUnlessCut("WLAN", "NM_WEPKEY4", TextOf(r.wepKey4), r.wepKey4State);
    } else {
        keys.Number("WLAN", "NM_WEP", r.wepEnabled);
        keys.TextUnlessCut("WLAN", "NM_WEPKEY", TextOf(r.wepKey), r.wepKeyState);
    }
    keys.Number("WLAN", "NM_ADHOC", r.adhoc);
}

}  // namespace

bool StoreSettings(const ProjectorRecord& record, ProfileDocument& document) {
    SettingsKeyWriter keys(document);
    StoreCommon(record, keys);
    StoreNetwork(record, keys);
    StoreMail(record, keys);
    StoreSnmp(record, keys);
    StoreWireless(record, keys);
    return keys.Ok();
}

namespace {

// Whether the save writes a WEP key that is not empty.
bool WritesWepKey(const ProjectorRecord& r) {
    if (r.wirelessActive == 0) {
        return false;
    }
    if (r.imType == kImTypeExtendedWireless) {
        return !IsEmptyText(r.wepKey1) || !IsEmptyText(r.wepKey2) || !IsEmptyText(r.wepKey3) ||
               !IsEmptyText(r.wepKey4);
    }
    return !IsEmptyText(r.wepKey);
}

OutputStatus ExistingFileProblem(FileRead loaded) {
    switch (loaded) {
        case FileRead::Loaded:
        case FileRead::Missing:
            return OutputStatus::kOk;
        case FileRead::TooLarge:
            return OutputStatus::kExistingTooLarge;
        default:
            return OutputStatus::kExistingUnreadable;
    }
}

}  // namespace

OutputStatus SaveSettingsFile(const ProjectorRecord& record, const std::string& path,
                              const FileSeam& seam) {
    std::string target;
    if (const OutputStatus status = CheckOutputPath(path, &target); status != OutputStatus::kOk) {
        return status;
    }
    const std::optional<std::uint64_t> freeBytes = seam.freeBytes(FolderOf(target));
    if (!freeBytes || *freeBytes < kSettingsSaveMinimumFreeBytes) {
        return OutputStatus::kTooLittleSpace;
    }
    ProfileDocument document;
    if (const OutputStatus status = ExistingFileProblem(LoadProfile(target, document));
        status != OutputStatus::kOk) {
        return status;
    }
    if (!document.CanWriteBack()) {
        return OutputStatus::kExistingUnreadable;
    }
    if (!StoreSettings(record, document)) {
        return OutputStatus::kNotWritable;
    }
    const FileAccess access = WritesWepKey(record) ? FileAccess::kPrivate : FileAccess::kShared;
    return WriteOutputFile(target, document.Serialize(), access, seam);
}

int WriteSettingsFile(const ProjectorRecord& record, const std::string& path,
                      const FileSeam& seam) {
    return SaveSettingsFile(record, path, seam) == OutputStatus::kOk ? 1 : 0;
}

}  // namespace lanterna
