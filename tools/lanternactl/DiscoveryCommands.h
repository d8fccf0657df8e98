#pragma once
// The discovery commands with their network targets as parameters: the command table runs them
// on the real ports with broadcasts; tests run them against loopback.

#include "discovery/AddressProbe.h"
#include "discovery/SearchController.h"
#include "tools/lanternactl/CliContext.h"

namespace lanterna::cli {

// lanternactl discover [--json]
int RunDiscover(CliContext& context, CliArgs args, const SearchTargets& targets);

// lanternactl probe ADDRESS
int RunProbe(CliContext& context, CliArgs args, const AddressProbeOptions& options);

}  // namespace lanterna::cli
