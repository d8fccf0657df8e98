#pragma once
// The command line of lanterna-projector-sim.

#include <chrono>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "tools/projector-sim/SimulatorConfig.h"

namespace lanterna::sim {

inline constexpr int kMaxProjectorCount = 1000;

struct SimulatorOptions {
    SimulatorConfig config;  // of the first projector
    int count = 1;           // projectors on consecutive addresses from config.address
    std::optional<std::chrono::seconds> lifetime;
    bool help = false;
    bool version = false;
};

struct OptionsResult {
    std::optional<SimulatorOptions> options;  // none on error
    std::string error;
};

// Parses the arguments after the program name. Options take their value as the next
// argument or after '=' ("--name X" or "--name=X").
OptionsResult ParseSimulatorOptions(std::span<const std::string_view> args);

std::string UsageText();

// One configuration per projector: consecutive addresses, the name with "-1", "-2", ...
// appended when there are several, a given hardware address counted up by one per projector,
// and the log lines prefixed with the projector's address when there are several.
std::vector<SimulatorConfig> ExpandProjectors(const SimulatorOptions& options);

}  // namespace lanterna::sim
