#include "tools/lanternactl/CliContext.h"
#include "tools/lanternactl/Commands.h"

namespace lanterna::cli {

std::span<const CliCommand> AllCommands() {
    static const CliCommand kCommands[] = {
        kVersionCommand, kQueryCommand, kNcfCommand,    kNcfTextCommand,
        kReadCommand,    kSetCommand,   kPasswdCommand,
    };
    return kCommands;
}

}  // namespace lanterna::cli
