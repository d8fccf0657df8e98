#include "tools/lanternactl/CliContext.h"
#include "tools/lanternactl/Commands.h"

namespace lanterna::cli {

std::span<const CliCommand> AllCommands() {
    static const CliCommand kCommands[] = {
        kVersionCommand,    kShowCommand,     kSaveCommand,  kNcfCommand,   kNcfTextCommand,
        kImportListCommand, kDiscoverCommand, kProbeCommand, kQueryCommand, kReadCommand,
        kInventoryCommand,  kAuditCommand,    kStatusCommand, kPowerCommand,    kSetCommand,   kApplyCommand, kPasswdCommand,
        kBackupCommand,     kProvisionCommand, kRestoreCommand, kDiffCommand,
        kHistoryCommand,    kUndoCommand,     kWatchCommand,
    };
    return kCommands;
}

}  // namespace lanterna::cli
