#include "fleet/HealthReport.h"

#include <algorithm>
#include <array>

#include "fleet/JobRunner.h"
#include "resources/StringIds.h"

namespace lanterna::fleet {

namespace {

using pjlink::ErrorPart;
using pjlink::LinkError;

constexpr FindingKind kErrorReported{"pjlink-error", Severity::kCritical,
                                     kStringFindingPjlinkError, kStringDetailPjlinkParts};
constexpr FindingKind kWarningReported{"pjlink-warning", Severity::kWarning,
                                       kStringFindingPjlinkWarning, kStringDetailPjlinkParts};
constexpr FindingKind kLampHours{"lamp-hours", Severity::kWarning, kStringFindingLampHours,
                                 kStringDetailLampHours};
constexpr FindingKind kPjlinkOpen{"pjlink-no-password", Severity::kWarning,
                                  kStringFindingPjlinkOpen, kStringDetailPjlinkOpen};

constexpr std::array<const FindingKind*, 4> kHealthKinds = {&kErrorReported, &kWarningReported,
                                                      &kLampHours, &kPjlinkOpen};

constexpr std::array<std::string_view, 12> kStatusColumns = {
    "address", "name",  "power",  "input",  "errors",   "lampHours",
    "filterHours", "model", "serial", "class", "password", "status"};

// The projector itself is at fault with these; the rest ask for care.
bool IsCriticalPart(ErrorPart part) {
    return part == ErrorPart::kLamp || part == ErrorPart::kTemperature || part == ErrorPart::kFan;
}

pjlink::ClientOptions ClientOptionsOf(const FleetNetwork& network,
                                      const std::atomic<bool>* cancel) {
    pjlink::ClientOptions options;
    options.port = network.pjlinkPort;
    options.cancel = cancel;
    return options;
}

RunBounds BoundsOf(int jobs, const std::atomic<bool>* cancel) {
    RunBounds bounds;
    bounds.jobs = jobs;
    bounds.cancel = cancel;
    return bounds;
}

template <typename T>
std::string Known(const std::optional<T>& value, const std::function<std::string(const T&)>& text) {
    return value ? text(*value) : std::string();
}

// The parts at `level`, "lamp fan".
std::string PartsAt(const pjlink::ErrorLevels& levels, int level, bool critical) {
    std::string text;
    for (std::size_t i = 0; i < levels.size(); ++i) {
        const auto part = static_cast<ErrorPart>(i);
        if (levels[i] == level && (level == 1 || IsCriticalPart(part) == critical)) {
            text += (text.empty() ? "" : " ") + std::string(ErrorPartKey(part));
        }
    }
    return text;
}

}  // namespace

RunSummary ReadHealthInto(std::vector<HealthOfTarget>& results, const FleetNetwork& network,
                          const PjlinkPasswordOf& passwordOf, const RunBounds& bounds,
                          const std::function<void(std::size_t, std::size_t)>& finished) {
    const pjlink::ClientOptions options = ClientOptionsOf(network, bounds.cancel);
    return RunJobs(
        results.size(), bounds,
        [&](std::size_t i) {
            HealthOfTarget& target = results[i];
            const std::optional<std::string> destination = network.RouteOf(target.address);
            if (!destination) {
                target.routed = false;
                target.read = {};
                target.read.error = LinkError::kConnectFailed;
                return false;
            }
            target.read = pjlink::ReadHealth(*destination, passwordOf(target.address), options);
            return target.read.error == LinkError::kNone;
        },
        finished);
}

std::vector<HealthOfTarget> ReadHealthOf(const std::vector<std::string>& addresses,
                                         const FleetNetwork& network,
                                         const PjlinkPasswordOf& passwordOf, int jobs,
                                         const std::atomic<bool>* cancel) {
    std::vector<HealthOfTarget> results(addresses.size());
    for (std::size_t i = 0; i < addresses.size(); ++i) {
        results[i].address = addresses[i];
        results[i].read.error = LinkError::kCancelled;  // until it has been read
    }
    ReadHealthInto(results, network, passwordOf, BoundsOf(jobs, cancel));
    return results;
}

RunSummary SetPowerInto(std::vector<PowerOfTarget>& results, const FleetNetwork& network,
                        const PjlinkPasswordOf& passwordOf, bool on, const RunBounds& bounds,
                        const std::function<void(std::size_t, std::size_t)>& finished) {
    const pjlink::ClientOptions options = ClientOptionsOf(network, bounds.cancel);
    return RunJobs(
        results.size(), bounds,
        [&](std::size_t i) {
            PowerOfTarget& target = results[i];
            const std::optional<std::string> destination = network.RouteOf(target.address);
            if (!destination) {
                target.outcome = {pjlink::PowerResult::kLinkFailed, LinkError::kConnectFailed};
                return false;
            }
            target.outcome = pjlink::SetPower(*destination, passwordOf(target.address), on, options);
            return target.outcome.result == pjlink::PowerResult::kDone;
        },
        finished);
}

std::vector<PowerOfTarget> SetPowerOf(const std::vector<std::string>& addresses,
                                      const FleetNetwork& network,
                                      const PjlinkPasswordOf& passwordOf, bool on, int jobs) {
    std::vector<PowerOfTarget> results(addresses.size());
    for (std::size_t i = 0; i < addresses.size(); ++i) {
        results[i].address = addresses[i];
    }
    SetPowerInto(results, network, passwordOf, on, BoundsOf(jobs, nullptr));
    return results;
}

std::string_view PowerKey(pjlink::Power power) {
    constexpr std::array<std::string_view, 4> kKeys = {"off", "on", "cooling", "warming"};
    return kKeys[static_cast<std::size_t>(power)];
}

std::string_view ErrorPartKey(ErrorPart part) {
    constexpr std::array<std::string_view, pjlink::kErrorParts> kKeys = {
        "fan", "lamp", "temperature", "cover", "filter", "other"};
    return kKeys[static_cast<std::size_t>(part)];
}

std::string ErrorsText(const pjlink::Health& health) {
    if (!health.errors) {
        return {};
    }
    std::string text;
    for (std::size_t i = 0; i < health.errors->size(); ++i) {
        const int level = (*health.errors)[i];
        if (level != 0) {
            text += (text.empty() ? "" : " ") + std::string(ErrorPartKey(static_cast<ErrorPart>(i))) +
                    (level == 2 ? "=error" : "=warning");
        }
    }
    return text.empty() ? "none" : text;
}

std::string_view PowerOutcomeKey(const pjlink::PowerOutcome& outcome) {
    switch (outcome.result) {
        case pjlink::PowerResult::kDone:
            return "done";
        case pjlink::PowerResult::kRefused:
            return "refused";
        case pjlink::PowerResult::kUnavailable:
            return "unavailable";
        case pjlink::PowerResult::kFailure:
            return "failed";
        case pjlink::PowerResult::kLinkFailed:
            break;
    }
    return pjlink::LinkErrorKey(outcome.error);
}

std::span<const std::string_view> StatusColumns() {
    return kStatusColumns;
}

std::vector<std::string> StatusRow(const HealthOfTarget& target) {
    const pjlink::Health& h = target.read.health;
    const bool read = target.read.error == LinkError::kNone;
    std::string model = h.maker.value_or("");
    if (h.product) {
        model += (model.empty() ? "" : " ") + *h.product;
    }
    const std::optional<int> hours = pjlink::MostLampHours(h);
    return {target.address,
            h.name.value_or(""),
            Known<pjlink::Power>(h.power, [](const pjlink::Power& p) { return std::string(PowerKey(p)); }),
            h.input.value_or(""),
            ErrorsText(h),
            hours ? std::to_string(*hours) : (h.noLamp ? "no lamp" : ""),
            Known<int>(h.filterHours, [](const int& v) { return std::to_string(v); }),
            model,
            h.serial.value_or(""),
            Known<int>(h.pjlinkClass, [](const int& v) { return std::to_string(v); }),
            read || target.read.passwordRequired ? (target.read.passwordRequired ? "set" : "none")
                                                 : "",
            read ? "read" : std::string(pjlink::LinkErrorKey(target.read.error))};
}

std::span<const FindingKind* const> HealthFindingKinds() {
    return kHealthKinds;
}

int HealthFindingTitleId(const FindingKind& kind) {
    const auto found = std::find(kHealthKinds.begin(), kHealthKinds.end(), &kind);
    return found != kHealthKinds.end()
               ? kStringFindingTitlePjlinkFirst + static_cast<int>(found - kHealthKinds.begin())
               : 0;
}

std::vector<HealthFinding> HealthFindings(const pjlink::HealthRead& read, int lampHoursLimit) {
    std::vector<HealthFinding> findings;
    if (read.error != LinkError::kNone) {
        return findings;
    }
    const pjlink::Health& h = read.health;
    if (h.errors) {
        if (std::string parts = PartsAt(*h.errors, 2, true); !parts.empty()) {
            findings.push_back({&kErrorReported, std::move(parts)});
        }
        std::string warned = PartsAt(*h.errors, 2, false);
        const std::string levelOne = PartsAt(*h.errors, 1, false);
        warned += (warned.empty() || levelOne.empty() ? "" : " ") + levelOne;
        if (!warned.empty()) {
            findings.push_back({&kWarningReported, std::move(warned)});
        }
    }
    if (const std::optional<int> hours = pjlink::MostLampHours(h); hours && *hours >= lampHoursLimit) {
        findings.push_back({&kLampHours, std::to_string(*hours)});
    }
    if (!read.passwordRequired) {
        findings.push_back({&kPjlinkOpen, ""});
    }
    return findings;
}

}  // namespace lanterna::fleet
