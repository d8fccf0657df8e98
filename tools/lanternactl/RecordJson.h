#pragma once
// The JSON form of a projector record used by lanternactl for output and input: one object with
// every field under its own name except `password`, which is never printed nor taken; addresses
// as dotted text, `security` as an array of four numbers, texts as strings, every other field as
// a number. On input an absent field stays zero.

#include <cstddef>
#include <nlohmann/json.hpp>
#include <string>
#include <string_view>

#include "record/ProjectorRecord.h"

namespace lanterna::cli {

// Longest record text taken: a record with every text at its longest and generous white space
// takes well under a tenth of it.
inline constexpr std::size_t kRecordJsonMaxBytes = 64 * 1024;

nlohmann::ordered_json RecordToJson(const ProjectorRecord& record);

// Fills `record` (which the caller zero-fills) from `json`. On a wrong type, an out-of-range
// number, a bad address or a text too long for its field, returns false and describes the
// first problem in `error`.
bool RecordFromJson(const nlohmann::json& json, ProjectorRecord& record, std::string& error);

// The same from the text of the record; also false for a text over kRecordJsonMaxBytes or one
// that is not JSON.
bool RecordFromJsonText(std::string_view text, ProjectorRecord& record, std::string& error);

}  // namespace lanterna::cli
