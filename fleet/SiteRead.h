#pragma once
// Reading the projectors of a site to find them by hardware address: each target read (all its
// settings, or only as far as its identity) together with the hardware addresses of both its
// interfaces, since a projector may be known by either (a backup or a provisioning list kept
// from its wired days). Hello answers carry no hardware address, so nothing cheaper tells who
// is where.

#include <chrono>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "fleet/FleetNetwork.h"
#include "fleet/Outcome.h"
#include "fleet/PasswordSource.h"
#include "fleet/RunControl.h"
#include "fleet/TargetRoad.h"
#include "fleet/Targets.h"
#include "record/ProjectorRecord.h"

namespace lanterna::fleet {

// A hardware address written with or without separators (02:00:0A:4E:01:01, 02-00-0a-4e-01-01,
// 02000A4E0101) as its 12 upper-case hexadecimal digits; none for anything else.
std::optional<std::string> NormalHardwareAddress(std::string_view text);

struct SiteReading {
    Target target;                 // as worked on: its module type and name learned
    bool helloUnanswered = false;  // worked on as module type 0
    // kRead, kNotStarted, or the outcome of `failure`.
    Outcome outcome = Outcome::kNotStarted;
    RoadFailure failure;
    std::optional<ProjectorRecord> record;  // as read (the identity only, unless all settings)
    bool passwordSet = false;               // the projector asks for a password
    // The hardware addresses of the wired and the wireless interface (12 upper-case hexadecimal
    // digits); empty where the projector did not tell.
    std::string wiredMac;
    std::string wirelessMac;
    std::chrono::system_clock::time_point readAt{};

    // Whether either interface has `mac` (12 hexadecimal digits, any letter case).
    bool HasMac(std::string_view mac) const;
};

// Reads every target, in their order, one result each: the module types are learned with one
// hello sweep first (targets whose type is given are not asked), then each target is opened
// and read as `read` does (`allSettings`, else only up to its identity), and the hardware address
// of its other interface is asked over the same link.
std::vector<SiteReading> ReadSite(const FleetNetwork& network, IPasswordSource& passwords,
                                  std::vector<Target> targets, bool allSettings,
                                  const RunControl& control);

// ReadSite into `readings`, whose targets are given: each reading is complete once `control`
// tells that its target has finished, so a front end may word it then.
void ReadSiteInto(const FleetNetwork& network, IPasswordSource& passwords,
                  std::vector<SiteReading>& readings, bool allSettings, const RunControl& control);

// The readings that were read, by index, whose projector has `mac` on either interface.
std::vector<std::size_t> ReadingsWithMac(const std::vector<SiteReading>& readings,
                                         std::string_view mac);

}  // namespace lanterna::fleet
