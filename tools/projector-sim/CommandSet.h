#pragma once
// The text command language of the simulated projector: one command line in, one reply out.
// Pure functions over ProjectorSettings; the caller serialises access.
//
// Which commands a module answers:
// - NWWLCNFS, NWWLSEC, NWWEPID and NWWEP1 to NWWEP4 exist only on interface-module type 22;
//   NWWLCNF only on every other type.
// - The wired and the wireless members of each pair (NWCNF/NWWLCNF(S), NWDNS/NWWLDNS, ...)
//   are both answered whichever interface is in use: the module keeps one set of settings per
//   interface and NWIF only says which one is active. NWMAC and NWWLMAC both give the
//   configured hardware address.
// - NWIF, NWMAC and NWWLMAC have no set form; NWSMTPTEST, NWRESET and IMSTAT no query form.
// - A query with an argument, an unknown command, and a command of the refused list give ERR.

#include <optional>
#include <set>
#include <string>
#include <string_view>

#include "tools/projector-sim/ProjectorSettings.h"
#include "tools/projector-sim/SimulatorConfig.h"

namespace lanterna::sim {

// One command line split into its name and its form.
struct CommandLine {
    std::string_view name;
    bool query = false;         // the name was followed by '?'
    bool hasArgument = false;   // a blank followed the name (or the '?')
    std::string_view argument;  // everything after that first blank, as received
};

CommandLine ParseCommandLine(std::string_view line);

// What the connection does after a command.
struct CommandOutcome {
    std::optional<std::string> reply;  // bytes to send; none for an unanswered command
    bool reset = false;                // NWRESET was accepted: the module restarts
    bool testMail = false;             // NWSMTPTEST was accepted
    bool closeAfterReply = false;      // a fault ends the connection once the reply is out
};

struct CommandOptions {
    const std::set<std::string>* refused = nullptr;
    bool answerSendOnly = false;
};

// Runs one command line (without its carriage return) against `settings`.
// Replies: a query gives NAME "=" value CR ":"; an accepted set CR ":"; a refused or
// malformed command "ERR" CR ":"; an empty line the prompt ":" alone. IMSTAT and NWRESET
// get no reply unless `answerSendOnly` is set.
CommandOutcome ExecuteCommand(ProjectorSettings& settings, std::string_view line,
                              const CommandOptions& options);

// Applies `fault` to the outcome of `command` (its reply, and whether the connection ends).
void ApplyReplyFault(const ProjectorSettings& settings, const CommandLine& command,
                     const ReplyFault& fault, CommandOutcome& outcome);

// The value a query of `name` would give (the text after "="); none when the module does
// not answer that query.
std::optional<std::string> QueryValue(const ProjectorSettings& settings, std::string_view name);

// Applies the set command `name` with `argument` as if it had been received; false (and
// nothing changed) when the module would answer ERR. Send-only commands are accepted
// without effect.
bool ApplySet(ProjectorSettings& settings, std::string_view name, std::string_view argument);

// True when `name` is a command of the language (on any module type).
bool IsKnownCommand(std::string_view name);

}  // namespace lanterna::sim
