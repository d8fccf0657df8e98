#pragma once
// What the window knows of each listed projector's health over PJLink: the last reading of
// every address, kept beside the projector records (which hold the network module's settings
// only) and brought up to date by each background round. A round that was cancelled, or that
// found the projector's PJLink link held by another, says nothing new: the reading before it
// stays.
//
// Not thread-safe: one owner (the window's user-interface thread).

#include <cstddef>
#include <string>
#include <unordered_map>
#include <vector>

#include "fleet/HealthReport.h"

namespace lanterna::fleet {

class CHealthBook {
  public:
    // Keeps the readings of `readings`, except those that say nothing new. Returns how many
    // were kept.
    std::size_t Record(const std::vector<HealthOfTarget>& readings);
    // The last reading of `address`; null when none has been kept.
    const pjlink::HealthRead* Find(const std::string& address) const;
    std::size_t Size() const { return readings_.size(); }

  private:
    std::unordered_map<std::string, pjlink::HealthRead> readings_;
};

// Whether a reading asks for attention: a part reports an error (not a warning), or a lamp has
// reached `lampHoursLimit` hours.
bool NeedsAttention(const pjlink::HealthRead& read, int lampHoursLimit);

}  // namespace lanterna::fleet
