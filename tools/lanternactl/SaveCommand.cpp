#include <fstream>
#include <iterator>
#include <optional>
#include <ostream>
#include <sstream>

#include "platform/ProfileDocument.h"
#include "settings/SettingsFile.h"
#include "tools/lanternactl/Commands.h"
#include "tools/lanternactl/RecordJson.h"

namespace lanterna::cli {

namespace {

struct SaveArguments {
    std::string from;    // record JSON file, "-" for standard input
    std::string output;  // settings file
};

std::optional<SaveArguments> ParseSaveArguments(CliArgs args) {
    SaveArguments parsed;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& word = args[i];
        const bool hasValue = i + 1 < args.size();
        if (word == "--from" && hasValue && parsed.from.empty()) {
            parsed.from = args[++i];
        } else if ((word == "-o" || word == "--output") && hasValue && parsed.output.empty()) {
            parsed.output = args[++i];
        } else {
            return std::nullopt;
        }
    }
    if (parsed.from.empty() || parsed.output.empty()) {
        return std::nullopt;
    }
    return parsed;
}

std::optional<std::string> ReadRecordText(CliContext& context, const std::string& from) {
    std::ostringstream text;
    if (from == "-") {
        text << context.in.rdbuf();
        return text.str();
    }
    std::ifstream file(from, std::ios::binary);
    if (!file) {
        return std::nullopt;
    }
    text << file.rdbuf();
    return text.str();
}

int Fail(CliContext& context, const std::string& message) {
    context.err << "lanternactl save: " << message << "\n";
    return kExitFailed;
}

int RunSave(CliContext& context, CliArgs args) {
    const std::optional<SaveArguments> parsed = ParseSaveArguments(args);
    if (!parsed) {
        context.err << "lanternactl save: usage: save --from RECORD.json -o FILE.ini\n";
        return kExitUsage;
    }
    const std::optional<std::string> text = ReadRecordText(context, parsed->from);
    if (!text) {
        return Fail(context, parsed->from + ": cannot be read");
    }
    const nlohmann::json json = nlohmann::json::parse(*text, nullptr, false);
    if (json.is_discarded()) {
        return Fail(context, parsed->from + ": not valid JSON");
    }
    ProjectorRecord record{};
    std::string error;
    if (!RecordFromJson(json, record, error)) {
        return Fail(context, parsed->from + ": " + error);
    }
    ProfileDocument probe;
    if (!StoreSettings(record, probe)) {
        return Fail(context, parsed->from + ": a text of the record holds a line break");
    }
    if (WriteSettingsFile(record, parsed->output) == 0) {
        return Fail(context, parsed->output +
                                 ": could not be written (too little free space, or not "
                                 "writable); an existing file was left as it was");
    }
    return kExitOk;
}

}  // namespace

const CliCommand kSaveCommand{
    "save", "save --from RECORD.json -o FILE.ini",
    "Save a record (JSON; - reads standard input) into a settings file, as Save does.", &RunSave};

}  // namespace lanterna::cli
