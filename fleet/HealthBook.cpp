#include "fleet/HealthBook.h"

#include <algorithm>

namespace lanterna::fleet {

std::size_t CHealthBook::Record(const std::vector<HealthOfTarget>& readings) {
    std::size_t kept = 0;
    for (const HealthOfTarget& target : readings) {
        const pjlink::LinkError error = target.read.error;
        if (target.address.empty() || error == pjlink::LinkError::kCancelled ||
            error == pjlink::LinkError::kBusy) {
            continue;
        }
        readings_[target.address] = target.read;
        ++kept;
    }
    return kept;
}

const pjlink::HealthRead* CHealthBook::Find(const std::string& address) const {
    const auto found = readings_.find(address);
    return found != readings_.end() ? &found->second : nullptr;
}

bool NeedsAttention(const pjlink::HealthRead& read, int lampHoursLimit) {
    if (read.error != pjlink::LinkError::kNone) {
        return false;
    }
    const pjlink::Health& health = read.health;
    if (health.errors && std::any_of(health.errors->begin(), health.errors->end(),
                                     [](std::uint8_t level) { return level >= 2; })) {
        return true;
    }
    const std::optional<int> hours = pjlink::MostLampHours(health);
    return hours && *hours >= lampHoursLimit;
}

}  // namespace lanterna::fleet
