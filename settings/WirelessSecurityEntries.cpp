#include "settings/WirelessSecurityEntries.h"

#include "record/RecordSlots.h"
#include "resources/StringIds.h"
#include "settings/EssidChange.h"
#include "settings/StateRule.h"

namespace lanterna {
namespace {

constexpr EntryField kKeyFields[kWepKeySlots] = {EntryField::kWepKey1, EntryField::kWepKey2,
                                                 EntryField::kWepKey3, EntryField::kWepKey4};

int KeyIdOf(int keyId) {
    return keyId >= 1 && keyId <= kWepKeySlots ? keyId : 1;
}

int KeySizeOf(int keySize) {
    return keySize == kWepKeySize64 ? kWepKeySize64 : kWepKeySize128;
}

// The keys the four boxes give.
std::array<std::string, kWepKeySlots> KeysOf(const WirelessSecurityEntries& entries,
                                             const ProjectorRecord& stored) {
    std::array<std::string, kWepKeySlots> keys;
    for (int n = 1; n <= kWepKeySlots; ++n) {
        keys[n - 1] = entries.wepKeys[n - 1].KeyOf(TextOf(numbered::WepKey(stored, n)));
    }
    return keys;
}

EntryVerdict CheckFileSecrets(const WirelessSecurityEntries& entries,
                              const ProjectorRecord& stored) {
    if (entries.mode == SecurityMode::kWpaPsk &&
        IsWpaPsk(entries.sharedKey.KeyOf(TextOf(stored.securityPsk))) != 1) {
        return Refused(kStringBadWpaPsk, EntryField::kSharedKey);
    }
    if (entries.mode == SecurityMode::kLeap) {
        if (IsLeapUserName(entries.userName) != 1) {
            return Refused(kStringBadLeapUserName, EntryField::kLeapUserName);
        }
        if (IsLeapPassword(entries.password) != 1) {
            return Refused(kStringBadLeapPassword, EntryField::kLeapPassword);
        }
    }
    return {};
}

}  // namespace

SecurityCode SecurityCodeOf(SecurityMode mode, int keySize) {
    switch (mode) {
        case SecurityMode::kWpaPsk:
            return {2, 0, 1, 0};
        case SecurityMode::kLeap:
            return {1, 2, 4, 1};
        case SecurityMode::kWep:
            return {1, KeySizeOf(keySize), 0, 0};
        case SecurityMode::kNone:
            break;
    }
    return {0, 0, 0, 0};
}

SecurityMode SecurityModeOf(const SecurityCode& code, int& keySize) {
    keySize = kWepKeySize128;
    for (const SecurityMode mode : {SecurityMode::kWpaPsk, SecurityMode::kLeap}) {
        if (code == SecurityCodeOf(mode)) {
            return mode;
        }
    }
    for (const int size : {kWepKeySize64, kWepKeySize128}) {
        if (code == SecurityCodeOf(SecurityMode::kWep, size)) {
            keySize = size;
            return SecurityMode::kWep;
        }
    }
    return SecurityMode::kNone;
}

WirelessSecuritySettings WirelessSecuritySettingsOf(const ProjectorRecord& record) {
    WirelessSecuritySettings settings;
    settings.essidSet = record.essidSet;
    settings.essid = record.essid;
    settings.security = record.security;
    settings.wepKeyId = record.wepKeyId;
    for (int n = 1; n <= kWepKeySlots; ++n) {
        settings.wepKeys[n - 1] = numbered::WepKey(record, n);
    }
    settings.adhoc = record.adhoc;
    settings.essidRead = record.essidState != kStateUnknown;
    settings.securityRead = record.securityState != kStateUnknown;
    settings.wepKeyIdRead = record.wepKeyIdState != kStateUnknown;
    for (int n = 1; n <= kWepKeySlots; ++n) {
        settings.wepKeysRead[n - 1] = numbered::WepKeyState(record, n) != kStateUnknown;
    }
    settings.adhocRead = record.adhocState != kStateUnknown;
    return settings;
}

void RestoreWirelessSecuritySettings(const WirelessSecuritySettings& settings,
                                     ProjectorRecord& record) {
    record.essidSet = settings.essidSet;
    record.essid = settings.essid;
    record.security = settings.security;
    record.wepKeyId = settings.wepKeyId;
    for (int n = 1; n <= kWepKeySlots; ++n) {
        numbered::WepKey(record, n) = settings.wepKeys[n - 1];
    }
    record.adhoc = settings.adhoc;
}

WirelessSecurityEntries WirelessSecurityEntriesOf(const ProjectorRecord& record,
                                                  bool withFileSecrets, bool onlyRead) {
    const auto shown = [onlyRead](std::int32_t state) {
        return !onlyRead || state != kStateUnknown;
    };
    WirelessSecurityEntries entries;
    if (shown(record.essidState)) {
        entries.essid = std::string(TextOf(record.essid));
    }
    entries.adhocChosen = shown(record.adhocState);
    entries.adhoc = entries.adhocChosen && record.adhoc != 0;
    entries.modeChosen = shown(record.securityState);
    if (entries.modeChosen) {
        entries.mode = SecurityModeOf(record.security, entries.keySize);
    }
    if (!shown(record.wepKeyIdState)) {
        entries.keyId = 0;
    }
    if (entries.mode == SecurityMode::kWep) {
        if (entries.keyId != 0) {
            entries.keyId = KeyIdOf(record.wepKeyId);
        }
        for (int n = 1; n <= kWepKeySlots; ++n) {
            if (shown(numbered::WepKeyState(record, n))) {
                entries.wepKeys[n - 1] = MaskedKeyEntry(TextOf(numbered::WepKey(record, n)));
            }
        }
    }
    if (withFileSecrets && entries.mode == SecurityMode::kWpaPsk) {
        entries.sharedKey = MaskedKeyEntry(TextOf(record.securityPsk));
    }
    if (withFileSecrets && entries.mode == SecurityMode::kLeap) {
        entries.userName = std::string(TextOf(record.securityUser));
        entries.password = std::string(TextOf(record.securityPassword));
    }
    return entries;
}

EntryVerdict CheckWepKeyEntries(const WirelessSecurityEntries& entries,
                                const ProjectorRecord& stored) {
    const std::array<std::string, kWepKeySlots> keys = KeysOf(entries, stored);
    const int size = KeySizeOf(entries.keySize);
    for (int n = 1; n <= kWepKeySlots; ++n) {
        if (IsWepKey(keys[n - 1], size) != 1) {
            return Refused(kStringBadWepKey, kKeyFields[n - 1]);
        }
    }
    bool allEmpty = true;
    for (const std::string& key : keys) {
        allEmpty = allEmpty && key.empty();
    }
    if (allEmpty) {
        return Refused(kStringBadWepKey, EntryField::kWepKey1);
    }
    const int inUse = KeyIdOf(entries.keyId);
    if (keys[inUse - 1].empty()) {
        return Refused(kStringBadWepKey, kKeyFields[inUse - 1]);
    }
    return {};
}

EntryVerdict CheckWirelessSecurityEntries(const WirelessSecurityEntries& entries,
                                          const ProjectorRecord& stored, bool withFileSecrets) {
    if (EntryVerdict verdict = CheckEssidEntry(entries.essid, false); !verdict.Accepted()) {
        return verdict;
    }
    if (entries.adhoc) {
        return {};
    }
    if (entries.mode == SecurityMode::kWep) {
        return CheckWepKeyEntries(entries, stored);
    }
    return withFileSecrets ? CheckFileSecrets(entries, stored) : EntryVerdict{};
}

EntryVerdict StoreWirelessSecurityEntries(const WirelessSecurityEntries& entries,
                                          const WirelessSecuritySettings& reference,
                                          const WirelessSecuritySettings& atOpen,
                                          ProjectorRecord& record) {
    if (EntryVerdict verdict =
            CheckEssidChange(entries.essid, TextOf(reference.essid), reference.essidRead, false);
        !verdict.Accepted()) {
        return verdict;
    }
    StoreEssid(entries.essid, TextOf(reference.essid), TextOf(atOpen.essid), record);
    KeepUnreadUnlessGiven(reference.essidRead, !entries.essid.empty(), record.essidState);
    if (!entries.adhoc && entries.modeChosen) {
        const bool wep = entries.mode == SecurityMode::kWep;
        if (EntryVerdict verdict = wep ? CheckWepKeyEntries(entries, record) : EntryVerdict{};
            !verdict.Accepted()) {
            return verdict;
        }
        const std::array<std::string, kWepKeySlots> keys = KeysOf(entries, record);
        StoreByStateRule(SecurityCodeOf(entries.mode, entries.keySize), reference.security,
                         atOpen.security, record.security, record.securityState);
        KeepUnreadUnlessGiven(reference.securityRead, true, record.securityState);
        if (wep && entries.keyId != 0) {
            StoreByStateRule(std::int32_t{KeyIdOf(entries.keyId)}, reference.wepKeyId,
                             atOpen.wepKeyId, record.wepKeyId, record.wepKeyIdState);
            KeepUnreadUnlessGiven(reference.wepKeyIdRead, true, record.wepKeyIdState);
        }
        for (int n = 1; wep && n <= kWepKeySlots; ++n) {
            StoreTextByStateRule(keys[n - 1], TextOf(reference.wepKeys[n - 1]),
                                 TextOf(atOpen.wepKeys[n - 1]), numbered::WepKey(record, n),
                                 numbered::WepKeyState(record, n), SameWepKey);
            KeepUnreadUnlessGiven(reference.wepKeysRead[n - 1], !keys[n - 1].empty(),
                                  numbered::WepKeyState(record, n));
        }
    }
    if (entries.adhocChosen) {
        StoreByStateRule(OnOff(entries.adhoc), OnOff(reference.adhoc != 0),
                         OnOff(atOpen.adhoc != 0), record.adhoc, record.adhocState);
        KeepUnreadUnlessGiven(reference.adhocRead, true, record.adhocState);
    }
    return {};
}

EntryVerdict StoreWirelessSecurityEntriesInFile(const WirelessSecurityEntries& entries,
                                                ProjectorRecord& record) {
    if (EntryVerdict verdict = CheckWirelessSecurityEntries(entries, record, true);
        !verdict.Accepted()) {
        return verdict;
    }
    if (!entries.adhoc) {
        record.security = SecurityCodeOf(entries.mode, entries.keySize);
        switch (entries.mode) {
            case SecurityMode::kWpaPsk:
                CopyText(record.securityPsk, entries.sharedKey.KeyOf(TextOf(record.securityPsk)));
                break;
            case SecurityMode::kLeap:
                CopyText(record.securityUser, entries.userName);
                CopyText(record.securityPassword, entries.password);
                break;
            case SecurityMode::kWep: {
                const std::array<std::string, kWepKeySlots> keys = KeysOf(entries, record);
                record.wepKeyId = KeyIdOf(entries.keyId);
                record.securityState = record.wepKeyIdState = kStateChanged;
                for (int n = 1; n <= kWepKeySlots; ++n) {
                    CopyText(numbered::WepKey(record, n), keys[n - 1]);
                    numbered::WepKeyState(record, n) = kStateChanged;
                }
                break;
            }
            case SecurityMode::kNone:
                break;
        }
    }
    CopyText(record.essid, entries.essid, kEssidLimit);
    record.essidSet = OnOff(!entries.essid.empty());
    record.essidState = kStateChanged;
    record.adhoc = OnOff(entries.adhoc);
    record.adhocState = kStateChanged;
    return {};
}

}  // namespace lanterna
