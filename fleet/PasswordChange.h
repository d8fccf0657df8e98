#pragma once
// Changing the password of targets: for each, the probe worker asks whether it has a password;
// when it has, its current one comes from the source (a projector without one is changed from
// the empty password, nothing asked); then the password worker over a link of its own; many at
// once within the bounds.

#include <string>
#include <vector>

#include "fleet/FleetNetwork.h"
#include "fleet/Outcome.h"
#include "fleet/PasswordSource.h"
#include "fleet/RunControl.h"
#include "fleet/TargetRoad.h"
#include "fleet/Targets.h"

namespace lanterna::fleet {

struct PasswordChangeResult {
    Target target;
    // kPasswordChanged, kNotStarted, kFailed (the worker's result in `workerResult`), or the
    // outcome of `failure` (no route to the address, no answer to the probe, no current
    // password, the current password refused by the projector each try the source had).
    Outcome outcome = Outcome::kNotStarted;
    RoadFailure failure;
    int workerResult = 0;
    bool removed = false;  // the new password is empty: the projector asks for none now
    bool first = false;    // the projector asked for no password before
};

// Whether the projector at `target` asks for a password, as the probe worker answers: 1 no, 2 yes,
// 0 another link was open, -1 no answer (or no route to it).
int ProbePassword(const FleetNetwork& network, const Target& target);

// Gives every target the password `fresh` (empty: none); one result per target, in order.
std::vector<PasswordChangeResult> ChangePasswords(const FleetNetwork& network,
                                                  IPasswordSource& passwords,
                                                  const std::vector<Target>& targets,
                                                  const std::string& fresh,
                                                  const RunControl& control);

// The same into `results`, whose targets are given: a result is whole once the control's
// `finished` has told of it.
void ChangePasswordsInto(const FleetNetwork& network, IPasswordSource& passwords,
                         std::vector<PasswordChangeResult>& results, const std::string& fresh,
                         const RunControl& control);

}  // namespace lanterna::fleet
