#pragma once
// The keys of a settings file and the exact form of each key's value. A value is taken only when
// it has exactly its key's form, as a projector's reply is; anything else is refused with the key,
// the value and the rule, so that a hand-edited file never sends what its writer did not mean
// (a DHCP of 2, an event set of 4096, a port of "3abc").

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "platform/UserLanguage.h"
#include "record/ProjectorRecord.h"

namespace lanterna {

enum class FileValueForm {
    kAny,              // any text (the version)
    kFlag,             // "0" or "1"
    kNumber,           // one to ten decimal digits, from `low` to `high`
    kAddress,          // four decimal octets 0-255 of one to three digits, joined by points
    kHardwareAddress,  // exactly 12 hexadecimal digits
    kText,             // at most `high` bytes
    kEssid,            // at most `high` bytes, each from 0x20 to 0x7E except ':'
};

struct FileValueRule {
    FileValueForm form = FileValueForm::kAny;
    std::uint32_t low = 0;
    std::uint32_t high = 0;
};

struct SettingsFileKey {
    std::string_view section;
    std::string_view name;  // as the older key set names it; the current one adds "NM_"
    FileValueRule rule;
    bool older = false;  // the older key set has it too
    std::string_view field;                  // the field a write names; empty: none
    std::int32_t ProjectorRecord::*state{};  // the state word the reader sets; null: none
};

inline constexpr std::string_view kCurrentKeyPrefix = "NM_";

// Every key, in the order a save writes the current key set.
std::span<const SettingsFileKey> SettingsFileKeys();

// The key of `section` named `name` in the current key set (with its prefix) or, when `older`,
// in the older one (without); letter case aside. Null when there is none.
const SettingsFileKey* FindSettingsFileKey(std::string_view section, std::string_view name,
                                           bool older);

// The key's name in a file of the current key set ("NM_DHCP") or of the older one ("DHCP").
std::string SettingsFileKeyName(const SettingsFileKey& key, bool older);

// Whether `value` (as the profile reader returns it) has exactly the form of `rule`.
bool IsFileValue(const FileValueRule& rule, std::string_view value);

// The rule in words ("0 or 1", "a whole number from 0 to 2047").
std::string FileValueRuleText(const FileValueRule& rule, Language language);

}  // namespace lanterna
