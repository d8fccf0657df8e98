#pragma once
// The record fields `lanternactl set` can change, each read from "FIELD=VALUE", checked with the
// rule the settings dialogs use for it, and stored with state 2 when it differs from the value
// read from the projector, 3 when it is equal.

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
    int messageId = 0;  // string-table message of a refused value (0: see error)
    std::string error;  // a value that could not be read, or the field the message concerns
};

// Reads every value into a copy of `record`, checks each named field (and, when DHCP is
// switched off, the address, mask and gateway that then travel with it), and only when all pass
// stores them into `record` with their state words.
ApplyOutcome ApplyAssignments(const std::vector<FieldAssignment>& assignments,
                              ProjectorRecord& record);

// The names `set` knows, for the usage text.
std::string SettableFieldNames();

}  // namespace lanterna::cli
