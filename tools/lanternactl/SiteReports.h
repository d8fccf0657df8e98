#pragma once
// What the site commands (provision, backup, restore, diff) share when they print: a report per
// projector read for the site, with its hello note and, when it was not read, why.

#include <vector>

#include "fleet/SiteRead.h"
#include "tools/lanternactl/FleetReport.h"
#include "tools/lanternactl/Passwords.h"

namespace lanterna::cli {

// The report of a reading: its address and name, its outcome, why it was not read, and the note
// of a hello not answered.
TargetReport ReportOfReading(const CliContext& context, const fleet::SiteReading& reading,
                             const CPasswords& passwords);

// "ADDRESS: not read: OUTCOME: WHY", the line of a target that could not be read.
std::string NotReadText(const TargetReport& report);

// The run control of a site command: at most `jobs` at once, the progress bar on a terminal.
fleet::RunControl SiteControl(CliContext& context, std::size_t count, long jobs);

}  // namespace lanterna::cli
