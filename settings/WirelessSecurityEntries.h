#pragma once
// The wireless LAN entries of a projector with an extended wireless module, and of a wireless
// configuration file: ESSID, a security mode (WPA-PSK, LEAP, WEP with 64- or 128-bit keys in
// four slots, or none) and ad hoc mode. The checks the wireless security dialog runs on OK, in
// screen order, and how its two variants store what passed. Qt-free, like NetworkEntries.h.

#include <array>
#include <cstdint>
#include <string>

#include "platform/FixedText.h"
#include "record/ProjectorRecord.h"
#include "settings/EntryVerdict.h"
#include "settings/TextRules.h"
#include "settings/WirelessEntries.h"

namespace lanterna {

inline constexpr int kWepKeySlots = 4;

enum class SecurityMode { kNone, kWpaPsk, kLeap, kWep };

using SecurityCode = std::array<std::int32_t, 4>;

// The record's four security numbers of a mode: none 0,0,0,0; WPA-PSK 2,0,1,0; LEAP 1,2,4,1;
// WEP 1,size,0,0 with the key size code (kWepKeySize64 or kWepKeySize128).
SecurityCode SecurityCodeOf(SecurityMode mode, int keySize = kWepKeySize128);

// The mode of a security code; a code not listed above is "none". `keySize` receives the key
// size of a WEP mode (and kWepKeySize128 for any other).
SecurityMode SecurityModeOf(const SecurityCode& code, int& keySize);

struct WirelessSecurityEntries {
    std::string essid;
    bool adhoc = false;
    SecurityMode mode = SecurityMode::kNone;
    int keySize = kWepKeySize128;
    int keyId = 1;  // the key in use, 1 to 4; 0 none chosen (never read, left alone)
    // false: neither choice made (never read, left alone)
    bool adhocChosen = true;
    bool modeChosen = true;
    std::array<KeyEntry, kWepKeySlots> wepKeys;
    // Configuration files only: projectors are never sent these.
    KeyEntry sharedKey;
    std::string userName;
    std::string password;
};

// The values the dialog edits, without state words: what the projector variant compares with
// (reference, at-open) and what its Cancel puts back.
struct WirelessSecuritySettings {
    std::int32_t essidSet = 0;
    FixedText<36> essid{};
    SecurityCode security{};
    std::int32_t wepKeyId = 0;
    std::array<FixedText<27>, kWepKeySlots> wepKeys{};
    std::int32_t adhoc = 0;
    // Which of them the projector reported (state word nonzero); what it did not is shown empty
    // and never sent unless the user fills it in.
    bool essidRead = true;
    bool securityRead = true;
    bool wepKeyIdRead = true;
    std::array<bool, kWepKeySlots> wepKeysRead{true, true, true, true};
    bool adhocRead = true;
};

WirelessSecuritySettings WirelessSecuritySettingsOf(const ProjectorRecord& record);
// Puts the values back, `essidSet` with the ESSID; state words stay as they are.
void RestoreWirelessSecuritySettings(const WirelessSecuritySettings& settings,
                                     ProjectorRecord& record);

// The entries as the dialog shows a record: the mode of its code; for WEP the key size, the key
// in use (1 for a number outside 1 to 4) and every stored key masked. `withFileSecrets` (the
// configuration-file variant) also shows a stored shared key masked and the LEAP user name and
// password as they are. With `onlyRead`, what the projector never reported is shown empty: the
// ESSID and WEP keys blank, ad hoc, the mode and the key in use with no choice made.
WirelessSecurityEntries WirelessSecurityEntriesOf(const ProjectorRecord& record,
                                                  bool withFileSecrets, bool onlyRead = false);

// The WEP keys, as the boxes give them (a masked box gives `stored`'s key): each must fit the
// key size (IsWepKey, the empty key passes), else 151 on that key; then all four empty gives 151
// on key 1 and an empty key in use 151 on that key.
// A key never read counts as empty; with no key in use chosen (`keyId` 0) key 1 is judged as it.
EntryVerdict CheckWepKeyEntries(const WirelessSecurityEntries& entries,
                                const ProjectorRecord& stored);

// Every check in screen order: the ESSID (IsEssid, 150); then, with ad hoc off, those of the
// chosen mode: the WEP keys, and with `withFileSecrets` the shared key of WPA-PSK (IsWpaPsk,
// 188) and the LEAP user name (189) and password (190).
EntryVerdict CheckWirelessSecurityEntries(const WirelessSecurityEntries& entries,
                                          const ProjectorRecord& stored, bool withFileSecrets);

// OK of the projector variant: the ESSID is checked and stored at once by the state rule; with
// ad hoc off the security code, and for WEP the key in use and the four keys, follow by the
// state rule once the keys passed (a refusal returns with the ESSID stored). With ad hoc on the
// security settings stay as they are. Ad hoc last, by the state rule. A choice not made (ad hoc,
// the mode, the key in use) stays as it is; a setting the reference never read takes state 2
// when an entry is given for it, else stays unread (state 0).
EntryVerdict StoreWirelessSecurityEntries(const WirelessSecurityEntries& entries,
                                          const WirelessSecuritySettings& reference,
                                          const WirelessSecuritySettings& atOpen,
                                          ProjectorRecord& record);

// OK of the configuration-file variant: nothing is stored unless every check passed. With ad hoc
// off the mode's settings are stored (WEP with state 2 on the code, the key in use and the
// keys); then the ESSID and ad hoc with state 2.
EntryVerdict StoreWirelessSecurityEntriesInFile(const WirelessSecurityEntries& entries,
                                                ProjectorRecord& record);

}  // namespace lanterna
