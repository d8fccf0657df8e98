#pragma once
// set and apply on their targets: the options of a write taken from the command line, the fleet
// engine's write road run with them, and what came of each target printed. One target prints as
// today's one-projector form.

#include <string_view>
#include <vector>

#include "fleet/WriteFlow.h"
#include "tools/lanternactl/CliContext.h"
#include "tools/lanternactl/Options.h"
#include "tools/lanternactl/Passwords.h"
#include "tools/lanternactl/TargetRequest.h"

namespace lanterna::cli {

struct WriteCommand {
    std::string_view command;
    fleet::WriteJob job;
    // A settings file applied whole: a projector with another hardware address is told that the
    // file belongs to the projector of job.expectedMac.
    bool fileOfOneProjector = false;
};

// Why the write gate refused a write to the projector of `reported`, in words.
std::string WriteRefusalText(const fleet::WriteRefusal& refusal, const ProjectorRecord& reported);

// Reads --dry-run, --force, --verify, --no-verify, --settle, --test-mail, --type, --jobs and
// --json from `parsed`, runs the road and prints it. The exit status.
int RunWriteCommand(CliContext& context, const WriteCommand& write, const CParsedArgs& parsed,
                    std::vector<Target> targets, bool singleTarget, CPasswords& passwords);

}  // namespace lanterna::cli
