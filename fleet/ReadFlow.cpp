#include "fleet/ReadFlow.h"

#include "workers/Workers.h"

namespace lanterna::fleet {

namespace {

void ReadOne(const FleetNetwork& network, IWorkerDriver& driver, IPasswordSource& passwords,
             ReadResult& result) {
    const auto state = StateFor(network);
    OpenedTarget opened;
    if (!OpenTarget(network, driver, passwords, result.target, *state, 1, "", opened,
                    result.failure)) {
        result.outcome = OutcomeOf(result.failure);
        return;
    }
    result.passwordSet = opened.passwordSet;
    result.record = *state->SelectedRecord();
    result.outcome = Outcome::kRead;
    CloseLink(*state);
}

}  // namespace

std::vector<ReadResult> ReadTargets(const FleetNetwork& network, IPasswordSource& passwords,
                                    const std::vector<Target>& targets, const RunControl& control) {
    std::vector<ReadResult> results(targets.size());
    for (std::size_t i = 0; i < targets.size(); ++i) {
        results[i].target = targets[i];
    }
    ReadInto(network, passwords, results, control);
    return results;
}

void ReadInto(const FleetNetwork& network, IPasswordSource& passwords,
              std::vector<ReadResult>& results, const RunControl& control) {
    RunTargets(results.size(), control, false, [&](std::size_t i, IWorkerDriver& driver) {
        ReadOne(network, driver, passwords, results[i]);
        return results[i].outcome == Outcome::kRead;
    });
}

}  // namespace lanterna::fleet
