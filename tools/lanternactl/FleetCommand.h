#pragma once
// What the projector commands share on their way in: their options taken apart by the help
// table, the targets, the passwords, the bound of parallel work.

#include <string>
#include <string_view>
#include <vector>

#include "tools/lanternactl/CliContext.h"
#include "tools/lanternactl/Options.h"
#include "tools/lanternactl/Passwords.h"
#include "tools/lanternactl/TargetRequest.h"

namespace lanterna::cli {

// Longest --wait.
inline constexpr long kMaxWaitSeconds = 60;

// Takes `args` apart with the options of `command`'s help, --wait applied. False after a
// message.
bool ParseCommand(CliContext& context, std::string_view command, CliArgs args, CParsedArgs& parsed);

// --wait SECONDS (1 to kMaxWaitSeconds): how long the search and the hellos wait after the last
// answer, put into the context's network. False after a message.
bool TakeWait(CliContext& context, std::string_view command, const CParsedArgs& parsed);

// --all and --targets of `parsed`, with `words` (addresses and ranges).
TargetRequest RequestOf(const CParsedArgs& parsed, std::vector<std::string> words);

// Hands the desktop keyring to `passwords` when --keyring is given; false, said, when no keyring
// answers.
bool TakeKeyringOption(CliContext& context, std::string_view command, const CParsedArgs& parsed,
                       CPasswords& passwords);

// Loads --passwords and --password-file into `passwords`, and opens the keyring for --keyring.
// False after a message (a keyring asked for that cannot be reached too).
bool LoadPasswordOptions(CliContext& context, std::string_view command, const CParsedArgs& parsed,
                         CPasswords& passwords);

// --jobs (default 16) and --type (none: -1). False after a message.
bool TakeJobsAndType(CliContext& context, std::string_view command, const CParsedArgs& parsed,
                     long& jobs, long& type);

// Gives every target the module type `type` when it is 0 or more.
void ForceType(std::vector<Target>& targets, long type);

}  // namespace lanterna::cli
