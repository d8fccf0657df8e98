#include <optional>
#include <ostream>

#include "platform/ProfileDocument.h"
#include "settings/SettingsFile.h"
#include "tools/lanternactl/Commands.h"
#include "tools/lanternactl/FileCommandSupport.h"
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
    std::string text;
    if (!ReadInputFile(context, "save", parsed->from, kRecordJsonMaxBytes, text, true)) {
        return kExitFailed;
    }
    ProjectorRecord record{};
    std::string error;
    if (!RecordFromJsonText(text, record, error)) {
        return Fail(context, parsed->from + ": " + error);
    }
    ProfileDocument probe;
    if (!StoreSettings(record, probe)) {
        return Fail(context, parsed->from + ": a text of the record holds a line break");
    }
    if (const OutputStatus status = SaveSettingsFile(record, parsed->output);
        status != OutputStatus::kOk) {
        return ReportOutputFailure(context, "save", parsed->output, status);
    }
    return kExitOk;
}

}  // namespace

const CliCommand kSaveCommand{"save", &RunSave};

}  // namespace lanterna::cli
