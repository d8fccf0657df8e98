#pragma once
// The targets of a projector command as its command line gives them: addresses and ranges,
// --targets FILE and --all, expanded by the fleet engine and every problem told on standard
// error.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "fleet/NetworkSearch.h"
#include "fleet/Targets.h"
#include "tools/lanternactl/CliContext.h"

namespace lanterna::cli {

using fleet::CanonicalAddress;
using fleet::IsTargetWord;
using fleet::Target;

struct TargetRequest {
    std::vector<std::string> words;   // addresses and ranges
    bool all = false;                 // --all
    std::optional<std::string> file;  // --targets FILE
    // --all takes the projectors only PJLink found too: for the commands that speak PJLink
    // alone; the others have a network module to reach.
    bool pjlinkOnlyToo = false;
};

// Whether the request is one address and nothing else: the one-projector form.
bool IsSingleTarget(const TargetRequest& request);

// The targets in the order given (the search's in address order), each address once. kExitOk;
// kExitUsage for a word or line that is no address or range, a reversed range or too many
// targets; kExitFailed when a file cannot be read or no search could run. Messages go to
// standard error.
int ExpandTargets(CliContext& context, std::string_view command, const TargetRequest& request,
                  std::vector<Target>& targets);

// The network search of discover and --all; a search that could not run is told on standard
// error.
fleet::SearchResult SearchOnCommandLine(CliContext& context, std::string_view command);

}  // namespace lanterna::cli
