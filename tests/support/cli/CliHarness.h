#pragma once
// Runs lanternactl in-process with its streams pointed at strings and a fake environment.

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "tests/support/port/ProcessPort.h"
#include "tools/lanternactl/CliContext.h"

namespace lanterna::test {

struct CliRun {
    int status = 0;
    std::string out;
    std::string err;
};

struct CliSetup {
    std::map<std::string, std::string> environment;
    // Where traffic for an address other than a loopback one goes (a loopback address of the
    // test); an address not listed gets nothing, so no test ever sends beyond loopback.
    std::map<std::string, std::string> routes;
    // The searches of discover and --all (default: a loopback address where nothing answers).
    std::optional<SearchTargets> search;
    std::string input;                       // standard input
    std::vector<std::string> hiddenAnswers;  // answers to terminal prompts, in order
    std::vector<std::string> lineAnswers;    // answers to visible questions (none: no terminal)
    bool errIsTerminal = false;              // standard error shows the progress bar
    // The keyring of --keyring (none: no keyring).
    std::function<std::unique_ptr<fleet::ICredentialStore>()> openKeyring;
};

// The command's traffic kept on loopback: links and hellos to the test process's own projector
// port (ProcessProjectorPort), hellos from any free local port, loopback addresses reached as
// they are, others only through `setup.routes`.
inline cli::CliNetwork TestNetwork(const CliSetup& setup) {
    cli::CliNetwork network;
    network.projectorPort = ProcessProjectorPort();
    network.helloPort = ProcessProjectorPort();
    network.helloLocalPort = 0;
    network.search = setup.search.value_or(
        SearchTargets{.hello = {.address = "127.0.0.1", .port = 9, .localPort = 0},
                      .secondary = {.address = "127.0.0.1", .port = 9},
                      .pjlink = {.address = "127.0.0.1", .port = 9, .localPort = 0}});
    network.route = [routes = setup.routes](const std::string& address) {
        if (const auto found = routes.find(address); found != routes.end()) {
            return std::optional<std::string>(found->second);
        }
        if (address.starts_with("127.")) {
            return std::optional<std::string>(address);
        }
        return std::optional<std::string>();
    };
    return network;
}

inline CliRun RunCli(const std::vector<std::string>& args, const CliSetup& setup = {}) {
    std::istringstream in(setup.input);
    std::ostringstream out;
    std::ostringstream err;
    std::size_t nextAnswer = 0;
    std::size_t nextLine = 0;
    cli::CliContext context{in,
                            out,
                            err,
                            [&](std::string_view name) -> std::optional<std::string> {
                                const auto found = setup.environment.find(std::string(name));
                                if (found == setup.environment.end()) {
                                    return std::nullopt;
                                }
                                return found->second;
                            },
                            [&](std::string_view) -> std::optional<std::string> {
                                if (nextAnswer >= setup.hiddenAnswers.size()) {
                                    return std::nullopt;
                                }
                                return setup.hiddenAnswers[nextAnswer++];
                            },
                            setup.errIsTerminal,
                            [&](std::string_view) -> std::optional<std::string> {
                                if (nextLine >= setup.lineAnswers.size()) {
                                    return std::nullopt;
                                }
                                return setup.lineAnswers[nextLine++];
                            }};
    context.network = TestNetwork(setup);
    context.openKeyring = setup.openKeyring;
    CliRun run;
    run.status = cli::RunLanternactl(context, args);
    run.out = out.str();
    run.err = err.str();
    return run;
}

}  // namespace lanterna::test
