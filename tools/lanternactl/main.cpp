#include <termios.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <csignal>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "keyring/SecretServiceStore.h"
#include "platform/ProcessEnvironment.h"
#include "tools/lanternactl/CliContext.h"

namespace {

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

// The terminal's settings from before echo was turned off, for the signal handler.
termios savedTerminal{};
termios quietTerminal{};

// The signals that end or stop the program at a prompt (Ctrl-C, Ctrl-\, Ctrl-Z, a closed
// terminal, kill): each puts the echo back first.
constexpr std::array<int, 5> kPromptSignals = {SIGINT, SIGQUIT, SIGTERM, SIGHUP, SIGTSTP};

extern "C" void RestoreEchoThenActOn(int signal);

void HandleAtPrompt(int signal) {
    struct sigaction action {};
    action.sa_handler = &RestoreEchoThenActOn;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(signal, &action, nullptr);
}

// Only async-signal-safe calls: the echo is put back, then the signal takes its usual course.
// A stop (Ctrl-Z) returns here when the program continues; the prompt is quiet again.
extern "C" void RestoreEchoThenActOn(int signal) {
    const int savedErrno = errno;
    tcsetattr(STDIN_FILENO, TCSANOW, &savedTerminal);
    ::signal(signal, SIG_DFL);
    sigset_t only;
    sigemptyset(&only);
    sigaddset(&only, signal);
    sigprocmask(SIG_UNBLOCK, &only, nullptr);
    raise(signal);
    tcsetattr(STDIN_FILENO, TCSANOW, &quietTerminal);
    HandleAtPrompt(signal);
    errno = savedErrno;
}

// Echo off while it lives; the echo comes back when it ends, and before a signal ends or stops
// the program.
class CEchoOff {
  public:
    CEchoOff() {
        if (tcgetattr(STDIN_FILENO, &savedTerminal) != 0) {
            return;
        }
        active = true;
        quietTerminal = savedTerminal;
        quietTerminal.c_lflag &= ~static_cast<tcflag_t>(ECHO);
        for (std::size_t i = 0; i < kPromptSignals.size(); ++i) {
            sigaction(kPromptSignals[i], nullptr, &previous[i]);
            HandleAtPrompt(kPromptSignals[i]);
        }
        tcsetattr(STDIN_FILENO, TCSANOW, &quietTerminal);
    }
    CEchoOff(const CEchoOff&) = delete;
    CEchoOff& operator=(const CEchoOff&) = delete;
    ~CEchoOff() {
        if (!active) {
            return;
        }
        tcsetattr(STDIN_FILENO, TCSANOW, &savedTerminal);
        for (std::size_t i = 0; i < kPromptSignals.size(); ++i) {
            sigaction(kPromptSignals[i], &previous[i], nullptr);
        }
    }

  private:
    bool active = false;
    std::array<struct sigaction, kPromptSignals.size()> previous{};
};

// Reads one line from the controlling terminal with echo off.
std::optional<std::string> AskHidden(std::string_view prompt) {
    if (isatty(STDIN_FILENO) == 0) {
        return std::nullopt;
    }
    std::cerr << prompt << std::flush;
    std::string line;
    bool got = false;
    {
        const CEchoOff quiet;
        got = static_cast<bool>(std::getline(std::cin, line));
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
    lanterna::cli::CliContext context{std::cin,   std::cout,
                                      std::cerr,  &lanterna::ProcessEnvironment,
                                      &AskHidden, isatty(STDERR_FILENO) != 0,
                                      &AskLine};
    context.openKeyring = [] { return lanterna::keyring::OpenSecretServiceStore(); };
    return lanterna::cli::RunLanternactl(context, args);
}
