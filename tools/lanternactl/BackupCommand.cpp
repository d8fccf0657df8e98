#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <ostream>

#include "fleet/Backup.h"
#include "platform/DiskSpace.h"
#include "platform/KeptFiles.h"
#include "resources/StringIds.h"
#include "tools/lanternactl/CommandHelp.h"
#include "tools/lanternactl/Commands.h"
#include "tools/lanternactl/FileCommandSupport.h"
#include "tools/lanternactl/FleetCommand.h"
#include "tools/lanternactl/FleetWords.h"
#include "tools/lanternactl/SiteReports.h"
#include "tools/lanternactl/TextSafety.h"

namespace lanterna::cli {

namespace {

constexpr std::string_view kBackupCommandName = "backup";

TargetReport ReportOfEntry(const CliContext& context, const fleet::BackupEntry& entry,
                           const CPasswords& passwords) {
    TargetReport report = ReportOfReading(context, entry.reading, passwords);
    if (!entry.reading.record) {
        return report;
    }
    if (entry.file.empty()) {
        report.outcome = Outcome::kNotStarted;
        report.message = Words(kStringBackupFolderNotMade);
        return report;
    }
    if (!entry.Saved()) {
        report.outcome = Outcome::kFailed;
        report.message = Words(kStringFileNotSavedNamed, {entry.file});
        report.facts["problem"] = OutputProblem(entry.written);
        return report;
    }
    report.message = Words(kStringSavedAs, {entry.file});
    report.facts["file"] = entry.file;
    std::vector<std::string> notKept;
    for (const fleet::NotKept what : entry.notKept) {
        notKept.emplace_back(fleet::NotKeptKey(what));
    }
    if (!notKept.empty()) {
        report.notes.push_back(Words(kStringNotInTheFile, {JoinedTexts(notKept, ", ")}));
    }
    report.facts["notBackedUp"] = notKept;
    return report;
}

// The folder a backup goes into, checked before anything is read: a first backup makes it (and
// says so); one that is no folder, or one the user may not write in, ends the command. What a
// backup holds (community names, mail addresses) is the site's: the kept mode.
bool ReadyBackupFolder(CliContext& context, const std::string& folder) {
    struct stat info {};
    if (::stat(folder.c_str(), &info) != 0) {
        if (errno != ENOENT || ::mkdir(folder.c_str(), 0700) != 0 ||
            ::chmod(folder.c_str(), KeptFolderMode(FolderOf(folder))) != 0) {
            PrintCommandError(context, kBackupCommandName,
                              TerminalText(folder) + ": " + std::strerror(errno));
            return false;
        }
        context.err << "lanternactl backup: "
                    << Words(kStringBackupFolderMade, {TerminalText(folder)}) << "\n";
        return true;
    }
    if (!S_ISDIR(info.st_mode)) {
        PrintCommandError(context, kBackupCommandName,
                          TerminalText(folder) + ": " + std::strerror(ENOTDIR));
        return false;
    }
    if (::access(folder.c_str(), W_OK | X_OK) != 0) {
        PrintCommandError(context, kBackupCommandName,
                          TerminalText(folder) + ": " + std::strerror(errno));
        return false;
    }
    return true;
}

int RunBackup(CliContext& context, CliArgs args) {
    CParsedArgs parsed;
    long jobs = 0;
    long type = -1;
    if (!ParseCommand(context, kBackupCommandName, args, parsed) ||
        !TakeJobsAndType(context, kBackupCommandName, parsed, jobs, type)) {
        return kExitUsage;
    }
    std::vector<std::string> words = parsed.positional;
    if (words.empty()) {
        PrintUsageError(context.err, kBackupCommandName);
        return kExitUsage;
    }
    const std::string folder = words.front();
    words.erase(words.begin());
    const TargetRequest request = RequestOf(parsed, std::move(words));
    if (request.words.empty() && !request.all && !request.file) {
        PrintUsageError(context.err, kBackupCommandName);
        return kExitUsage;
    }
    std::vector<Target> targets;
    if (const int status = ExpandTargets(context, kBackupCommandName, request, targets);
        status != kExitOk) {
        return status;
    }
    ForceType(targets, type);
    CPasswords passwords(context, kBackupCommandName);
    if (!LoadPasswordOptions(context, kBackupCommandName, parsed, passwords)) {
        return kExitFailed;
    }
    if (!ReadyBackupFolder(context, folder)) {
        return kExitFailed;
    }
    const std::size_t count = targets.size();
    const fleet::BackupRun run = fleet::BackUpProjectors(
        context.network, passwords, std::move(targets), folder, SiteControl(context, count, jobs));
    if (run.folderStatus != OutputStatus::kOk) {
        return ReportOutputFailure(context, kBackupCommandName, run.folder, run.folderStatus);
    }
    std::vector<TargetReport> reports;
    for (const fleet::BackupEntry& entry : run.entries) {
        reports.push_back(ReportOfEntry(context, entry, passwords));
        reports.back().facts["folder"] = run.folder;
    }
    const bool json = parsed.Has("--json");
    int status = PrintReports(context, reports, json);
    const std::string index = run.folder + "/" + std::string(fleet::kBackupIndexName);
    if (run.indexStatus != OutputStatus::kOk) {
        status = ReportOutputFailure(context, kBackupCommandName, index, run.indexStatus);
    } else if (!json) {
        context.out << "backup: " << TerminalText(run.folder) << " (" << run.SavedCount()
                    << (run.SavedCount() == 1 ? " settings file" : " settings files") << " and "
                    << fleet::kBackupIndexName << ")\n";
    }
    return status;
}

}  // namespace

const CliCommand kBackupCommand{"backup", &RunBackup};

}  // namespace lanterna::cli
