#include <ostream>
#include <string>

#include "fleet/TargetRoad.h"
#include "resources/StringTable.h"
#include "tools/lanternactl/CommandHelp.h"
#include "tools/lanternactl/Commands.h"
#include "tools/lanternactl/FleetCommand.h"
#include "tools/lanternactl/FleetReport.h"
#include "tools/lanternactl/FleetWords.h"
#include "tools/lanternactl/TextSafety.h"

namespace lanterna::cli {

namespace {

constexpr std::string_view kProbeCommandName = "probe";

int RunProbe(CliContext& context, CliArgs args) {
    CParsedArgs parsed;
    if (!ParseCommand(context, kProbeCommandName, args, parsed)) {
        return kExitUsage;
    }
    const TargetRequest request = RequestOf(parsed, parsed.positional);
    if (request.words.empty() && !request.all && !request.file) {
        PrintUsageError(context.err, kProbeCommandName);
        return kExitUsage;
    }
    const bool single = IsSingleTarget(request) && !parsed.Has("--json");
    if (single && !CanonicalAddress(request.words[0])) {
        context.err << "lanternactl probe: " << LoadString(kStringBadIpAddress) << "\n";
        return kExitUsage;
    }
    std::vector<Target> targets;
    if (const int status = ExpandTargets(context, kProbeCommandName, request, targets);
        status != kExitOk) {
        return status;
    }
    std::vector<std::string> addresses;
    for (const Target& target : targets) {
        addresses.push_back(target.address);
    }
    HelloSweepOptions sweep;
    sweep.quietMs = context.network.helloQuietMs;
    const std::vector<HelloAnswer> answers =
        fleet::SweepAddresses(context.network, addresses, sweep);
    const std::string seconds = std::to_string(context.network.helloQuietMs / 1000);
    if (single) {
        if (!answers[0]) {
            PrintCommandError(context, kProbeCommandName,
                              Words(kStringNothingAnsweredAt, {addresses[0], seconds}));
            return kExitFailed;
        }
        context.out << TerminalText(TextOf(answers[0]->name)) << '\t'
                    << static_cast<int>(answers[0]->imType) << '\n';
        return kExitOk;
    }
    std::vector<TargetReport> reports(targets.size());
    for (std::size_t i = 0; i < targets.size(); ++i) {
        TargetReport& report = reports[i];
        report.address = targets[i].address;
        if (!answers[i]) {
            report.outcome = Outcome::kNotAnswering;
            report.message = Words(kStringHelloUnanswered, {seconds});
            continue;
        }
        report.outcome = Outcome::kAnswered;
        report.name = std::string(TextOf(answers[i]->name));
        report.message = Words(kStringModuleType, {std::to_string(answers[i]->imType)});
        report.facts["imType"] = answers[i]->imType;
    }
    return PrintReports(context, reports, parsed.Has("--json"));
}

}  // namespace

const CliCommand kProbeCommand{"probe", &RunProbe};

}  // namespace lanterna::cli
