#include <algorithm>
#include <cctype>
#include <filesystem>
#include <optional>
#include <ostream>

#include "platform/UserLanguage.h"
#include "resources/StringTable.h"
#include "settings/ConfigFile.h"
#include "settings/ConfigFileText.h"
#include "settings/SettingsFile.h"
#include "settings/SettingsFileCheck.h"
#include "settings/ValidationRules.h"
#include "tools/lanternactl/CommandHelp.h"
#include "tools/lanternactl/Commands.h"
#include "tools/lanternactl/FileCommandSupport.h"
#include "tools/lanternactl/RecordJson.h"
#include "tools/lanternactl/TextSafety.h"

namespace lanterna::cli {

namespace {

struct NcfOptions {
    std::optional<std::int32_t> wirelessActive;
    std::string source;
    std::string output;
};

int UsageError(CliContext& context, std::string_view problem) {
    context.err << "lanternactl ncf: " << problem << "\n";
    PrintUsageLines(context.err, HelpOf("ncf"));
    return kExitUsage;
}

// Returns an empty text when the options are complete, else what is wrong with them.
std::string ParseOptions(CliArgs args, NcfOptions& options) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--wired" || arg == "--wireless") {
            if (options.wirelessActive.has_value()) {
                return "give --wired or --wireless once";
            }
            options.wirelessActive = arg == "--wireless" ? 1 : 0;
        } else if (arg == "--from" || arg == "-o") {
            if (i + 1 >= args.size() || args[i + 1].empty()) {
                return arg + " needs a file name";
            }
            std::string& target = arg == "--from" ? options.source : options.output;
            if (!target.empty()) {
                return arg + " is given twice";
            }
            target = args[++i];
        } else {
            return "unknown argument '" + arg + "'";
        }
    }
    if (!options.wirelessActive.has_value()) {
        return "choose --wired or --wireless";
    }
    if (options.source.empty()) {
        return "--from is missing";
    }
    if (options.output.empty()) {
        return "-o is missing";
    }
    return {};
}

std::string LowerExtension(const std::string& path) {
    std::string extension = std::filesystem::path(path).extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return extension;
}

bool LoadJsonRecord(CliContext& context, const std::string& path, ProjectorRecord& record) {
    std::string text;
    if (!ReadInputFile(context, "ncf", path, kRecordJsonMaxBytes, text)) {
        return false;
    }
    std::string error;
    if (!RecordFromJsonText(text, record, error)) {
        context.err << "lanternactl ncf: " << path << ": " << error << "\n";
        return false;
    }
    return true;
}

// A settings file is read as a dropped one is; one without usable settings is refused.
bool LoadSettingsRecord(CliContext& context, const std::string& path, ProjectorRecord& record) {
    ProfileDocument document;
    if (!LoadInputFile(context, "ncf", path, document)) {
        return false;
    }
    if (const SettingsFileProblem problem = ReadCheckedSettings(document, record)) {
        context.err << "lanternactl ncf: " << TerminalText(path) << ": "
                    << LoadString(kStringSettingsFileUnreadable) << " "
                    << TerminalText(SettingsFileProblemText(problem, UserLanguage())) << "\n";
        return false;
    }
    return true;
}

int RunNcf(CliContext& context, CliArgs args) {
    NcfOptions options;
    if (const std::string problem = ParseOptions(args, options); !problem.empty()) {
        return UsageError(context, problem);
    }
    const std::string extension = LowerExtension(options.source);
    if (extension != ".json" && extension != ".ini") {
        return UsageError(context, "--from takes a record (.json) or a settings file (.ini)");
    }

    ProjectorRecord record{};
    const bool loaded = extension == ".json" ? LoadJsonRecord(context, options.source, record)
                                             : LoadSettingsRecord(context, options.source, record);
    if (!loaded) {
        return kExitFailed;
    }
    // As the configuration-file dialog does: the variant decides the interface.
    record.wirelessActive = *options.wirelessActive;

    if (IsPlainFileName(options.output) != 1) {
        context.err << "lanternactl ncf: " << options.output << ": "
                    << LoadString(kStringBadFileNameCharacter)
                    << " (the file name may hold only bytes 0x20 to 0x7F)\n";
        return kExitFailed;
    }
    if (const ConfigFileText text = BuildConfigFileText(record); !text.ok()) {
        context.err << "lanternactl ncf: the argument of " << text.brokenCommand
                    << " holds a line break; no file written\n";
        return kExitFailed;
    }
    if (const OutputStatus status = SaveConfigFile(record, options.output);
        status != OutputStatus::kOk) {
        return ReportOutputFailure(context, "ncf", options.output, status);
    }
    return kExitOk;
}

}  // namespace

const CliCommand kNcfCommand{"ncf", &RunNcf};

}  // namespace lanterna::cli
