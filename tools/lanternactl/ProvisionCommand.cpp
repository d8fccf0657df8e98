#include <algorithm>
#include <map>
#include <ostream>

#include "fleet/CsvRows.h"
#include "fleet/Provision.h"
#include "fleet/RecordFacts.h"
#include "tools/lanternactl/CommandHelp.h"
#include "tools/lanternactl/Commands.h"
#include "tools/lanternactl/FileCommandSupport.h"
#include "resources/StringIds.h"
#include "tools/lanternactl/FleetCommand.h"
#include "tools/lanternactl/FleetWords.h"
#include "tools/lanternactl/FleetReport.h"
#include "tools/lanternactl/SiteReports.h"
#include "tools/lanternactl/TextSafety.h"
#include "tools/lanternactl/WriteCommand.h"

namespace lanterna::cli {

namespace {

constexpr std::string_view kProvisionCommandName = "provision";

using fleet::ProvisionProblem;
using fleet::ProvisionProblemKind;

std::string ProblemText(const ProvisionProblem& problem) {
    const std::string earlier = "line " + std::to_string(problem.earlierLine);
    switch (problem.kind) {
        case ProvisionProblemKind::kBadFile:
            return "a quoted cell opened here is never closed";
        case ProvisionProblemKind::kNoKey:
            return "neither a hardwareAddress nor an address to find the projector by";
        case ProvisionProblemKind::kBadHardwareAddress:
            return "'" + problem.text + "' is not a hardware address";
        case ProvisionProblemKind::kDuplicateRow:
            return "the same projector as " + earlier + "; left out";
        case ProvisionProblemKind::kDuplicateAddress:
            return "ipAddress " + problem.text + " is given in " + earlier + " too; left out";
        case ProvisionProblemKind::kNotFound:
            return problem.text.find('.') != std::string::npos
                       ? "no projector at " + problem.text + " was read"
                       : "no projector with the hardware address " +
                             fleet::MacText(problem.text) + " was read";
    }
    return {};
}

void PrintProblems(CliContext& context, const std::string& path,
                   std::vector<ProvisionProblem> problems) {
    std::stable_sort(problems.begin(), problems.end(),
                     [](const auto& a, const auto& b) { return a.line < b.line; });
    for (const ProvisionProblem& problem : problems) {
        PrintCommandError(context, kProvisionCommandName,
                          TerminalText(path) + " line " + std::to_string(problem.line) + ": " +
                              TerminalText(ProblemText(problem)));
    }
}

// The one notice of the columns left out, a near miss of a field's name told as such:
// "columns that are no setting, left out: Room, Notes, comunity (community?)".
void PrintIgnoredColumns(CliContext& context, const std::string& path,
                         const std::vector<std::string>& ignored) {
    if (ignored.empty()) {
        return;
    }
    std::string names;
    for (const std::string& name : ignored) {
        names += (names.empty() ? "" : ", ") + name;
        if (const auto nearest = fleet::NearestRecordField(name)) {
            names += " (" + std::string(*nearest) + "?)";
        }
    }
    PrintCommandError(
        context, kProvisionCommandName,
        TerminalText(path) + ": columns that are no setting, left out: " + TerminalText(names));
}

// The candidates that could not be read, so that a row not found is understood.
void PrintUnread(CliContext& context, const std::vector<fleet::SiteReading>& readings,
                 const CPasswords& passwords) {
    for (const fleet::SiteReading& reading : readings) {
        if (reading.record) {
            continue;
        }
        const TargetReport report = ReportOfReading(context, reading, passwords);
        PrintCommandError(context, kProvisionCommandName, NotReadText(report));
    }
}

WriteCommand RowsJob(const std::map<std::string, std::vector<fleet::FieldAssignment>>& rows) {
    WriteCommand write;
    write.command = kProvisionCommandName;
    write.job = fleet::AssignmentsJob(rows);
    return write;
}

int RunProvision(CliContext& context, CliArgs args) {
    CParsedArgs parsed;
    long jobs = 0;
    long type = -1;
    if (!ParseCommand(context, kProvisionCommandName, args, parsed) ||
        !TakeJobsAndType(context, kProvisionCommandName, parsed, jobs, type)) {
        return kExitUsage;
    }
    std::vector<std::string> words = parsed.positional;
    if (words.empty()) {
        PrintUsageError(context.err, kProvisionCommandName);
        return kExitUsage;
    }
    const std::string path = words.front();
    words.erase(words.begin());
    TargetRequest request = RequestOf(parsed, std::move(words));
    // Without targets the candidates are what the search finds.
    request.all = request.all || (request.words.empty() && !request.file);
    std::string text;
    if (!ReadInputFile(context, kProvisionCommandName, path, fleet::kCsvFileMaxBytes, text)) {
        return kExitFailed;
    }
    const fleet::ProvisionList list = fleet::ParseProvisionList(text);
    std::vector<ProvisionProblem> problems = list.problems;
    PrintIgnoredColumns(context, path, list.ignoredColumns);
    if (!list.Usable()) {
        PrintProblems(context, path, problems);
        context.err << "lanternactl provision: nothing was sent\n";
        return kExitFailed;
    }
    std::vector<Target> candidates;
    if (const int status = ExpandTargets(context, kProvisionCommandName, request, candidates);
        status != kExitOk) {
        return status;
    }
    ForceType(candidates, type);
    CPasswords passwords(context, kProvisionCommandName);
    if (!LoadPasswordOptions(context, kProvisionCommandName, parsed, passwords)) {
        return kExitFailed;
    }
    const std::size_t count = candidates.size();
    const std::vector<fleet::SiteReading> readings =
        fleet::ReadSite(context.network, passwords, std::move(candidates), false,
                        SiteControl(context, count, jobs));
    const std::vector<fleet::ProvisionMatch> matches =
        fleet::MatchProvisionRows(list, readings, problems);
    PrintUnread(context, readings, passwords);
    PrintProblems(context, path, problems);
    std::map<std::string, std::vector<fleet::FieldAssignment>> rows;
    std::map<std::string, fleet::KeptFor> keptFor;
    std::vector<Target> targets;
    for (const fleet::ProvisionMatch& match : matches) {
        const fleet::ProvisionRow& row = list.rows[match.row];
        targets.push_back(readings[match.reading].target);
        rows[targets.back().address] = row.assignments;
        keptFor[targets.back().address] = fleet::KeptFor{row.mac, std::nullopt};
        if (row.mac.empty()) {
            PrintCommandError(context, kProvisionCommandName,
                              TerminalText(path) + " " +
                                  Words(kStringRowFoundByAddress,
                                        {std::to_string(row.line), targets.back().address}));
        }
    }
    if (targets.empty()) {
        context.out << "provision: no row matched a projector\n";
        return problems.empty() ? kExitOk : kExitFailed;
    }
    WriteCommand write = RowsJob(rows);
    // A row with a hardware address goes only to the projector reporting it, alone.
    write.job.keptFor = [&keptFor](const Target& target) { return keptFor.at(target.address); };
    write.job.claims = fleet::ClaimsOf(readings);
    const int status =
        RunWriteCommand(context, write, parsed, std::move(targets), false, passwords);
    return status == kExitOk && !problems.empty() ? kExitFailed : status;
}

}  // namespace

const CliCommand kProvisionCommand{"provision", &RunProvision};

}  // namespace lanterna::cli
