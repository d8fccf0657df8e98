// lanterna-projector-sim: runs simulated projectors until a signal or the lifetime ends.

#include <sys/resource.h>

#include <csignal>
#include <ctime>
#include <iostream>
#include <memory>
#include <string_view>
#include <vector>

#include "tools/projector-sim/SimulatedProjector.h"
#include "tools/projector-sim/SimulatorOptions.h"

namespace {

using lanterna::sim::SimulatedProjector;
using lanterna::sim::SimulatorOptions;

constexpr int kExitBindFailed = 1;
constexpr int kExitUsage = 2;

// Each projector holds up to six descriptors plus one per connection; hundreds of projectors
// need more than the usual soft limit.
void RaiseDescriptorLimit() {
    rlimit limit{};
    if (::getrlimit(RLIMIT_NOFILE, &limit) == 0 && limit.rlim_cur < limit.rlim_max) {
        limit.rlim_cur = limit.rlim_max;
        ::setrlimit(RLIMIT_NOFILE, &limit);
    }
}

// Blocks SIGINT and SIGTERM in every thread (the projectors' threads inherit the mask), so
// that only the wait below receives them.
sigset_t BlockStopSignals() {
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);
    std::signal(SIGPIPE, SIG_IGN);
    return signals;
}

void WaitForEnd(const sigset_t& signals, const SimulatorOptions& options) {
    if (!options.lifetime) {
        int received = 0;
        while (sigwait(&signals, &received) != 0) {
        }
        return;
    }
    timespec deadline{};
    clock_gettime(CLOCK_MONOTONIC, &deadline);
    deadline.tv_sec += options.lifetime->count();
    while (true) {
        timespec now{};
        clock_gettime(CLOCK_MONOTONIC, &now);
        long long remainingNs =
            (deadline.tv_sec - now.tv_sec) * 1000000000LL + (deadline.tv_nsec - now.tv_nsec);
        if (remainingNs <= 0) {
            return;
        }
        const timespec wait{static_cast<time_t>(remainingNs / 1000000000LL),
                            static_cast<long>(remainingNs % 1000000000LL)};
        if (sigtimedwait(&signals, nullptr, &wait) > 0) {
            return;
        }
    }
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string_view> args(argv + 1, argv + argc);
    const auto parsed = lanterna::sim::ParseSimulatorOptions(args);
    if (!parsed.options) {
        std::cerr << "lanterna-projector-sim: " << parsed.error << "\n\n"
                  << lanterna::sim::UsageText();
        return kExitUsage;
    }
    const SimulatorOptions& options = *parsed.options;
    if (options.help) {
        std::cout << lanterna::sim::UsageText();
        return 0;
    }
    if (options.version) {
        std::cout << "lanterna-projector-sim " << LANTERNA_VERSION << "\n";
        return 0;
    }

    RaiseDescriptorLimit();
    const sigset_t signals = BlockStopSignals();

    std::vector<std::unique_ptr<SimulatedProjector>> projectors;
    for (auto& config : lanterna::sim::ExpandProjectors(options)) {
        auto projector = std::make_unique<SimulatedProjector>(std::move(config));
        std::string reason;
        if (!projector->Start(&reason)) {
            std::cerr << "lanterna-projector-sim: cannot listen on " << projector->Address() << ": "
                      << reason << "\n";
            return kExitBindFailed;  // the started ones stop as the vector is destroyed
        }
        projectors.push_back(std::move(projector));
    }
    for (const auto& projector : projectors) {
        std::cout << "listening on " << projector->Address() << ":" << projector->TcpPort() << "\n";
        if (projector->Pjlink() != nullptr) {
            std::cout << "PJLink on " << projector->Address() << ":" << projector->Pjlink()->Port()
                      << "\n";
        }
    }
    std::cout.flush();

    WaitForEnd(signals, options);
    for (auto& projector : projectors) {
        projector->Stop();
    }
    return 0;
}
