#pragma once
// What the watcher knows of each projector and of itself between rounds: the metrics are made
// from it and the alerts are found in its changes. Health (power, lamp, errors) is filled in by
// a health probe where one is given; without one those stay unknown.

#include <array>
#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "fleet/Targets.h"

namespace lanterna::watch {

using Clock = std::chrono::system_clock;

// What a health probe tells of a projector.
struct HealthReading {
    std::optional<int> power;          // 0 off, 1 on, 2 cooling, 3 warming up
    std::optional<std::uint32_t> lampHours;
    std::optional<std::uint32_t> errorFlags;  // bits per part the projector reports in error

    friend bool operator==(const HealthReading&, const HealthReading&) = default;
};

// Where the health of a projector will come from: a probe asks one projector, bounded in time.
// Threads: Probe may be called from many threads at once.
class IHealthProbe {
  public:
    virtual ~IHealthProbe() = default;
    virtual std::optional<HealthReading> Probe(const fleet::Target& target) = 0;
};

struct ProjectorWatch {
    fleet::Target target;
    std::string name;  // as last read or greeted
    std::string mac;   // 12 hexadecimal digits, once read
    bool answered = false;
    bool everAnswered = false;
    Clock::time_point silentSince{};  // when it first did not answer, while it does not
    bool downTold = false;            // its silence was told in an alert
    std::optional<Clock::time_point> lastRead;
    std::size_t drift = 0;  // settings changed at the last backup
    // Settings that differ from the template at the last backup (none: no template), and the
    // differences last told in an alert, so that the same drift is told once.
    std::optional<std::size_t> templateDrift;
    std::string templateDriftTold;
    std::array<std::size_t, 3> findings{};  // by severity: notice, warning, critical
    HealthReading health;  // of the last health round; empty when it gave none
    std::uint32_t errorsKnown = 0;  // the error flags last read, against which new ones are told
    std::optional<bool> healthAnswered;  // the last health round's PJLink reading succeeded
    bool lampTold = false;
};

enum class RoundKind { kPresence, kHealth, kBackup };
inline constexpr std::size_t kRoundKinds = 3;

// "presence", "health", "backup".
std::string_view RoundName(RoundKind kind);

struct RoundCounters {
    std::uint64_t rounds = 0;
    std::uint64_t failures = 0;  // projectors that failed in rounds of this kind
    double lastSeconds = 0;
};

struct WatchStateAll {
    std::vector<ProjectorWatch> projectors;
    std::array<RoundCounters, kRoundKinds> rounds{};
    std::uint64_t mailsSent = 0;
    std::uint64_t mailsFailed = 0;
    std::uint64_t commits = 0;
};

}  // namespace lanterna::watch
