#pragma once
// Reading targets, as read, inventory and audit do (and the window's audit and inventory will):
// each target opened and read (all settings), then closed; many at once within the bounds. The
// module types are learned beforehand (LearnModuleTypes), so that a front end can tell of the
// targets that did not answer the hello before the reading starts.

#include <optional>
#include <vector>

#include "fleet/FleetNetwork.h"
#include "fleet/Outcome.h"
#include "fleet/PasswordSource.h"
#include "fleet/RunControl.h"
#include "fleet/TargetRoad.h"
#include "fleet/Targets.h"
#include "record/ProjectorRecord.h"

namespace lanterna::fleet {

struct ReadResult {
    Target target;  // as worked on: its module type and name learned by the hello
    // kRead, kNotStarted when the job stopped before it, or the outcome of `failure`.
    Outcome outcome = Outcome::kNotStarted;
    RoadFailure failure;                    // why it was not read
    std::optional<ProjectorRecord> record;  // the settings, when read
    bool passwordSet = false;               // the projector asked for a password
};

// Reads every target, in their order; one result per target.
std::vector<ReadResult> ReadTargets(const FleetNetwork& network, IPasswordSource& passwords,
                                    const std::vector<Target>& targets, const RunControl& control);

// The same into `results`, whose targets are given: a result is whole once the control's
// `finished` has told of it, so that a front end may show it while the others are read.
void ReadInto(const FleetNetwork& network, IPasswordSource& passwords,
              std::vector<ReadResult>& results, const RunControl& control);

}  // namespace lanterna::fleet
