#include "tools/lanternactl/ReadFlow.h"

#include <ostream>

#include "tools/lanternactl/ParallelRun.h"
#include "tools/lanternactl/TargetRoad.h"
#include "tools/lanternactl/WorkerRunner.h"
#include "workers/Workers.h"

namespace lanterna::cli {

namespace {

void ReadOne(const CliNetwork& network, IWorkerDriver& driver, CPasswords& passwords,
             const Target& target, ReadTarget& result) {
    const auto state = StateFor(network);
    OpenedTarget opened;
    if (!OpenTarget(network, driver, passwords, target, *state, 1, "", opened, result.report)) {
        return;
    }
    result.passwordSet = opened.passwordSet;
    result.record = *state->SelectedRecord();
    result.report.outcome = Outcome::kRead;
    CloseLink(*state);
}

}  // namespace

std::vector<ReadTarget> ReadTargets(CliContext& context, std::string_view command,
                                    std::vector<Target> targets, bool single, CPasswords& passwords,
                                    long jobs) {
    std::vector<std::string> notes;
    LearnModuleTypes(context.network, targets, notes);
    std::vector<ReadTarget> results(targets.size());
    for (std::size_t i = 0; i < targets.size(); ++i) {
        results[i].report.address = targets[i].address;
        results[i].report.name = targets[i].name;
        if (notes[i].empty()) {
            continue;
        }
        if (single) {
            context.err << "lanternactl " << command << ": " << targets[i].address << ": "
                        << notes[i] << "\n";
        } else {
            results[i].report.notes.push_back(notes[i]);
        }
    }
    if (single) {
        CWorkerRunner runner(context);
        ReadOne(context.network, runner, passwords, targets[0], results[0]);
        return results;
    }
    RunBounded(
        targets.size(), static_cast<int>(jobs),
        [&](std::size_t i) {
            CQuietDriver driver(false);
            ReadOne(context.network, driver, passwords, targets[i], results[i]);
        },
        ProgressOnTerminal(context, targets.size()));
    return results;
}

}  // namespace lanterna::cli
