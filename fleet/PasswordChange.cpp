#include "fleet/PasswordChange.h"

#include "fleet/QuietDriver.h"
#include "workers/Workers.h"

namespace lanterna::fleet {

namespace {

// Whether the projector of `state` answers its probe; `result.first` tells that it asks for no
// password. False with `result` filled in when the probe failed.
bool ProbeFirst(IWorkerDriver& driver, ApplicationState& state, PasswordChangeResult& result) {
    const int probe = driver.Run(WorkerMode::kProbe, state);
    if (probe != 1 && probe != 2) {
        result.failure.stop = probe == 0 ? RoadStop::kOtherLinkOpen : RoadStop::kNotAnswering;
        result.failure.workerResult = probe;
        result.outcome = OutcomeOf(result.failure);
        return false;
    }
    result.first = probe == 1;
    return true;
}

// The password the projector has now: none for its first one, else the source's. False with
// `result` filled in when the source has none to give.
bool CurrentPassword(IPasswordSource& passwords, PasswordChangeResult& result,
                     std::string& current) {
    current.clear();
    if (result.first) {
        return true;
    }
    PasswordAnswer answer = passwords.PasswordFor(result.target);
    if (!answer.password) {
        result.failure.stop = RoadStop::kNoPassword;
        result.failure.passwordProblem = answer.problem;
        result.failure.passwordLength = answer.length;
        result.outcome = OutcomeOf(result.failure);
        return false;
    }
    current = std::move(*answer.password);
    return true;
}

// The state for the workers of `target` reached at `routed`.
std::unique_ptr<ApplicationState> PasswordStateFor(const FleetNetwork& network,
                                                   const Target& target,
                                                   const std::string& routed) {
    auto state = StateFor(network);
    ProjectorRecord record{};
    record.origin = kOriginAddress;
    CopyText(record.address, routed);
    ScanDottedInto(target.address, record.ipAddress);
    CopyText(record.projectorName, target.name);
    record.imType = target.imType.value_or(0);
    state->projectors.Append(record);
    state->selectedIndex = 0;
    CopyText(state->currentAddress, routed);
    return state;
}

void ChangeOne(const FleetNetwork& network, IWorkerDriver& driver, IPasswordSource& passwords,
               const std::string& fresh, PasswordChangeResult& result) {
    const std::optional<std::string> routed = network.RouteOf(result.target.address);
    if (!routed) {
        result.failure.stop = RoadStop::kNoRoute;
        result.outcome = OutcomeOf(result.failure);
        return;
    }
    // A projector without a password is changed from the empty one: it is asked first whether
    // it has one, so that its first password needs none given.
    if (!ProbeFirst(driver, *PasswordStateFor(network, result.target, *routed), result)) {
        return;
    }
    // A current password the projector does not take is asked for again while the source has
    // another, as on the road that opens a projector.
    for (int attempt = 0; attempt < kMaxPasswordAttempts; ++attempt) {
        std::string current;
        if (!CurrentPassword(passwords, result, current)) {
            return;
        }
        const auto state = PasswordStateFor(network, result.target, *routed);
        CopyText(state->currentPassword, current);
        CopyText(state->newPassword, fresh);
        result.failure = RoadFailure{};
        result.workerResult = driver.Run(WorkerMode::kPassword, *state);
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
        if (result.first || !passwords.Refused(result.target, current)) {
            return;
        }
    }
}

}  // namespace

int ProbePassword(const FleetNetwork& network, const Target& target) {
    const std::optional<std::string> routed = network.RouteOf(target.address);
    if (!routed) {
        return -1;
    }
    CQuietDriver driver(false);
    return driver.Run(WorkerMode::kProbe, *PasswordStateFor(network, target, *routed));
}

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
