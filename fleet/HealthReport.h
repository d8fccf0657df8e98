#pragma once
// The health of projectors over PJLink as the window and lanternactl both show it: reading many
// at once, switching their power, one status row each, and the audit's findings about it.

#include <atomic>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "fleet/AuditFindings.h"
#include "fleet/FleetNetwork.h"
#include "fleet/JobRunner.h"
#include "pjlink/Reading.h"

namespace lanterna::fleet {

// PJLink reports no rated lamp life: lamps are flagged from this many hours on unless told
// otherwise, a common rating of projector lamps in their normal mode.
inline constexpr int kDefaultLampHours = 3000;

// The PJLink password of an address (none: the projector is asked without one). Called from
// many threads at once.
using PjlinkPasswordOf = std::function<std::optional<std::string>(const std::string& address)>;

struct HealthOfTarget {
    std::string address;
    pjlink::HealthRead read;
    bool routed = true;  // false: the network's route sends nothing there
};

// Reads the health of every result's address into it, within `bounds`; `finished(i, done)`
// follows each on the calling thread (fleet/JobRunner.h). A result never started keeps its
// reading as it was.
RunSummary ReadHealthInto(std::vector<HealthOfTarget>& results, const FleetNetwork& network,
                          const PjlinkPasswordOf& passwordOf, const RunBounds& bounds,
                          const std::function<void(std::size_t, std::size_t)>& finished = nullptr);

// Reads every address's health, at most `jobs` at once, in the order given; an address that
// a cancellation kept from starting reads as cancelled.
std::vector<HealthOfTarget> ReadHealthOf(const std::vector<std::string>& addresses,
                                         const FleetNetwork& network,
                                         const PjlinkPasswordOf& passwordOf, int jobs,
                                         const std::atomic<bool>* cancel = nullptr);

struct PowerOfTarget {
    std::string address;
    pjlink::PowerOutcome outcome;
};

// POWR 1 (on) or 0 (off) to every result's address, within `bounds`; `finished(i, done)`
// follows each on the calling thread. A result never started keeps its outcome as it was.
RunSummary SetPowerInto(std::vector<PowerOfTarget>& results, const FleetNetwork& network,
                        const PjlinkPasswordOf& passwordOf, bool on, const RunBounds& bounds,
                        const std::function<void(std::size_t, std::size_t)>& finished = nullptr);

// POWR 1 (on) or 0 (off) to every address, at most `jobs` at once.
std::vector<PowerOfTarget> SetPowerOf(const std::vector<std::string>& addresses,
                                      const FleetNetwork& network,
                                      const PjlinkPasswordOf& passwordOf, bool on, int jobs);

// "on", "off", "cooling", "warming": the same in every language.
std::string_view PowerKey(pjlink::Power power);
// "lamp", "fan", ...: the parts of the error status.
std::string_view ErrorPartKey(pjlink::ErrorPart part);
// "lamp=error filter=warning", "none" when every part is fine, "" when not reported.
std::string ErrorsText(const pjlink::Health& health);
// "done", "refused", "unavailable", "failed", or the link error's key.
std::string_view PowerOutcomeKey(const pjlink::PowerOutcome& outcome);

// The columns of a status row, by key: the same in every language.
std::span<const std::string_view> StatusColumns();
// One row: "" for what the projector did not report; status "read" or the link error's key.
std::vector<std::string> StatusRow(const HealthOfTarget& target);

struct HealthFinding {
    const FindingKind* kind = nullptr;
    std::string value;
};

// The kinds of health findings, in the order of the audit's help.
std::span<const FindingKind* const> HealthFindingKinds();
// The string id of a health kind's short name; 0 for another kind.
int HealthFindingTitleId(const FindingKind& kind);

// An error reported (critical for the lamp, temperature and fan, a warning for the others and
// for every part's warning), a lamp at or over `lampHoursLimit` hours, a projector that answers
// PJLink without a password. Nothing for a projector that did not answer.
std::vector<HealthFinding> HealthFindings(const pjlink::HealthRead& read, int lampHoursLimit);

}  // namespace lanterna::fleet
