#include <termios.h>
#include <unistd.h>

#include <cstdlib>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "tools/lanternactl/CliContext.h"

namespace {

std::optional<std::string> ReadEnvironment(std::string_view name) {
    const char* value = std::getenv(std::string(name).c_str());
    if (value == nullptr) {
        return std::nullopt;
    }
    return std::string(value);
}

// Reads one line from the terminal with echo on.
std::optional<std::string> AskLine(std::string_view prompt) {
    if (isatty(STDIN_FILENO) == 0) {
        return std::nullopt;
    }
    std::cerr << prompt << std::flush;
    std::string line;
    if (!std::getline(std::cin, line)) {
        return std::nullopt;
    }
    return line;
}

// Reads one line from the controlling terminal with echo off.
std::optional<std::string> AskHidden(std::string_view prompt) {
    if (isatty(STDIN_FILENO) == 0) {
        return std::nullopt;
    }
    std::cerr << prompt << std::flush;
    termios saved{};
    const bool haveTerminal = tcgetattr(STDIN_FILENO, &saved) == 0;
    if (haveTerminal) {
        termios quiet = saved;
        quiet.c_lflag &= ~static_cast<tcflag_t>(ECHO);
        tcsetattr(STDIN_FILENO, TCSANOW, &quiet);
    }
    std::string line;
    const bool got = static_cast<bool>(std::getline(std::cin, line));
    if (haveTerminal) {
        tcsetattr(STDIN_FILENO, TCSANOW, &saved);
    }
    std::cerr << "\n";
    if (!got) {
        return std::nullopt;
    }
    return line;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    lanterna::cli::CliContext context{std::cin,         std::cout,  std::cerr,
                                      &ReadEnvironment, &AskHidden, isatty(STDERR_FILENO) != 0,
                                      &AskLine};
    return lanterna::cli::RunLanternactl(context, args);
}
