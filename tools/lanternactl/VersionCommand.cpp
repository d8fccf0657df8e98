#include <ostream>

#include "tools/lanternactl/Commands.h"

namespace lanterna::cli {

namespace {

int RunVersion(CliContext& context, CliArgs /*args*/) {
    context.out << "lanternactl " << LANTERNA_VERSION << "\n";
    return kExitOk;
}

}  // namespace

const CliCommand kVersionCommand{"version", &RunVersion};

}  // namespace lanterna::cli
