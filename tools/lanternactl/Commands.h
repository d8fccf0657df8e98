#pragma once
// The commands of lanternactl, one file each; CommandTable.cpp lists them and CommandHelp.cpp
// holds their help.

#include "tools/lanternactl/CliContext.h"

namespace lanterna::cli {

extern const CliCommand kVersionCommand;
extern const CliCommand kShowCommand;
extern const CliCommand kSaveCommand;
extern const CliCommand kNcfCommand;
extern const CliCommand kNcfTextCommand;
extern const CliCommand kImportListCommand;
extern const CliCommand kDiscoverCommand;
extern const CliCommand kProbeCommand;
extern const CliCommand kQueryCommand;
extern const CliCommand kReadCommand;
extern const CliCommand kInventoryCommand;
extern const CliCommand kAuditCommand;
extern const CliCommand kStatusCommand;
extern const CliCommand kPowerCommand;
extern const CliCommand kSetCommand;
extern const CliCommand kApplyCommand;
extern const CliCommand kPasswdCommand;
extern const CliCommand kBackupCommand;
extern const CliCommand kProvisionCommand;
extern const CliCommand kRestoreCommand;
extern const CliCommand kDiffCommand;
extern const CliCommand kHistoryCommand;
extern const CliCommand kUndoCommand;
extern const CliCommand kWatchCommand;

}  // namespace lanterna::cli
