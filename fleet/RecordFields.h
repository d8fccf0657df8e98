#pragma once
// The record fields a fleet job can change by name: each read from text ("FIELD=VALUE" of
// lanternactl set) and stored with state 2 when it differs from the value read from the
// projector, 3 when it is equal; and the same fields merged from a settings file used as a
// template. Whether the values may be sent is judged afterwards, on the record as a whole
// (WriteJudge.h).

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/ProfileDocument.h"
#include "platform/UserLanguage.h"
#include "record/ProjectorRecord.h"
#include "settings/SettingsFileCheck.h"

namespace lanterna::fleet {

// Which projectors have a field.
enum class FieldHome {
    kEvery,
    kWireless,          // the wireless interface in use
    kBasicWireless,     // the wireless interface of a module other than type 22
    kExtendedWireless,  // the wireless interface of a type-22 module
};

struct RecordFieldInfo {
    std::string_view name;  // the field's name (projectorName, ipAddress, ...)
    FieldHome home;
};

// Every field, in the order of the record's dialogs.
std::vector<RecordFieldInfo> RecordFieldList();

// Whether `name` is one of those fields.
bool IsRecordField(std::string_view name);

// The value of field `name` in `record` as text ("10.1.2.3", "on", event names joined by
// commas); a WEP key as "**********" (a key is never shown), empty for none. Empty for a name
// that is no field.
std::string FieldText(std::string_view name, const ProjectorRecord& record);

// The field nearest to `name` (letter case aside, fewest letters added, removed or changed), when
// at most two changes away: what a mistyped name most likely meant.
std::optional<std::string_view> NearestRecordField(std::string_view name);

// What a field's value may be, in words: a string id and the values it takes (none: no rule).
struct FieldRule {
    int id = 0;
    std::array<std::string, 2> values;

    friend bool operator==(const FieldRule&, const FieldRule&) = default;
};

struct FieldAssignment {
    std::string field;
    std::string value;
};

// What applying the assignments gave.
struct ApplyOutcome {
    bool ok = false;
    // When not ok: the field whose value could not be taken, the value as given, and the
    // string-table message of a value out of the field's range (0: the value cannot be read as
    // the field's kind at all).
    std::string field;
    std::string value;
    int messageId = 0;
    std::vector<std::string> changed;  // fields stored with state 2, in table order
    FieldRule rule{};  // when the value is not of the field's form: the form
};

// Reads every value into a copy of `record` and, only when all could be read, stores them into
// `record` with their state words. Switching DHCP off sends the address line, so the address,
// mask and gateway then go with it (state 2) even when they were not named.
ApplyOutcome ApplyAssignments(const std::vector<FieldAssignment>& assignments,
                              ProjectorRecord& record);

// The value of `field` in `record` as FIELD=VALUE takes it back; empty when the field is unknown,
// the projector has no such setting, or it was not read.
std::string FieldValueText(std::string_view field, const ProjectorRecord& record);

// The same, none (rather than empty) when there is no value to tell.
std::optional<std::string> ReadFieldValue(std::string_view field, const ProjectorRecord& record);

// Why a projector has no setting of some field.
enum class MissingReason {
    kWiredInterface,     // a wireless setting; the projector uses its wired interface
    kBasicWirelessOnly,  // WEP on/off and the one key: modules other than type 22
    kExtendedWireless,   // security code, key number and four keys: type-22 modules
};

// Why the projector of `record` (as read) has no setting `field`, or none when it has it.
std::optional<MissingReason> MissingSetting(std::string_view field, const ProjectorRecord& record);

// Why a template left a setting it holds as the projector has it.
enum class LeftAloneReason {
    kOwnIdentity,     // the name, DHCP and the addresses belong to each projector
    kOtherInterface,  // the interface choice and wireless set-up of a file saved from a projector
                      // of another interface kind (or of none known) would cut this one off
};

struct LeftAloneSetting {
    std::string field;
    LeftAloneReason reason;

    friend bool operator==(const LeftAloneSetting&, const LeftAloneSetting&) = default;
};

struct TemplateMerge {
    std::vector<std::string> changed;         // the fields stored with state 2
    std::vector<LeftAloneSetting> leftAlone;  // what the file holds but the projector keeps
};

// Takes the settings a template file holds (state 1 in `file`) into `record` (read from the
// projector, writeAll 0): each differing value with state 2, each equal one with state 3. The
// name, DHCP and the three addresses stay the projector's own; so do the interface choice and
// the wireless set-up (primaryInterface, essid, adhoc, security, the WEP settings) unless the
// file was saved from a projector of the same interface kind (wired, wireless, wireless of
// module type 22: its module type and its wireless keys tell).
TemplateMerge MergeTemplate(const ProjectorRecord& file, ProjectorRecord& record);

// True when every setting `file` holds stays each projector's own (the name, DHCP and the
// addresses): as a template it changes nothing anywhere.
bool TemplateHoldsNoSetting(const ProjectorRecord& file);

// For a template of the older key set (read without a version): the keys it applies, as the file
// names them, in the order of a save; that key set names no module type, so its wireless keys
// stay each projector's own. None for a file of the current key set.
std::optional<std::vector<std::string>> OlderTemplateKeys(const ProjectorRecord& file);

// The same told of the file named `fileName`, in `language`; none for the current key set.
std::optional<std::string> OlderTemplateNote(const ProjectorRecord& file,
                                             std::string_view fileName, Language language);

}  // namespace lanterna::fleet
