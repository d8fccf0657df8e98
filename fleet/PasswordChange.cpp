#include "fleet/PasswordChange.h"

#include "workers/Workers.h"

namespace lanterna::fleet {

namespace {

// One change with `current`: the worker's result.
int ChangeWith(const std::string& routed, IWorkerDriver& driver, const Target& target,
               const std::string& current, const std::string& fresh, const FleetNetwork& network) {
    const auto state = StateFor(network);
    ProjectorRecord record{};
    record.origin = kOriginAddress;
    CopyText(record.address, routed);
    ScanDottedInto(target.address, record.ipAddress);
    CopyText(record.projectorName, target.name);
    record.imType = target.imType.value_or(0);
    state->projectors.Append(record);
    state->selectedIndex = 0;
    CopyText(state->currentPassword, current);
    CopyText(state->newPassword, fresh);
    return driver.Run(WorkerMode::kPassword, *state);
}

void ChangeOne(const FleetNetwork& network, IWorkerDriver& driver, IPasswordSource& passwords,
               const std::string& fresh, PasswordChangeResult& result) {
    const Target& target = result.target;
    // A current password the projector does not take is asked for again while the source has
    // another, as on the road that opens a projector.
    for (int attempt = 0; attempt < kMaxPasswordAttempts; ++attempt) {
        // The current password is asked for first, also for an address nothing is sent to, as
        // the prompts of the command line go.
        PasswordAnswer current = passwords.PasswordFor(target);
        if (!current.password) {
            result.failure.stop = RoadStop::kNoPassword;
            result.failure.passwordProblem = current.problem;
            result.failure.passwordLength = current.length;
            result.outcome = OutcomeOf(result.failure);
            return;
        }
        const std::optional<std::string> routed = network.RouteOf(target.address);
        if (!routed) {
            result.failure.stop = RoadStop::kNoRoute;
            result.outcome = OutcomeOf(result.failure);
            return;
        }
        result.failure = RoadFailure{};
        result.workerResult = ChangeWith(*routed, driver, target, *current.password, fresh, network);
        if (result.workerResult == 1) {
            result.outcome = Outcome::kPasswordChanged;
            result.removed = fresh.empty();
            return;
        }
        if (result.workerResult != kPasswordChangeRefused) {
            result.outcome = Outcome::kFailed;
            return;
        }
        result.failure.stop = RoadStop::kPasswordRefused;
        result.failure.workerResult = result.workerResult;
        result.outcome = OutcomeOf(result.failure);
        if (!passwords.Refused(target, *current.password)) {
            return;
        }
    }
}

}  // namespace

std::vector<PasswordChangeResult> ChangePasswords(const FleetNetwork& network,
                                                  IPasswordSource& passwords,
                                                  const std::vector<Target>& targets,
                                                  const std::string& fresh,
                                                  const RunControl& control) {
    std::vector<PasswordChangeResult> results(targets.size());
    for (std::size_t i = 0; i < targets.size(); ++i) {
        results[i].target = targets[i];
    }
    ChangePasswordsInto(network, passwords, results, fresh, control);
    return results;
}

void ChangePasswordsInto(const FleetNetwork& network, IPasswordSource& passwords,
                         std::vector<PasswordChangeResult>& results, const std::string& fresh,
                         const RunControl& control) {
    RunTargets(results.size(), control, false, [&](std::size_t i, IWorkerDriver& driver) {
        ChangeOne(network, driver, passwords, fresh, results[i]);
        return results[i].outcome == Outcome::kPasswordChanged;
    });
}

}  // namespace lanterna::fleet
