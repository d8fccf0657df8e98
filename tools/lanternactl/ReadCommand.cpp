#include <ostream>

#include "resources/StringIds.h"
#include "tools/lanternactl/CommandHelp.h"
#include "tools/lanternactl/Commands.h"
#include "tools/lanternactl/FileCommandSupport.h"
#include "tools/lanternactl/FleetCommand.h"
#include "tools/lanternactl/FleetWords.h"
#include "tools/lanternactl/ReadReports.h"
#include "tools/lanternactl/RecordJson.h"
#include "tools/lanternactl/SettingsListing.h"
#include "tools/lanternactl/TextSafety.h"

namespace lanterna::cli {

namespace {

constexpr std::string_view kReadCommandName = "read";

// What a target's line says about its settings: interface and addressing.
std::string Overview(const ProjectorRecord& record) {
    const std::string address =
        record.dhcp != 0 ? std::string("DHCP")
                         : FormatDotted(record.ipAddress) + "/" + FormatDotted(record.subnetMask);
    return Words(record.wirelessActive != 0 ? kStringOverviewWireless : kStringOverviewWired,
                 {std::to_string(record.imType), address});
}

int PrintSingle(CliContext& context, const ReadTarget& result, bool json, bool showSecrets) {
    if (!result.record) {
        context.err << "lanternactl read: " << TerminalText(result.report.message) << "\n";
        return kExitFailed;
    }
    if (json) {
        context.out << DumpJson(RecordToJson(*result.record)) << "\n";
    } else {
        PrintSettingsListing(context.out, *result.record, showSecrets);
    }
    return kExitOk;
}

int RunRead(CliContext& context, CliArgs args) {
    CParsedArgs parsed;
    long jobs = 0;
    long type = -1;
    if (!ParseCommand(context, kReadCommandName, args, parsed) ||
        !TakeJobsAndType(context, kReadCommandName, parsed, jobs, type)) {
        return kExitUsage;
    }
    const TargetRequest request = RequestOf(parsed, parsed.positional);
    if (request.words.empty() && !request.all && !request.file) {
        PrintUsageError(context.err, kReadCommandName);
        return kExitUsage;
    }
    std::vector<Target> targets;
    if (const int status = ExpandTargets(context, kReadCommandName, request, targets);
        status != kExitOk) {
        return status;
    }
    ForceType(targets, type);
    CPasswords passwords(context, kReadCommandName);
    if (!LoadPasswordOptions(context, kReadCommandName, parsed, passwords)) {
        return kExitFailed;
    }
    const bool single = IsSingleTarget(request);
    std::vector<ReadTarget> results =
        ReadTargets(context, kReadCommandName, std::move(targets), single, passwords, jobs);
    if (single) {
        return PrintSingle(context, results[0], parsed.Has("--json"), parsed.Has("--show-secrets"));
    }
    std::vector<TargetReport> reports;
    for (ReadTarget& result : results) {
        if (result.record) {
            result.report.message = Overview(*result.record);
            result.report.facts["record"] = RecordToJson(*result.record);
        }
        reports.push_back(std::move(result.report));
    }
    return PrintReports(context, reports, parsed.Has("--json"));
}

}  // namespace

const CliCommand kReadCommand{"read", &RunRead};

}  // namespace lanterna::cli
