#pragma once
// What a lanternactl command sees of the outside world. The program's main() binds it to the
// real streams and environment; tests bind it to string buffers and a fake environment.

#include <cstdint>
#include <functional>
#include <iosfwd>
#include <memory>
#include <mutex>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "fleet/Credentials.h"
#include "fleet/FleetNetwork.h"

namespace lanterna::cli {

// Exit statuses of every command.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = 1;  // the operation ran and failed (message on stderr)
inline constexpr int kExitUsage = 2;   // bad command line
// Every write was done, but a change-log line could not be kept (warned on stderr).
inline constexpr int kExitLogNotKept = 3;

// Where the projector commands send their traffic: the fleet engine's network. The program uses
// the defaults; tests keep every packet on loopback through it.
using CliNetwork = fleet::FleetNetwork;

// Who is using the terminal's current line.
struct TerminalLine {
    std::mutex mutex;       // held while a prompt waits and while the progress line is drawn
    bool progress = false;  // a progress line stands unfinished on the terminal
};

struct CliContext {
    std::istream& in;
    std::ostream& out;
    std::ostream& err;
    // Environment lookup; empty when the variable is not set.
    std::function<std::optional<std::string>(std::string_view name)> environment;
    // Asks for a line on the terminal without echo; empty when there is no terminal.
    std::function<std::optional<std::string>(std::string_view prompt)> askHidden;
    // Whether standard error is a terminal (progress bars are drawn only then).
    bool errIsTerminal = false;
    // Asks for a line on the terminal with echo (a yes/no question); empty when there is no
    // terminal or none is set.
    std::function<std::optional<std::string>(std::string_view prompt)> askLine = nullptr;
    // Ports and addresses of the projector commands.
    CliNetwork network{};
    // The terminal of standard error, shared by the prompts and the progress line of targets
    // worked on at once, so that they never draw over each other.
    std::shared_ptr<TerminalLine> terminal = std::make_shared<TerminalLine>();
    // Opens the desktop keyring for --keyring; empty, or null from the call, when there is none.
    std::function<std::unique_ptr<fleet::ICredentialStore>()> openKeyring = nullptr;
};

using CliArgs = std::span<const std::string>;

// A command; its usage, summary and help come from the help table (CommandHelp.h).
struct CliCommand {
    std::string_view name;
    int (*run)(CliContext& context, CliArgs args);
};

// Every command, in the order --help lists them.
std::span<const CliCommand> AllCommands();

// Runs the command line (without the program name); returns the exit status.
int RunLanternactl(CliContext& context, CliArgs args);

// "lanternactl COMMAND: TEXT" on standard error: how every command reports a problem.
void PrintCommandError(CliContext& context, std::string_view command, std::string_view text);

}  // namespace lanterna::cli
