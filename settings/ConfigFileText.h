#pragma once
// The plain text of a network configuration file: "[NetConfig]" and the projector's own set
// commands for a complete wired or wireless set-up, one per line, each line ended by a single
// line feed, no terminating zero byte.

#include <string>
#include <string_view>

#include "record/ProjectorRecord.h"

namespace lanterna {

struct ConfigFileText {
    std::string text;
    // The command whose argument holds a line feed or carriage return, which would split it
    // into lines of its own; the text is then empty. Empty when the text is good.
    std::string_view brokenCommand;

    bool ok() const { return brokenCommand.empty(); }
};

// Builds the text from the record: mail, traps, community, primary interface and name, then the
// wireless set-up (address, ESSID and mode, security) when `wirelessActive` is nonzero, else
// the wired address line.
ConfigFileText BuildConfigFileText(const ProjectorRecord& record);

// The argument of NWWEP1 to NWWEP4 for a stored key: "INIT" for no key, the hexadecimal form of
// a 5- or 13-character key, a 10- or 26-digit hexadecimal key unchanged, and the empty text for
// anything else.
std::string ConfigFileWepArgument(std::string_view key);

}  // namespace lanterna
