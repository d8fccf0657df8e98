#pragma once
// The network the fleet benchmarks run lanternactl in: `count` simulated projectors on the /16
// network `prefix` (PREFIX.1.1 onwards, 250 to a row), in a namespace of their own, beside a
// client namespace at PREFIX.0.1. Header-only: each benchmark is one file.

#include <chrono>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "tests/support/netns/ChildProcess.h"
#include "tests/support/netns/TestNetwork.h"

namespace lanterna::test {

struct SimulatedSite {
    explicit SimulatedSite(const std::string& tag) : network(tag) {}

    CTestNetwork network;
    CBackgroundProgram projectors;
    std::string targets;  // one address per line, as a targets file holds them
};

// The address of the `i`-th projector (from 1) on `prefix` ("10.80").
inline std::string SiteAddress(const std::string& prefix, int i) {
    return prefix + "." + std::to_string(1 + (i - 1) / 250) + "." +
           std::to_string(1 + (i - 1) % 250);
}

// The site with every projector listening; null, with the reason printed, where this machine
// cannot make one (no root) or the projectors did not start. `extra` options go to every
// projector (--pjlink).
inline std::unique_ptr<SimulatedSite> StartSimulatedSite(const std::string& tag,
                                                         const std::string& prefix, int count,
                                                         const char* simulator,
                                                         std::vector<std::string> extra = {}) {
    if (const std::string unavailable = CTestNetwork::Unavailable(); !unavailable.empty()) {
        std::printf("skipped: %s\n", unavailable.c_str());
        return nullptr;
    }
    CTestNetwork::RemoveStale();
    auto site = std::make_unique<SimulatedSite>(tag);
    std::vector<std::string> addresses;
    for (int i = 1; i <= count; ++i) {
        addresses.push_back(SiteAddress(prefix, i) + "/16");
        site->targets += SiteAddress(prefix, i) + "\n";
    }
    if (!site->network.Create() || !site->network.AddHost("client", {prefix + ".0.1/16"}) ||
        !site->network.AddHost("proj", addresses)) {
        std::printf("no test network: %s\n", site->network.Error().c_str());
        return nullptr;
    }
    using namespace std::chrono_literals;
    std::vector<std::string> args{simulator,  "--broadcast", "--lifetime",
                                  "300",      "--address",   SiteAddress(prefix, 1),
                                  "--count",  std::to_string(count)};
    args.insert(args.end(), extra.begin(), extra.end());
    if (!site->projectors.Start(site->network.Namespace("proj"), args) ||
        site->projectors.WaitForLines("listening on", count, 30s) != count) {
        std::printf("the simulated projectors did not start\n");
        return nullptr;
    }
    return site;
}

}  // namespace lanterna::test
