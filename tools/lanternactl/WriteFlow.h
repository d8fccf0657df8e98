#pragma once
// The road of set and apply over all their targets: one hello sweep for the module types and
// for the static addresses the write would give (are they taken?); then per target, at most
// --jobs at once: open, make the record to write, check it, print it (dry run) or write it;
// then one sweep that waits for the projectors whose address changed or whose module reset;
// then the read-back of what was written. One target prints as today's one-projector form.

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "record/ProjectorRecord.h"
#include "tools/lanternactl/CliContext.h"
#include "tools/lanternactl/Options.h"
#include "tools/lanternactl/Passwords.h"
#include "tools/lanternactl/TargetRequest.h"

namespace lanterna::cli {

// What making a target's record to write gave.
struct BuiltRecord {
    bool ok = true;
    std::string problem;               // why not, when not ok
    std::vector<std::string> changed;  // fields stored with state 2
};

struct WriteJob {
    std::string_view command;
    // readAllSettings of the read before the write.
    int readAllSettings = 1;
    // Turns the record read (states as read) into the record to write. Called on the target's
    // thread; must not touch shared state.
    std::function<BuiltRecord(ProjectorRecord& record)> build;
    // A changed setting the write would not carry refuses the target (set); otherwise it is
    // told as a note (a template).
    bool unsentRefuses = true;
    // The projector must have this hardware address (a settings file's own); empty: any.
    std::string expectedMac;
    // The message for a projector with another hardware address (empty: the general one).
    std::string otherProjectorMessage;
    // The static address the write gives, when it gives one: to every target, or (a settings
    // file applied whole) only to the projector it belongs to, the others keeping their own.
    std::optional<std::string> plannedAddress;
    bool plannedForEveryTarget = true;
    // The settings as the projector reported them take part in the checks (a settings file
    // applied whole reads only the identity: every setting it carries is judged).
    bool judgeAgainstRead = true;
};

// Reads --dry-run, --force, --verify, --no-verify, --settle, --test-mail, --type, --jobs and
// --json from `parsed`, runs the road and prints it. The exit status.
int RunWriteCommand(CliContext& context, const WriteJob& job, const CParsedArgs& parsed,
                    std::vector<Target> targets, bool singleTarget, CPasswords& passwords);

}  // namespace lanterna::cli
