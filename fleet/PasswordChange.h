#pragma once
// Changing the password of targets: each is opened as every write road opens it (the probe, its
// current password from the source when it has one, the read of its identity, which stops at a
// projector other than the one a kept password is for); then the password worker over a link of
// its own; many at once within the bounds. Each change is added to the projector's change log,
// with who made it and never the password.

#include <string>
#include <string_view>
#include <vector>

#include "fleet/FleetNetwork.h"
#include "fleet/Outcome.h"
#include "fleet/PasswordSource.h"
#include "fleet/RunControl.h"
#include "fleet/TargetRoad.h"
#include "fleet/Targets.h"
#include "platform/AtomicFile.h"

namespace lanterna::fleet {

struct PasswordChangeResult {
    Target target;
    // kPasswordChanged, kNotStarted, kFailed (the worker's result in `workerResult`), or the
    // outcome of `failure` (no route to the address, no answer to the probe, no current
    // password, the current password refused by the projector each try the source had, another
    // projector than the one a kept password is for, the identity not read).
    Outcome outcome = Outcome::kNotStarted;
    RoadFailure failure;
    int workerResult = 0;
    bool removed = false;  // the new password is empty: the projector asks for none now
    bool first = false;    // the projector asked for no password before
    std::string hardwareAddress;  // as the projector reported it before the change
    OutputStatus logStatus = OutputStatus::kOk;  // its change-log line
};

// What a password change adds to the change log in place of the command lines it sent.
inline constexpr std::string_view kPasswordChangeLogLine = "(password)";

// Whether the projector at `target` asks for a password, as the probe worker answers: 1 no, 2 yes,
// 0 another link was open, -1 no answer (or no route to it).
int ProbePassword(const FleetNetwork& network, const Target& target);

// Gives every target the password `fresh` (empty: none); one result per target, in order.
// `historyFolder`: where the change logs are (History.h); empty: nowhere.
std::vector<PasswordChangeResult> ChangePasswords(const FleetNetwork& network,
                                                  IPasswordSource& passwords,
                                                  const std::vector<Target>& targets,
                                                  const std::string& fresh,
                                                  const RunControl& control,
                                                  const std::string& historyFolder = {});

// The same into `results`, whose targets are given: a result is whole once the control's
// `finished` has told of it.
void ChangePasswordsInto(const FleetNetwork& network, IPasswordSource& passwords,
                         std::vector<PasswordChangeResult>& results, const std::string& fresh,
                         const RunControl& control, const std::string& historyFolder = {});

// What a change would do, nothing sent: each target is asked only whether it has a password
// (the probe). kWouldSend, with `first` set for a projector that has none; the outcome of the
// failure for one that cannot be reached.
void PlanPasswordChangesInto(const FleetNetwork& network,
                             std::vector<PasswordChangeResult>& results, const RunControl& control);

}  // namespace lanterna::fleet
