#include <sys/stat.h>

#include <map>
#include <ostream>

#include "fleet/Backup.h"
#include "fleet/RecordFacts.h"
#include "fleet/SiteDiff.h"
#include "platform/UserLanguage.h"
#include "resources/StringIds.h"
#include "tools/lanternactl/CommandHelp.h"
#include "tools/lanternactl/Commands.h"
#include "tools/lanternactl/FileCommandSupport.h"
#include "tools/lanternactl/FleetCommand.h"
#include "tools/lanternactl/FleetReport.h"
#include "tools/lanternactl/FleetWords.h"
#include "tools/lanternactl/RevisionSources.h"
#include "tools/lanternactl/SiteReports.h"
#include "tools/lanternactl/TextSafety.h"
#include "tools/lanternactl/WorkerRunner.h"
#include "tools/lanternactl/WriteCommand.h"

namespace lanterna::cli {

namespace {

constexpr std::string_view kRestoreCommandName = "restore";

bool IsRestoreSource(const std::string& word) {
    struct stat info {};
    return stat(word.c_str(), &info) == 0 || word.ends_with(".ini");
}

// The files' settings; false after a message.
bool LoadSources(CliContext& context, const std::vector<std::string>& paths,
                 std::vector<fleet::SettingsSource>& sources) {
    for (const std::string& path : paths) {
        const RevisionLoad revision = LoadRevisionSources(context, kRestoreCommandName, path, sources);
        if (revision == RevisionLoad::kFailed) {
            return false;
        }
        if (revision == RevisionLoad::kLoaded) {
            continue;
        }
        // A restore reads files a backup wrote: a device or FIFO is none of them.
        if (struct stat info {}; ::stat(path.c_str(), &info) == 0 && !S_ISREG(info.st_mode) &&
                                 !S_ISDIR(info.st_mode)) {
            PrintCommandError(context, kRestoreCommandName,
                              Words(kStringNotRegularFile, {TerminalText(path)}));
            return false;
        }
        fleet::SourceLoad load = fleet::LoadSettingsSources(path);
        if (load.problem != fleet::SourceProblem::kNone) {
            const std::string why = load.problem == fleet::SourceProblem::kUnreadable
                                        ? InputProblem(load.read, 0)
                                    : load.problem == fleet::SourceProblem::kNotSettings
                                        ? MessageText(kStringSettingsFileUnreadable) + " " +
                                              SettingsFileProblemText(load.settings, UserLanguage())
                                        : "is not the index of a backup";
            PrintCommandError(context, kRestoreCommandName,
                              TerminalText(load.path) + ": " + TerminalText(why));
            return false;
        }
        for (fleet::SettingsSource& source : load.sources) {
            sources.push_back(std::move(source));
        }
    }
    return true;
}

// A file goes only to the projector of its own hardware address (and module type, where it
// names one).
fleet::KeptFor KeptForFile(const fleet::SettingsSource& file) {
    fleet::KeptFor kept{file.wiredMac, std::nullopt};
    if (file.record.imType != 0) {
        kept.imType = file.record.imType;
    }
    return kept;
}

WriteCommand RestoreJob(const std::map<std::string, std::vector<fleet::FieldAssignment>>& files) {
    WriteCommand write;
    write.command = kRestoreCommandName;
    write.job = fleet::AssignmentsJob(files);
    return write;
}

int RunRestore(CliContext& context, CliArgs args) {
    CParsedArgs parsed;
    long jobs = 0;
    long type = -1;
    if (!ParseCommand(context, kRestoreCommandName, args, parsed) ||
        !TakeJobsAndType(context, kRestoreCommandName, parsed, jobs, type)) {
        return kExitUsage;
    }
    std::vector<std::string> paths;
    std::vector<std::string> targetWords;
    for (const std::string& word : parsed.positional) {
        (IsRestoreSource(word) || !IsTargetWord(word) ? paths : targetWords).push_back(word);
    }
    if (paths.empty()) {
        PrintUsageError(context.err, kRestoreCommandName);
        return kExitUsage;
    }
    std::vector<fleet::SettingsSource> sources;
    if (!LoadSources(context, paths, sources)) {
        return kExitFailed;
    }
    TargetRequest request = RequestOf(parsed, std::move(targetWords));
    // Without targets the projectors are looked for among what the search finds.
    request.all = request.all || (request.words.empty() && !request.file);
    std::vector<Target> candidates;
    if (const int status = ExpandTargets(context, kRestoreCommandName, request, candidates);
        status != kExitOk) {
        return status;
    }
    ForceType(candidates, type);
    CPasswords passwords(context, kRestoreCommandName);
    if (!LoadPasswordOptions(context, kRestoreCommandName, parsed, passwords)) {
        return kExitFailed;
    }
    const std::size_t count = candidates.size();
    const std::vector<fleet::SiteReading> readings = fleet::ReadSite(
        context.network, passwords, std::move(candidates), false, SiteControl(context, count, jobs));
    const std::vector<fleet::SettingsSource> found = fleet::SourcesOfReadings(readings);
    std::map<std::string, std::vector<fleet::FieldAssignment>> files;
    std::map<std::string, fleet::KeptFor> keptFor;
    std::vector<Target> targets;
    bool missing = false;
    for (const fleet::SourcePair& pair : fleet::PairSources(sources, found)) {
        if (!pair.here) {
            continue;  // a projector no file is for
        }
        const fleet::SettingsSource& file = sources[*pair.here];
        if (!file.indexMac.empty()) {
            missing = true;
            PrintCommandError(context, kRestoreCommandName,
                              Words(kStringIndexDisagrees,
                                    {TerminalText(file.where), fleet::MacText(file.wiredMac),
                                     fleet::MacText(file.indexMac)}));
            continue;
        }
        if (!pair.there || !file.SharesMac(found[*pair.there])) {
            missing = true;
            PrintCommandError(context, kRestoreCommandName,
                              TerminalText(file.where) + ": no projector with the hardware address " +
                                  fleet::MacText(file.wiredMac.empty() ? file.wirelessMac
                                                                       : file.wiredMac) +
                                  " was read");
            continue;
        }
        const fleet::SettingsSource& projector = found[*pair.there];
        for (const fleet::NotKept what : fleet::NotKeptOf(file.record, false)) {
            context.out << TerminalText(projector.where) << ": " << TerminalText(file.where)
                        << " cannot hold the " << fleet::NotKeptKey(what)
                        << "; the projector keeps its own\n";
        }
        for (const fleet::SiteReading& reading : readings) {
            if (reading.target.address == projector.where) {
                targets.push_back(reading.target);
            }
        }
        files[projector.where] = fleet::RestoringAssignments(file.record);
        keptFor[projector.where] = KeptForFile(file);
    }
    if (targets.empty()) {
        return missing ? kExitFailed : kExitOk;
    }
    WriteCommand write = RestoreJob(files);
    write.job.keptFor = [&keptFor](const Target& target) { return keptFor.at(target.address); };
    write.job.claims = fleet::ClaimsOf(readings);
    const int status = RunWriteCommand(context, write, parsed, std::move(targets), false, passwords);
    return status == kExitOk && missing ? kExitFailed : status;
}

}  // namespace

const CliCommand kRestoreCommand{"restore", &RunRestore};

}  // namespace lanterna::cli
