#include <ostream>

#include "fleet/AuditFindings.h"
#include "tools/lanternactl/CommandHelp.h"
#include "tools/lanternactl/Commands.h"
#include "tools/lanternactl/FileCommandSupport.h"
#include "tools/lanternactl/FleetCommand.h"
#include "tools/lanternactl/FleetWords.h"
#include "tools/lanternactl/ReadReports.h"
#include "tools/lanternactl/TextSafety.h"

namespace lanterna::cli {

namespace {

constexpr std::string_view kAuditCommandName = "audit";

using fleet::AuditedProjector;
using fleet::Finding;

std::string Counted(std::size_t count, std::string_view one, std::string_view many) {
    return std::to_string(count) + " " + std::string(count == 1 ? one : many);
}

int RunAudit(CliContext& context, CliArgs args) {
    CParsedArgs parsed;
    long jobs = 0;
    long type = -1;
    if (!ParseCommand(context, kAuditCommandName, args, parsed) ||
        !TakeJobsAndType(context, kAuditCommandName, parsed, jobs, type)) {
        return kExitUsage;
    }
    const TargetRequest request = RequestOf(parsed, parsed.positional);
    if (request.words.empty() && !request.all && !request.file) {
        PrintUsageError(context.err, kAuditCommandName);
        return kExitUsage;
    }
    std::vector<Target> targets;
    if (const int status = ExpandTargets(context, kAuditCommandName, request, targets);
        status != kExitOk) {
        return status;
    }
    ForceType(targets, type);
    CPasswords passwords(context, kAuditCommandName);
    if (!LoadPasswordOptions(context, kAuditCommandName, parsed, passwords)) {
        return kExitFailed;
    }
    const std::vector<ReadTarget> results =
        ReadTargets(context, kAuditCommandName, std::move(targets), false, passwords, jobs);
    std::vector<AuditedProjector> audited;
    std::vector<const ReadTarget*> unread;
    for (const ReadTarget& result : results) {
        if (result.record) {
            audited.push_back({result.report.address, *result.record, result.passwordSet});
        } else {
            unread.push_back(&result);
        }
    }
    const std::vector<Finding> findings = fleet::Audit(audited);
    std::array<std::size_t, 3> bySeverity{};
    for (const Finding& finding : findings) {
        ++bySeverity[static_cast<std::size_t>(finding.kind->severity)];
    }
    const bool serious = bySeverity[1] + bySeverity[2] > 0;
    const std::string summary =
        Counted(audited.size(), "projector", "projectors") +
        " audited: " + Counted(bySeverity[2], "critical", "critical") + ", " +
        Counted(bySeverity[1], "warning", "warnings") + ", " +
        Counted(bySeverity[0], "notice", "notices") +
        (unread.empty() ? "" : "; " + std::to_string(unread.size()) + " not read");
    if (parsed.Has("--json")) {
        nlohmann::ordered_json output = nlohmann::ordered_json::object();
        auto list = nlohmann::ordered_json::array();
        for (const Finding& finding : findings) {
            const AuditedProjector& projector = audited[finding.projector];
            list.push_back({{"address", projector.address},
                            {"name", std::string(TextOf(projector.record.projectorName))},
                            {"severity", fleet::SeverityKey(finding.kind->severity)},
                            {"finding", finding.kind->id},
                            {"detail", FindingDetail(finding)}});
        }
        auto notRead = nlohmann::ordered_json::array();
        for (const ReadTarget* target : unread) {
            notRead.push_back({{"address", target->report.address},
                               {"outcome", OutcomeKey(target->report.outcome)},
                               {"message", target->report.message}});
        }
        output["findings"] = list;
        output["notRead"] = notRead;
        output["summary"] = summary;
        context.out << DumpJson(output) << "\n";
    } else {
        std::vector<std::vector<std::string>> rows{
            {"ADDRESS", "NAME", "SEVERITY", "FINDING", "DETAIL"}};
        for (const Finding& finding : findings) {
            const AuditedProjector& projector = audited[finding.projector];
            rows.push_back({projector.address, std::string(TextOf(projector.record.projectorName)),
                            std::string(fleet::SeverityKey(finding.kind->severity)),
                            std::string(finding.kind->id), FindingDetail(finding)});
        }
        PrintTable(context.out, rows);
        for (const ReadTarget* target : unread) {
            context.err << "lanternactl audit: " << target->report.address << ": "
                        << OutcomeWord(target->report.outcome) << ": "
                        << TerminalText(target->report.message) << "\n";
        }
        context.out << summary << "\n";
    }
    return serious || !unread.empty() ? kExitFailed : kExitOk;
}

}  // namespace

const CliCommand kAuditCommand{"audit", &RunAudit};

}  // namespace lanterna::cli
