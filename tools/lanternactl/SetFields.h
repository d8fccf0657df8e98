#pragma once
// The record fields `lanternactl set` can change, each read from "FIELD=VALUE" and stored with
// state 2 when it differs from the value read from the projector, 3 when it is equal; and the
// same fields merged from a settings file used as a template. Whether the values may be sent is
// judged afterwards, on the record as a whole (WriteJudge.h).

#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "record/ProjectorRecord.h"

namespace lanterna::cli {

struct FieldAssignment {
    std::string field;
    std::string value;
};

// Splits "FIELD=VALUE" words. False, with the reason in `error`, for a word without '=' or an
// unknown field.
bool ParseAssignments(const std::vector<std::string>& words, std::vector<FieldAssignment>& out,
                      std::string& error);

// What applying the assignments gave.
struct ApplyOutcome {
    bool ok = false;
    int messageId = 0;  // string-table message of a value out of its field's range (0: see error)
    std::string error;  // a value that could not be read, or the field the message concerns
    std::vector<std::string> changed;  // fields stored with state 2, in table order
};

// Reads every value into a copy of `record` and, only when all could be read, stores them into
// `record` with their state words. Switching DHCP off sends the address line, so the address,
// mask and gateway then go with it (state 2) even when they were not named.
ApplyOutcome ApplyAssignments(const std::vector<FieldAssignment>& assignments,
                              ProjectorRecord& record);

// Why the projector of `record` (as read) has no setting `field`, or none when it has it: the
// wireless settings need the wireless interface in use, WEP on/off and the one WEP key a module
// other than type 22, the security code, key number and four keys a type-22 module.
std::optional<std::string> MissingSetting(std::string_view field, const ProjectorRecord& record);

// Takes the settings a template file holds (state 1 in `file`) into `record` (read from the
// projector, writeAll 0): each differing value with state 2, each equal one with state 3. The
// name, DHCP and the three addresses stay the projector's own. Returns the fields stored with
// state 2.
std::vector<std::string> MergeTemplate(const ProjectorRecord& file, ProjectorRecord& record);

// The names `set` knows, for a usage text.
std::string SettableFieldNames();

// One line per field: its name and its accepted forms and limits.
void PrintSettableFields(std::ostream& out);

}  // namespace lanterna::cli
