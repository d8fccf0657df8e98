#include <sys/stat.h>

#include <ostream>

#include "fleet/SiteDiff.h"
#include "platform/UserLanguage.h"
#include "resources/StringIds.h"
#include "tools/lanternactl/CommandHelp.h"
#include "tools/lanternactl/Commands.h"
#include "tools/lanternactl/FileCommandSupport.h"
#include "tools/lanternactl/FleetCommand.h"
#include "tools/lanternactl/FleetReport.h"
#include "tools/lanternactl/RevisionSources.h"
#include "tools/lanternactl/SiteReports.h"
#include "tools/lanternactl/TextSafety.h"
#include "tools/lanternactl/WorkerRunner.h"

namespace lanterna::cli {

namespace {

constexpr std::string_view kDiffCommandName = "diff";
// Exit statuses of diff: nothing differs, something does, and a side that could not be had.
constexpr int kDiffSame = 0;
constexpr int kDiffDiffers = 1;
constexpr int kDiffTrouble = 2;

struct DiffSide {
    std::string label;  // as the user named it
    std::vector<fleet::SettingsSource> sources;
};

bool IsPath(const std::string& word) {
    struct stat info {};
    return stat(word.c_str(), &info) == 0 || word.ends_with(".ini");
}

std::string SourceProblemText(const fleet::SourceLoad& load) {
    switch (load.problem) {
        case fleet::SourceProblem::kUnreadable:
            return InputProblem(load.read, 0);
        case fleet::SourceProblem::kNotSettings:
            return MessageText(kStringSettingsFileUnreadable) + " " +
                   SettingsFileProblemText(load.settings, UserLanguage());
        case fleet::SourceProblem::kIndexUnusable:
            return "is not the index of a backup";
        case fleet::SourceProblem::kNone:
            break;
    }
    return {};
}

// A side from files; false after a message.
bool LoadFileSide(CliContext& context, const std::string& path, DiffSide& side) {
    fleet::SourceLoad load = fleet::LoadSettingsSources(path);
    if (load.problem != fleet::SourceProblem::kNone) {
        PrintCommandError(context, kDiffCommandName,
                          TerminalText(load.path) + ": " + TerminalText(SourceProblemText(load)));
        return false;
    }
    side.sources = std::move(load.sources);
    return true;
}

// A side read from projectors; false after a message naming each that could not be read.
bool ReadTargetSide(CliContext& context, const CParsedArgs& parsed, const TargetRequest& request,
                    long jobs, DiffSide& side) {
    std::vector<Target> targets;
    if (ExpandTargets(context, kDiffCommandName, request, targets) != kExitOk) {
        return false;
    }
    CPasswords passwords(context, kDiffCommandName);
    if (!LoadPasswordOptions(context, kDiffCommandName, parsed, passwords)) {
        return false;
    }
    const std::size_t count = targets.size();
    const std::vector<fleet::SiteReading> readings = fleet::ReadSite(
        context.network, passwords, std::move(targets), true, SiteControl(context, count, jobs));
    bool all = true;
    for (const fleet::SiteReading& reading : readings) {
        if (!reading.record) {
            const TargetReport report = ReportOfReading(context, reading, passwords);
            PrintCommandError(context, kDiffCommandName, NotReadText(report));
            all = false;
        }
    }
    side.sources = fleet::SourcesOfReadings(readings);
    return all;
}

bool IsKey(std::string_view field) {
    return field.starts_with("wepKey") && field != "wepKeyId";
}

// A value of one side as diff shows it: "(not read)" where that side holds none.
std::string ShownValue(const std::string& value, bool unread, bool key, std::string_view keyWord) {
    if (unread) {
        return "(not read)";
    }
    if (key) {
        return std::string(keyWord);
    }
    return value.empty() ? "(none)" : value;
}

std::string Named(const fleet::SettingsSource& source) {
    return (source.name.empty() ? "-" : source.name) + " (" + source.where + ")";
}

// One projector's differences in words ("community: legacy1 here, avops1 in site.ini") unless
// `json`; the same as JSON.
nlohmann::ordered_json PrintDifferences(CliContext& context, const fleet::SettingsSource& a,
                                        const std::vector<fleet::SettingDifference>& differences,
                                        const std::string& there, bool json) {
    auto list = nlohmann::ordered_json::array();
    for (const fleet::SettingDifference& difference : differences) {
        // Keys are never shown, only that they differ.
        const bool key = IsKey(difference.field);
        const std::string mine = ShownValue(difference.here, difference.hereUnread, key, "(a key)");
        const std::string theirs =
            ShownValue(difference.there, difference.thereUnread, key, "(another key)");
        list.push_back({{"field", difference.field}, {"here", mine}, {"there", theirs}});
        if (!json) {
            context.out << TerminalText(Named(a)) << ": " << difference.field << ": "
                        << TerminalText(mine) << " here, " << TerminalText(theirs) << " in "
                        << TerminalText(there) << "\n";
        }
    }
    return list;
}

// Prints the comparison; whether anything differs.
bool PrintDiff(CliContext& context, const DiffSide& here, const DiffSide& there, bool json) {
    bool differs = false;
    auto array = nlohmann::ordered_json::array();
    for (const fleet::SourcePair& pair : fleet::PairSources(here.sources, there.sources)) {
        nlohmann::ordered_json entry = nlohmann::ordered_json::object();
        if (!pair.here || !pair.there) {
            differs = true;
            const fleet::SettingsSource& only =
                pair.here ? here.sources[*pair.here] : there.sources[*pair.there];
            const std::string& side = pair.here ? here.label : there.label;
            entry = {{"name", only.name}, {"where", only.where}, {"onlyIn", side}};
            if (!json) {
                context.out << TerminalText(Named(only)) << ": only in " << TerminalText(side)
                            << "\n";
            }
            array.push_back(std::move(entry));
            continue;
        }
        const fleet::SettingsSource& a = here.sources[*pair.here];
        const fleet::SettingsSource& b = there.sources[*pair.there];
        const auto differences = fleet::DiffSettings(a.record, b.record);
        if (differences.empty()) {
            continue;
        }
        differs = true;
        entry = {{"name", a.name},
                 {"here", a.where},
                 {"there", b.where},
                 {"differences", PrintDifferences(context, a, differences, b.where, json)}};
        array.push_back(std::move(entry));
    }
    if (json) {
        context.out << DumpJson(array) << "\n";
    }
    return differs;
}

// Prints how each projector of `side` differs in what the template `file` would write to it;
// whether anything differs.
bool PrintTemplateDiff(CliContext& context, const DiffSide& side, const ProjectorRecord& file,
                       const std::string& path, bool json) {
    bool differs = false;
    auto array = nlohmann::ordered_json::array();
    for (const fleet::SettingsSource& source : side.sources) {
        const auto differences = fleet::DiffTemplate(source.record, file);
        if (differences.empty()) {
            continue;
        }
        differs = true;
        array.push_back({{"name", source.name},
                         {"here", source.where},
                         {"there", path},
                         {"differences", PrintDifferences(context, source, differences, path, json)}});
    }
    if (json) {
        context.out << DumpJson(array) << "\n";
    }
    return differs;
}

int RunDiff(CliContext& context, CliArgs args) {
    CParsedArgs parsed;
    long jobs = 0;
    long type = -1;
    if (!ParseCommand(context, kDiffCommandName, args, parsed) ||
        !TakeJobsAndType(context, kDiffCommandName, parsed, jobs, type)) {
        return kDiffTrouble;
    }
    const bool targetOption = parsed.Has("--all") || parsed.Has("--targets");
    const std::vector<std::string>& words = parsed.positional;
    // Against a template there is one side; the template is the other.
    const std::optional<std::string> templatePath = parsed.Value("--template");
    const std::size_t sideCount = templatePath ? 1 : 2;
    if (words.size() + (targetOption ? 1 : 0) != sideCount) {
        PrintUsageError(context.err, kDiffCommandName);
        return kDiffTrouble;
    }
    ProjectorRecord templateFile{};
    if (templatePath && LoadSettingsForWrite(context, kDiffCommandName, *templatePath, true,
                                             templateFile) != kExitOk) {
        return kDiffTrouble;
    }
    std::array<DiffSide, 2> sides;
    for (std::size_t i = 0; i < sideCount; ++i) {
        DiffSide& side = sides[i];
        const bool fromOption = i == words.size();
        side.label = fromOption ? (parsed.Has("--all") ? "--all" : "--targets") : words[i];
        const RevisionLoad revision =
            fromOption ? RevisionLoad::kNotRevision
                       : LoadRevisionSources(context, kDiffCommandName, words[i], side.sources);
        if (revision == RevisionLoad::kFailed) {
            return kDiffTrouble;
        }
        if (revision == RevisionLoad::kLoaded) {
            continue;
        }
        if (!fromOption && IsPath(words[i])) {
            if (!LoadFileSide(context, words[i], side)) {
                return kDiffTrouble;
            }
            continue;
        }
        if (!fromOption && !IsTargetWord(words[i])) {
            PrintCommandError(context, kDiffCommandName,
                              "'" + TerminalText(words[i]) +
                                  "' is no settings file, backup folder, REPO@REV, address or range");
            return kDiffTrouble;
        }
        const TargetRequest request =
            fromOption ? RequestOf(parsed, {}) : TargetRequest{{words[i]}, false, std::nullopt};
        if (!ReadTargetSide(context, parsed, request, jobs, side)) {
            context.err << "lanternactl diff: " << TerminalText(side.label)
                        << " could not be read whole\n";
            return kDiffTrouble;
        }
    }
    const bool json = parsed.Has("--json");
    const bool differs = templatePath
                             ? PrintTemplateDiff(context, sides[0], templateFile, *templatePath, json)
                             : PrintDiff(context, sides[0], sides[1], json);
    return differs ? kDiffDiffers : kDiffSame;
}

}  // namespace

const CliCommand kDiffCommand{"diff", &RunDiff};

}  // namespace lanterna::cli
