// The hidden password prompt on a real terminal (a pseudo-terminal of the test): however the
// program ends or stops at the prompt, the terminal gets its echo back.

#include <gtest/gtest.h>
#include <poll.h>
#include <pty.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <string>
#include <thread>

namespace lanterna::test {
namespace {

using namespace std::chrono_literals;

bool EchoOn(int terminal) {
    termios modes{};
    return tcgetattr(terminal, &modes) == 0 && (modes.c_lflag & ECHO) != 0;
}

// Reads the terminal until `text` has appeared or `limit` passed.
bool AwaitOutput(int terminal, const std::string& text, std::chrono::milliseconds limit) {
    std::string seen;
    const auto end = std::chrono::steady_clock::now() + limit;
    while (seen.find(text) == std::string::npos && std::chrono::steady_clock::now() < end) {
        pollfd readable{terminal, POLLIN, 0};
        if (poll(&readable, 1, 50) == 1) {
            char buffer[256];
            const ssize_t got = read(terminal, buffer, sizeof buffer);
            if (got <= 0) {
                break;
            }
            seen.append(buffer, static_cast<std::size_t>(got));
        }
    }
    return seen.find(text) != std::string::npos;
}

// lanternactl passwd of two projectors at its first prompt, the new password's, on a terminal of
// its own (nothing is sent before it is in); returns the child and the terminal's controlling
// side.
pid_t StartAtPrompt(int& terminal) {
    const pid_t child = forkpty(&terminal, nullptr, nullptr, nullptr);
    if (child == 0) {
        unsetenv("LANTERNA_PASSWORD");
        unsetenv("LANTERNA_NEW_PASSWORD");
        execl(LANTERNACTL, LANTERNACTL, "passwd", "127.0.0.1", "127.0.0.2",
              static_cast<char*>(nullptr));
        _exit(127);
    }
    return child;
}

TEST(HiddenPrompt, EveryWayOutGivesTheEchoBack) {
    const struct {
        const char* how;
        int signal;  // sent to the program; 0: typed on the terminal instead
        const char* typed;
        int endsBy;  // the signal that ends it
    } cases[] = {
        {"Ctrl-C", 0, "\x03", SIGINT},
        {"kill", SIGTERM, "", SIGTERM},
    };
    for (const auto& c : cases) {
        int terminal = -1;
        const pid_t child = StartAtPrompt(terminal);
        ASSERT_GT(child, 0);
        ASSERT_TRUE(AwaitOutput(terminal, "New password: ", 10s)) << c.how;
        // The prompt is written before the echo goes off: wait (up to ten seconds) until it has.
        for (int i = 0; i < 2000 && EchoOn(terminal); ++i) {
            std::this_thread::sleep_for(5ms);
        }
        EXPECT_FALSE(EchoOn(terminal)) << c.how << ": the prompt hides what is typed";
        if (c.signal != 0) {
            kill(child, c.signal);
        } else {
            ASSERT_EQ(write(terminal, c.typed, 1), 1);
        }
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == c.endsBy) << c.how;
        EXPECT_TRUE(EchoOn(terminal)) << c.how << " left the terminal without echo";
        close(terminal);
    }
}

}  // namespace
}  // namespace lanterna::test
