#include "tools/lanternactl/ReadReports.h"

#include "fleet/ReadFlow.h"
#include "tools/lanternactl/FleetWords.h"
#include "tools/lanternactl/WorkerRunner.h"

namespace lanterna::cli {

std::vector<ReadTarget> ReadTargets(CliContext& context, std::string_view command,
                                    std::vector<Target> targets, bool single, CPasswords& passwords,
                                    long jobs) {
    const std::vector<bool> unanswered = fleet::LearnModuleTypes(context.network, targets);
    std::vector<TargetReport> reports = FirstReports(context, command, targets, unanswered, single);
    std::vector<ReadTarget> results(targets.size());
    for (std::size_t i = 0; i < targets.size(); ++i) {
        results[i].report = std::move(reports[i]);
    }
    fleet::RunControl control;
    control.bounds.jobs = static_cast<int>(jobs);
    std::optional<CWorkerRunner> runner;
    if (single) {
        control.foreground = &runner.emplace(context);
    } else {
        control.finished = ProgressOnTerminal(context, targets.size());
    }
    const std::vector<fleet::ReadResult> read =
        fleet::ReadTargets(context.network, passwords, targets, control);
    for (std::size_t i = 0; i < read.size(); ++i) {
        ReadTarget& result = results[i];
        result.report.outcome = read[i].outcome;
        if (!read[i].record) {
            result.report.message =
                RoadFailureText(read[i].failure, result.report.address, passwords);
            continue;
        }
        result.record = read[i].record;
        result.passwordSet = read[i].passwordSet;
        result.report.name = std::string(TextOf(read[i].record->projectorName));
    }
    return results;
}

}  // namespace lanterna::cli
