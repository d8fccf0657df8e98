#include "dialogs/HealthWording.h"

#include <vector>

#include "dialogs/FleetWording.h"
#include "fleet/HealthBook.h"
#include "platform/DisplayText.h"
#include "resources/StringIds.h"

namespace lanterna::dialogs {
namespace {

std::string HealthPartWords(std::size_t part, int level) {
    const std::string name = Words(kStringPartFirst + static_cast<int>(part));
    return Words(level >= 2 ? kStringPartError : kStringPartWarning, {name});
}

// The parts at `minimum` level or above, joined by ", ".
std::string HealthPartsAt(const pjlink::ErrorLevels& levels, int minimum) {
    std::string text;
    for (std::size_t part = 0; part < levels.size(); ++part) {
        if (levels[part] >= minimum) {
            text += (text.empty() ? "" : ", ") + HealthPartWords(part, levels[part]);
        }
    }
    return text;
}

std::string HealthLine(int labelId, const std::string& value) {
    return Words(kStringLabelled, {Words(labelId), value});
}

}  // namespace

std::string PowerWords(const pjlink::Health& health) {
    if (!health.power) {
        return Words(kStringNotReported);
    }
    switch (*health.power) {
        case pjlink::Power::kOn:
            return Words(kStringPowerOn);
        case pjlink::Power::kOff:
            return Words(kStringPowerOff);
        case pjlink::Power::kCooling:
            return Words(kStringPowerCooling);
        case pjlink::Power::kWarming:
            return Words(kStringPowerWarming);
    }
    return Words(kStringNotReported);
}

std::string LampHoursWords(const pjlink::Health& health) {
    if (const std::optional<int> hours = pjlink::MostLampHours(health)) {
        return std::to_string(*hours);
    }
    return Words(health.noLamp ? kStringNoLamp : kStringNotReported);
}

std::string ErrorWords(const pjlink::Health& health) {
    if (!health.errors) {
        return Words(kStringNotReported);
    }
    const std::string parts = HealthPartsAt(*health.errors, 1);
    return parts.empty() ? Words(kStringNoErrors) : parts;
}

std::string ModelWords(const pjlink::Health& health) {
    std::string model = health.maker.value_or("");
    if (health.product) {
        model += (model.empty() ? "" : " ") + *health.product;
    }
    return model.empty() ? Words(kStringNotReported) : model;
}

std::string HealthOutcomeWords(const pjlink::HealthRead& read) {
    if (read.error == pjlink::LinkError::kNone) {
        return Words(kStringHealthRead);
    }
    return Words(kStringLinkErrorFirst + static_cast<int>(read.error) -
                 static_cast<int>(pjlink::LinkError::kBusy));
}

bool WantsPjlinkPassword(pjlink::LinkError error) {
    return error == pjlink::LinkError::kPasswordNeeded ||
           error == pjlink::LinkError::kPasswordRefused;
}

std::string PowerOutcomeWords(const pjlink::PowerOutcome& outcome, bool on) {
    switch (outcome.result) {
        case pjlink::PowerResult::kDone:
            return Words(on ? kStringSwitchedOn : kStringSwitchedOff);
        case pjlink::PowerResult::kRefused:
            return Words(kStringOutcomeRefused);
        case pjlink::PowerResult::kUnavailable:
            return Words(kStringPowerNotNow);
        case pjlink::PowerResult::kFailure:
            return Words(kStringOutcomeFailed);
        case pjlink::PowerResult::kLinkFailed:
            break;
    }
    pjlink::HealthRead failed;
    failed.error = outcome.error;
    return HealthOutcomeWords(failed);
}

std::string HealthDetailWords(const pjlink::HealthRead& read, int lampHoursLimit) {
    if (read.error != pjlink::LinkError::kNone) {
        return HealthLine(kStringHealthTitle, HealthOutcomeWords(read));
    }
    const pjlink::Health& health = read.health;
    std::string lamp = LampHoursWords(health);
    if (const std::optional<int> hours = pjlink::MostLampHours(health);
        hours && *hours >= lampHoursLimit) {
        lamp =
            Words(kStringLampAtThreshold, {std::to_string(*hours), std::to_string(lampHoursLimit)});
    }
    return HealthLine(kStringColumnPower, PowerWords(health)) + "\n" +
           HealthLine(kStringColumnLampHours, lamp) + "\n" +
           HealthLine(kStringColumnErrors, ErrorWords(health)) + "\n" +
           HealthLine(kStringColumnModel, IsolatedForDisplay(ModelWords(health)));
}

std::string AttentionWords(const pjlink::HealthRead& read, int lampHoursLimit) {
    if (!fleet::NeedsAttention(read, lampHoursLimit)) {
        return {};
    }
    const pjlink::Health& health = read.health;
    std::string what = health.errors ? HealthPartsAt(*health.errors, 2) : std::string();
    if (const std::optional<int> hours = pjlink::MostLampHours(health);
        hours && *hours >= lampHoursLimit) {
        what +=
            (what.empty() ? "" : ", ") +
            Words(kStringLampAtThreshold, {std::to_string(*hours), std::to_string(lampHoursLimit)});
    }
    return Words(kStringNeedsAttention, {what});
}

}  // namespace lanterna::dialogs
