#include <ostream>

#include "tools/lanternactl/CliContext.h"

namespace lanterna::cli {

namespace {

void PrintHelp(std::ostream& out) {
    out << "Usage: lanternactl COMMAND [ARGUMENTS]\n"
           "Sets up the network interface of projectors from the command line.\n\n"
           "Commands:\n";
    for (const CliCommand& command : AllCommands()) {
        out << "  " << command.usage << "\n      " << command.summary << "\n";
    }
    out << "\nExit status: 0 success, 1 the operation failed (reason on standard error),\n"
           "2 bad command line.\n";
}

}  // namespace

int RunLanternactl(CliContext& context, CliArgs args) {
    if (args.empty() || args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
        PrintHelp(args.empty() ? context.err : context.out);
        return args.empty() ? kExitUsage : kExitOk;
    }
    for (const CliCommand& command : AllCommands()) {
        if (args[0] == command.name) {
            return command.run(context, args.subspan(1));
        }
    }
    context.err << "lanternactl: unknown command '" << args[0] << "' (see lanternactl --help)\n";
    return kExitUsage;
}

}  // namespace lanterna::cli
