#include "fleet/PasswordChange.h"

#include "workers/Workers.h"

namespace lanterna::fleet {

namespace {

void ChangeOne(const FleetNetwork& network, IWorkerDriver& driver, IPasswordSource& passwords,
               const std::string& fresh, PasswordChangeResult& result) {
    const Target& target = result.target;
    // The current password is asked for first, also for an address nothing is sent to, as the
    // prompts of the command line go.
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
    const auto state = StateFor(network);
    ProjectorRecord record{};
    record.origin = kOriginAddress;
    CopyText(record.address, *routed);
    ScanDottedInto(target.address, record.ipAddress);
    CopyText(record.projectorName, target.name);
    record.imType = target.imType.value_or(0);
    state->projectors.Append(record);
    state->selectedIndex = 0;
    CopyText(state->currentPassword, *current.password);
    CopyText(state->newPassword, fresh);
    result.workerResult = driver.Run(WorkerMode::kPassword, *state);
    if (result.workerResult != 1) {
        result.outcome = Outcome::kFailed;
        return;
    }
    result.outcome = Outcome::kPasswordChanged;
    result.removed = fresh.empty();
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
