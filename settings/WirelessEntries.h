#pragma once
// The wireless LAN entries of a projector with a basic wireless module (ESSID, WEP on or off
// with one key, ad hoc mode): the checks the wireless dialog runs on OK, in screen order, and
// how it stores what passed. Also the pieces both wireless dialogs share: the masked key box and
// how wireless texts compare. Qt-free, like NetworkEntries.h.

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/FixedText.h"
#include "record/ProjectorRecord.h"
#include "settings/EntryVerdict.h"

namespace lanterna {

// What a key box shows in place of a stored key, which is never displayed.
inline constexpr std::string_view kStoredKeyMask = "**********";
inline constexpr std::size_t kEssidLimit = 32;

// A key box: its text, and whether the user has touched it since the mask was put in.
struct KeyEntry {
    std::string text;
    bool touched = true;  // false: it shows the mask for a stored key and was never edited

    // The untouched mask: the box stands for the stored key.
    bool ShowsStoredKey() const;
    // The key the box gives: `stored` while it shows the untouched mask, else its text (so ten
    // asterisks typed by the user are a key of their own, and are judged as one).
    std::string KeyOf(std::string_view stored) const;
};

// The box of a stored key: the mask when the key is set, else empty (touched).
KeyEntry MaskedKeyEntry(std::string_view stored);

// How wireless texts compare when the dialogs decide whether a value changed. Letter case
// matters on the air for an ESSID and for a character key, so those compare byte for byte;
// the hexadecimal digits of a hex key compare without regard to case.
bool SameEssid(std::string_view a, std::string_view b);
bool SameWepKey(std::string_view a, std::string_view b);

// The ESSID: longer than 32 bytes or failing the rule (IsEssidBasic when `basic`, else IsEssid)
// gives 150.
EntryVerdict CheckEssidEntry(std::string_view essid, bool basic);

// Stores an accepted ESSID by the state rule and sets `essidSet` by whether it is empty.
void StoreEssid(std::string_view essid, std::string_view reference, std::string_view atOpen,
                ProjectorRecord& record);

struct WirelessEntries {
    std::string essid;
    bool wepEnabled = false;
    KeyEntry wepKey;
    bool adhoc = false;
    // false: neither on nor off chosen (never read, left alone)
    bool wepChosen = true;
    bool adhocChosen = true;
};

// The values the basic wireless dialog edits, without state words.
struct WirelessSettings {
    std::int32_t essidSet = 0;
    FixedText<36> essid{};
    std::int32_t wepEnabled = 0;
    FixedText<28> wepKey{};
    std::int32_t adhoc = 0;
    // Which of them the projector reported (state word nonzero); what it did not is shown empty
    // and never sent unless the user fills it in.
    bool essidRead = true;
    bool wepEnabledRead = true;
    bool adhocRead = true;
};

WirelessSettings WirelessSettingsOf(const ProjectorRecord& record);
// Puts the values back, `essidSet` with the ESSID; state words stay as they are.
void RestoreWirelessSettings(const WirelessSettings& settings, ProjectorRecord& record);

// The entries as the dialog shows a record: the key masked when WEP is on and a key is stored;
// a setting never read empty, a switch never read neither on nor off.
WirelessEntries WirelessEntriesOf(const ProjectorRecord& record);

// The checks in screen order: the ESSID (IsEssidBasic, 150), then with WEP on a key taken from
// the box's text (IsWepKeyBasic, 151; the stored key behind an untouched mask is not judged).
EntryVerdict CheckWirelessEntries(const WirelessEntries& entries);

// OK of the dialog: each entry is checked and stored at once, so a refusal returns with the
// ESSID already stored. WEP on: `wepEnabled` 1 and the key, both with state 2 when WEP was off
// in the reference, else the key by the state rule and `wepEnabledState` as `wepKeyState`. WEP
// off: `wepEnabled` 0 with an empty key, both with state 2 when WEP was on in the reference,
// else both with state 3. Ad hoc by the state rule. A switch with neither choice stays as it
// is; a setting the reference never read takes state 2 when an entry is given for it, else
// stays unread (state 0).
EntryVerdict StoreWirelessEntries(const WirelessEntries& entries, const WirelessSettings& reference,
                                  const WirelessSettings& atOpen, ProjectorRecord& record);

}  // namespace lanterna
