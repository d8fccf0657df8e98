#include "settings/WirelessEntries.h"

#include "platform/AsciiCase.h"
#include "resources/StringIds.h"
#include "settings/ByteClasses.h"
#include "settings/EssidChange.h"
#include "settings/StateRule.h"
#include "settings/TextRules.h"

namespace lanterna {
namespace {

bool IsHexKey(std::string_view key) {
    return (key.size() == 10 || key.size() == 26) && AllBytes(key, IsHexDigit);
}

// A key taken from the box's text must be a key; the stored key behind the mask is not judged.
EntryVerdict CheckBasicWepKey(const WirelessEntries& entries) {
    if (entries.wepEnabled && !entries.wepKey.ShowsStoredKey() &&
        IsWepKeyBasic(entries.wepKey.text) != 1) {
        return Refused(kStringBadWepKey, EntryField::kWepKey);
    }
    return {};
}

}  // namespace

bool KeyEntry::ShowsStoredKey() const {
    return !touched && EqualIgnoringCase(text, kStoredKeyMask);
}

std::string KeyEntry::KeyOf(std::string_view stored) const {
    return ShowsStoredKey() ? std::string(stored) : text;
}

KeyEntry MaskedKeyEntry(std::string_view stored) {
    if (stored.empty()) {
        return KeyEntry{};
    }
    return KeyEntry{std::string(kStoredKeyMask), false};
}

bool SameEssid(std::string_view a, std::string_view b) {
    return a == b;
}

bool SameWepKey(std::string_view a, std::string_view b) {
    if (IsHexKey(a) && IsHexKey(b)) {
        return EqualIgnoringCase(a, b);
    }
    return a == b;
}

EntryVerdict CheckEssidEntry(std::string_view essid, bool basic) {
    const int fits = basic ? IsEssidBasic(essid) : IsEssid(essid);
    if (essid.size() > kEssidLimit || fits != 1) {
        return Refused(kStringBadEssid, EntryField::kEssid);
    }
    return {};
}

EntryVerdict CheckEssidChange(std::string_view essid, std::string_view reference,
                              bool referenceRead, bool basic) {
    if (referenceRead && SameEssid(essid, reference)) {
        return {};
    }
    return CheckEssidEntry(essid, basic);
}

// A new ESSID is cut to what a typed one may hold; the reported one is kept as it came.
void StoreEssid(std::string_view essid, std::string_view reference, std::string_view atOpen,
                ProjectorRecord& record) {
    const std::string_view kept =
        SameEssid(essid, reference) ? essid : essid.substr(0, kEssidLimit);
    StoreTextByStateRule(kept, reference, atOpen, record.essid, record.essidState, SameEssid);
    record.essidSet = OnOff(!essid.empty());
}

WirelessSettings WirelessSettingsOf(const ProjectorRecord& record) {
    return WirelessSettings{record.essidSet,
                            record.essid,
                            record.wepEnabled,
                            record.wepKey,
                            record.adhoc,
                            record.essidState != kStateUnknown,
                            record.wepEnabledState != kStateUnknown,
                            record.adhocState != kStateUnknown};
}

void RestoreWirelessSettings(const WirelessSettings& settings, ProjectorRecord& record) {
    record.essidSet = settings.essidSet;
    record.essid = settings.essid;
    record.wepEnabled = settings.wepEnabled;
    record.wepKey = settings.wepKey;
    record.adhoc = settings.adhoc;
}

WirelessEntries WirelessEntriesOf(const ProjectorRecord& record) {
    WirelessEntries entries;
    if (record.essidState != kStateUnknown) {
        entries.essid = std::string(TextOf(record.essid));
    }
    entries.wepChosen = record.wepEnabledState != kStateUnknown;
    entries.wepEnabled = entries.wepChosen && record.wepEnabled != 0;
    if (entries.wepEnabled) {
        entries.wepKey = MaskedKeyEntry(TextOf(record.wepKey));
    }
    entries.adhocChosen = record.adhocState != kStateUnknown;
    entries.adhoc = entries.adhocChosen && record.adhoc != 0;
    return entries;
}

EntryVerdict CheckWirelessEntries(const WirelessEntries& entries) {
    if (EntryVerdict verdict = CheckEssidEntry(entries.essid, true); !verdict.Accepted()) {
        return verdict;
    }
    return CheckBasicWepKey(entries);
}

EntryVerdict StoreWirelessEntries(const WirelessEntries& entries, const WirelessSettings& reference,
                                  const WirelessSettings& atOpen, ProjectorRecord& record) {
    if (EntryVerdict verdict =
            CheckEssidChange(entries.essid, TextOf(reference.essid), reference.essidRead, true);
        !verdict.Accepted()) {
        return verdict;
    }
    StoreEssid(entries.essid, TextOf(reference.essid), TextOf(atOpen.essid), record);
    KeepUnreadUnlessGiven(reference.essidRead, !entries.essid.empty(), record.essidState);
    if (!entries.wepChosen) {
        // WEP and its key stay as they are.
    } else if (entries.wepEnabled) {
        if (EntryVerdict verdict = CheckBasicWepKey(entries); !verdict.Accepted()) {
            return verdict;
        }
        const std::string key = entries.wepKey.KeyOf(TextOf(record.wepKey));
        record.wepEnabled = 1;
        if (reference.wepEnabled == 0) {
            CopyText(record.wepKey, key);
            record.wepEnabledState = record.wepKeyState = kStateChanged;
        } else {
            StoreTextByStateRule(key, TextOf(reference.wepKey), TextOf(atOpen.wepKey),
                                 record.wepKey, record.wepKeyState, SameWepKey);
            record.wepEnabledState = record.wepKeyState;
        }
    } else if (reference.wepEnabled != 0) {
        record.wepEnabled = 0;
        CopyText(record.wepKey, "");
        record.wepEnabledState = record.wepKeyState = kStateChanged;
    } else {
        record.wepEnabledState = record.wepKeyState = kStateUnchanged;
        if (atOpen.wepEnabled != 0) {
            record.wepEnabled = 0;
            CopyText(record.wepKey, "");
        }
    }
    if (entries.wepChosen) {
        KeepUnreadUnlessGiven(reference.wepEnabledRead, true, record.wepEnabledState);
        KeepUnreadUnlessGiven(reference.wepEnabledRead, true, record.wepKeyState);
    }
    if (entries.adhocChosen) {
        StoreByStateRule(OnOff(entries.adhoc), OnOff(reference.adhoc != 0),
                         OnOff(atOpen.adhoc != 0), record.adhoc, record.adhocState);
        KeepUnreadUnlessGiven(reference.adhocRead, true, record.adhocState);
    }
    return {};
}

}  // namespace lanterna
