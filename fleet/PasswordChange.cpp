#include "fleet/PasswordChange.h"

#include <chrono>

#include "fleet/History.h"
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

// The change's line in the projector's change log: what was done, never the password.
void LogPasswordChange(const std::string& historyFolder, const ProjectorRecord& reported,
               PasswordChangeResult& result) {
    if (historyFolder.empty()) {
        return;
    }
    result.logStatus =
        CHistory(historyFolder)
            .LogWrite(reported, std::chrono::system_clock::now(),
                      {std::string(kPasswordChangeLogLine)}, OutcomeKey(result.outcome));
}

void ChangeOne(const FleetNetwork& network, IWorkerDriver& driver, IPasswordSource& passwords,
               const std::string& fresh, const std::string& historyFolder,
               PasswordChangeResult& result) {
    // Opened as every write road opens a projector: the identity read tells which projector took
    // the current password (and stops at another than a kept one is for) before anything changes.
    const auto opening = StateFor(network);
    OpenedTarget opened;
    if (!OpenTarget(network, driver, passwords, result.target, *opening, 0, {}, opened,
                    result.failure)) {
        result.outcome = OutcomeOf(result.failure);
        return;
    }
    const ProjectorRecord reported = *opening->SelectedRecord();
    CloseLink(*opening);
    result.first = !opened.passwordSet;
    result.hardwareAddress = std::string(TextOf(reported.macAddress));
    const auto state =
        PasswordStateFor(network, result.target, std::string(TextOf(reported.address)));
    CopyText(state->currentPassword, opened.password);
    CopyText(state->newPassword, fresh);
    result.workerResult = driver.Run(WorkerMode::kPassword, *state);
    if (result.workerResult == 1) {
        result.outcome = Outcome::kPasswordChanged;
        result.removed = fresh.empty();
    } else if (result.workerResult == kPasswordChangeRefused) {
        result.failure.stop = RoadStop::kPasswordRefused;
        result.failure.workerResult = result.workerResult;
        result.outcome = OutcomeOf(result.failure);
    } else {
        result.outcome = Outcome::kFailed;
    }
    LogPasswordChange(historyFolder, reported, result);
}

void PlanOne(const FleetNetwork& network, IWorkerDriver& driver, PasswordChangeResult& result) {
    const std::optional<std::string> routed = network.RouteOf(result.target.address);
    if (!routed) {
        result.failure.stop = RoadStop::kNoRoute;
        result.outcome = OutcomeOf(result.failure);
        return;
    }
    if (ProbeFirst(driver, *PasswordStateFor(network, result.target, *routed), result)) {
        result.outcome = Outcome::kWouldSend;
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
                                                  const RunControl& control,
                                                  const std::string& historyFolder) {
    std::vector<PasswordChangeResult> results(targets.size());
    for (std::size_t i = 0; i < targets.size(); ++i) {
        results[i].target = targets[i];
    }
    ChangePasswordsInto(network, passwords, results, fresh, control, historyFolder);
    return results;
}

void ChangePasswordsInto(const FleetNetwork& network, IPasswordSource& passwords,
                         std::vector<PasswordChangeResult>& results, const std::string& fresh,
                         const RunControl& control, const std::string& historyFolder) {
    RunTargets(results.size(), control, false, [&](std::size_t i, IWorkerDriver& driver) {
        ChangeOne(network, driver, passwords, fresh, historyFolder, results[i]);
        return results[i].outcome == Outcome::kPasswordChanged;
    });
}

void PlanPasswordChangesInto(const FleetNetwork& network,
                             std::vector<PasswordChangeResult>& results,
                             const RunControl& control) {
    RunTargets(results.size(), control, false, [&](std::size_t i, IWorkerDriver& driver) {
        PlanOne(network, driver, results[i]);
        return results[i].outcome == Outcome::kWouldSend;
    });
}

}  // namespace lanterna::fleet
