#pragma once
// What history and undo share: their TARGET (an address, or a hardware address in either form)
// taken apart, the projector found and read where it has to be, and the times of the history
// in words.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "fleet/KeptWrites.h"
#include "fleet/SiteRead.h"
#include "fleet/WriteGate.h"
#include "tools/lanternactl/CliContext.h"
#include "tools/lanternactl/Options.h"
#include "tools/lanternactl/Passwords.h"

namespace lanterna::cli {

// The TARGET word of `command`; none after a message.
std::optional<fleet::HistoryTarget> TakeHistoryTarget(CliContext& context,
                                                      std::string_view command,
                                                      const std::string& word);

// Reads the projector of `target`: at its address, or, for a hardware address, among the
// candidates (--targets, else what the search finds) read up to their identity, then read
// whole where it was found. The reading; none after a message. `claims` gets the hardware
// addresses every projector read reported (two may claim the one looked for).
std::optional<fleet::SiteReading> ReadHistoryProjector(CliContext& context,
                                                       std::string_view command,
                                                       const CParsedArgs& parsed,
                                                       const fleet::HistoryTarget& target,
                                                       CPasswords& passwords, bool allSettings,
                                                       std::vector<fleet::MacClaim>* claims = nullptr);

// The hardware addresses whose history is the projector's: the one given, and both of its
// interfaces where it was read.
std::vector<std::string> HistoryMacs(const fleet::HistoryTarget& target,
                                     const fleet::SiteReading* reading);

// "2026-12-08 10:05:12.123 UTC" from the history's "20261208T100512.123Z"; anything else as
// it is, made safe for a terminal.
std::string HistoryTimeWords(std::string_view time);

// "lanternactl COMMAND: nothing is kept for HARDWAREADDRESS in FOLDER", or that no history
// folder is set.
void PrintNothingKept(CliContext& context, std::string_view command,
                      const std::vector<std::string>& macs, const std::string& folder);

}  // namespace lanterna::cli
