#pragma once
// What the file commands share: reading an input file under its size limit, and writing an
// output file under the one output policy, each failure told in one line
// ("lanternactl COMMAND: PATH: reason"); and printing JSON whose texts may hold bytes of the
// user-interface code page.

#include <cstddef>
#include <nlohmann/json.hpp>
#include <string>
#include <string_view>

#include "platform/AtomicFile.h"
#include "platform/ProfileDocument.h"
#include "record/ProjectorRecord.h"
#include "tools/lanternactl/CliContext.h"

namespace lanterna::cli {

// Reads the whole input at `path` (standard input for "-" when `standardInput` allows it) of
// at most `limit` bytes. On failure writes the reason and returns false.
bool ReadInputFile(CliContext& context, std::string_view command, const std::string& path,
                   std::size_t limit, std::string& content, bool standardInput = false);

// Loads a profile file (a settings or list file) the same way.
bool LoadInputFile(CliContext& context, std::string_view command, const std::string& path,
                   ProfileDocument& document);

// Reads the settings file at `path` into `file` (zero-filled) to be applied whole or used as a
// template (ReadCheckedSettings); a file that cannot be used names the key that is wrong, and a
// template of the older key set says which keys it applies. The exit status.
int LoadSettingsForWrite(CliContext& context, std::string_view command, const std::string& path,
                         bool asTemplate, ProjectorRecord& file);

// Why an input could not be read, for a message ("is a folder, not a file").
std::string InputProblem(FileRead result, std::size_t limit);

// Why an output was not written, for a message.
std::string OutputProblem(OutputStatus status);

// Writes the reason for a status other than kOk; returns kExitFailed.
int ReportOutputFailure(CliContext& context, std::string_view command, const std::string& path,
                        OutputStatus status);

// Indented JSON; bytes that are not UTF-8 are shown as U+FFFD instead of failing the output, and
// bidirectional controls as \uNNNN escapes (the same text, nothing that reorders a line).
std::string DumpJson(const nlohmann::ordered_json& json);

}  // namespace lanterna::cli
