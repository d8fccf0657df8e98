#include <algorithm>
#include <array>
#include <ostream>

#include "fleet/AuditFindings.h"
#include "resources/StringIds.h"
#include "tools/lanternactl/CommandHelp.h"
#include "tools/lanternactl/Commands.h"
#include "tools/lanternactl/FileCommandSupport.h"
#include "tools/lanternactl/FleetCommand.h"
#include "tools/lanternactl/FleetWords.h"
#include "tools/lanternactl/HealthSupport.h"
#include "tools/lanternactl/ReadReports.h"
#include "tools/lanternactl/TextSafety.h"

namespace lanterna::cli {

namespace {

constexpr std::string_view kAuditCommandName = "audit";

using fleet::AuditedProjector;
using fleet::Finding;

// "3 projectors audited: 1 critical, 2 warnings, 0 notices, 0 not read", in the user's language.
std::string SummaryOf(std::size_t audited, const std::array<std::size_t, 3>& bySeverity,
                      std::size_t unread) {
    return Words(kStringAuditSummary,
                 {CountWords(audited, kStringOneProjectorAudited, kStringProjectorsAudited),
                  Words(kStringCriticalCount, {std::to_string(bySeverity[2])}),
                  CountWords(bySeverity[1], kStringOneWarning, kStringWarningsCount),
                  CountWords(bySeverity[0], kStringOneNotice, kStringNoticesCount),
                  Words(kStringNotReadCount, {std::to_string(unread)})});
}

// The kind of a finding in words, its key where it has no short name.
std::string FindingWords(const fleet::FindingKind& kind) {
    const int id = fleet::FindingTitleId(kind);
    return id != 0 ? Words(id) : std::string(kind.id);
}

// One row of the audit: a finding about the settings or about the health.
struct AuditRow {
    std::string address;
    std::string name;
    const fleet::FindingKind* kind = nullptr;
    std::string detail;
};

std::string HealthDetail(const fleet::HealthFinding& finding) {
    return Words(finding.kind->detail, {finding.value});
}

// The health findings of every target that answered PJLink, under the name it was read with
// (else the name PJLink gives).
void AddHealthRows(CliContext& context, const CPasswords& book,
                   const std::vector<ReadTarget>& results, long jobs, long lampHours,
                   std::vector<AuditRow>& rows) {
    std::vector<std::string> addresses;
    for (const ReadTarget& result : results) {
        addresses.push_back(result.report.address);
    }
    const auto health = ReadHealthWith(context, book, addresses, jobs);
    for (std::size_t i = 0; i < health.size(); ++i) {
        const std::string name = results[i].record
                                     ? std::string(TextOf(results[i].record->projectorName))
                                     : health[i].read.health.name.value_or("");
        for (const fleet::HealthFinding& finding :
             fleet::HealthFindings(health[i].read, static_cast<int>(lampHours))) {
            rows.push_back({health[i].address, name, finding.kind, HealthDetail(finding)});
        }
    }
}

std::string KindWords(const fleet::FindingKind& kind) {
    const int id = fleet::HealthFindingTitleId(kind);
    return id != 0 ? Words(id) : FindingWords(kind);
}

int RunAudit(CliContext& context, CliArgs args) {
    CParsedArgs parsed;
    long jobs = 0;
    long type = -1;
    long lampHours = fleet::kDefaultLampHours;
    if (!ParseCommand(context, kAuditCommandName, args, parsed) ||
        !TakeJobsAndType(context, kAuditCommandName, parsed, jobs, type) ||
        !NumberOption(context, kAuditCommandName, parsed, "--lamp-hours", 1, 99999, lampHours)) {
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
    const auto pjlinkBook = LoadPjlinkPasswords(context, kAuditCommandName, parsed);
    if (!pjlinkBook || !LoadPasswordOptions(context, kAuditCommandName, parsed, passwords)) {
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
    std::vector<AuditRow> rows;
    for (const Finding& finding : fleet::Audit(audited)) {
        const AuditedProjector& projector = audited[finding.projector];
        rows.push_back({projector.address, std::string(TextOf(projector.record.projectorName)),
                        finding.kind, FindingDetail(finding)});
    }
    AddHealthRows(context, *pjlinkBook, results, jobs, lampHours, rows);
    std::stable_sort(rows.begin(), rows.end(), [&](const AuditRow& a, const AuditRow& b) {
        const auto order = [&](const std::string& address) {
            return std::find_if(results.begin(), results.end(), [&](const ReadTarget& r) {
                return r.report.address == address;
            }) - results.begin();
        };
        return order(a.address) < order(b.address);
    });
    std::array<std::size_t, 3> bySeverity{};
    for (const AuditRow& row : rows) {
        ++bySeverity[static_cast<std::size_t>(row.kind->severity)];
    }
    const bool serious = bySeverity[1] + bySeverity[2] > 0;
    const std::string summary = SummaryOf(audited.size(), bySeverity, unread.size());
    if (parsed.Has("--json")) {
        nlohmann::ordered_json output = nlohmann::ordered_json::object();
        auto list = nlohmann::ordered_json::array();
        for (const AuditRow& row : rows) {
            list.push_back({{"address", row.address},
                            {"name", row.name},
                            {"severity", fleet::SeverityKey(row.kind->severity)},
                            {"finding", row.kind->id},
                            {"detail", row.detail}});
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
        std::vector<std::vector<std::string>> table{
            {"ADDRESS", "NAME", "SEVERITY", "FINDING", "DETAIL"}};
        for (const AuditRow& row : rows) {
            table.push_back({row.address, row.name, Words(fleet::SeverityWordId(row.kind->severity)),
                             KindWords(*row.kind), row.detail});
        }
        PrintTable(context.out, table);
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
