#pragma once
// What a lanternactl command sees of the outside world. The program's main() binds it to the
// real streams and environment; tests bind it to string buffers and a fake environment.

#include <functional>
#include <iosfwd>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace lanterna::cli {

// Exit statuses of every command.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = 1;  // the operation ran and failed (message on stderr)
inline constexpr int kExitUsage = 2;   // bad command line

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
};

using CliArgs = std::span<const std::string>;

struct CliCommand {
    std::string_view name;
    std::string_view usage;    // e.g. "show FILE.ini"
    std::string_view summary;  // one line for --help
    int (*run)(CliContext& context, CliArgs args);
};

// Every command, in the order --help lists them.
std::span<const CliCommand> AllCommands();

// Runs the command line (without the program name); returns the exit status.
int RunLanternactl(CliContext& context, CliArgs args);

}  // namespace lanterna::cli
