#pragma once
// What the file commands (show, save, import-list) share: reading an input file with a
// one-line error, and printing JSON whose texts may hold bytes of the user-interface code page.

#include <nlohmann/json.hpp>
#include <string>
#include <string_view>

#include "platform/ProfileDocument.h"
#include "tools/lanternactl/CliContext.h"

namespace lanterna::cli {

// Loads a profile file; on a missing, unreadable or oversized file writes
// "lanternactl COMMAND: PATH: reason" to the error stream and returns false.
bool LoadInputFile(CliContext& context, std::string_view command, const std::string& path,
                   ProfileDocument& document);

// Indented JSON; bytes that are not UTF-8 are shown as U+FFFD instead of failing the output.
std::string DumpJson(const nlohmann::ordered_json& json);

}  // namespace lanterna::cli
