#pragma once
// Reading every target for read, inventory and audit: the fleet engine's read flow, with each
// target's outcome and message worded for lanternactl's lines.

#include <optional>
#include <string_view>
#include <vector>

#include "record/ProjectorRecord.h"
#include "tools/lanternactl/CliContext.h"
#include "tools/lanternactl/FleetReport.h"
#include "tools/lanternactl/Passwords.h"
#include "tools/lanternactl/TargetRequest.h"

namespace lanterna::cli {

struct ReadTarget {
    TargetReport report;                    // outcome kRead, or why not
    std::optional<ProjectorRecord> record;  // the settings, when read
    bool passwordSet = false;               // the projector asked for a password
};

// Reads every target. With `single`, the workers draw their progress and notes go to standard
// error; otherwise the targets are read quietly, at most `jobs` at once, notes in the reports.
std::vector<ReadTarget> ReadTargets(CliContext& context, std::string_view command,
                                    std::vector<Target> targets, bool single, CPasswords& passwords,
                                    long jobs);

}  // namespace lanterna::cli
