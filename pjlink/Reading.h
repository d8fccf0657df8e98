#pragma once
// Reading a projector's health over an open PJLink link, and switching its power: the only
// thing written over PJLink.

#include <optional>
#include <string>

#include "pjlink/Client.h"
#include "pjlink/Health.h"

namespace lanterna::pjlink {

struct HealthRead {
    LinkError error = LinkError::kNone;  // what ended the reading early, if anything
    bool passwordRequired = false;
    Health health;
};

// Connects to `address`, asks every class-1 query and, when the projector reports class 2,
// the class-2 ones (an input name for each of the first kMaxInputNames inputs). What a query
// did not give stays empty. The link is closed at the end.
HealthRead ReadHealth(const std::string& address, const std::optional<std::string>& password,
                      const ClientOptions& options = {});

// Connects to `address` and asks only power, error status and lamps: the vitals a watch reads
// every few minutes, three replies at most. The link is closed at the end.
HealthRead ReadVitals(const std::string& address, const std::optional<std::string>& password,
                      const ClientOptions& options = {});

enum class PowerResult {
    kDone,         // =OK
    kLinkFailed,   // see the link error
    kRefused,      // ERR2: out of range
    kUnavailable,  // ERR3: not now (warming up, cooling down)
    kFailure,      // ERR4, ERR1 or any other answer
};

struct PowerOutcome {
    PowerResult result = PowerResult::kLinkFailed;
    LinkError error = LinkError::kNone;
};

// POWR 1 (on) or POWR 0 (off) to the projector at `address`.
PowerOutcome SetPower(const std::string& address, const std::optional<std::string>& password,
                      bool on, const ClientOptions& options = {});

}  // namespace lanterna::pjlink
