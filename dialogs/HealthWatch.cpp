#include "dialogs/HealthWatch.h"

#include <utility>

namespace lanterna::dialogs {

CHealthWatch::CHealthWatch(Round round, Listed listed, Outcome outcome, QObject* parent)
    : QObject(parent),
      round_(std::move(round)),
      listed_(std::move(listed)),
      outcome_(std::move(outcome)),
      rounds_([this] { return RoundOfListed(); }, this) {}

CBackgroundRounds::Work CHealthWatch::RoundOfListed() {
    std::vector<std::string> addresses = listed_ ? listed_() : std::vector<std::string>{};
    if (addresses.empty() || !round_) {
        return {};
    }
    return [this, addresses = std::move(addresses)](const std::atomic<bool>& cancel) {
        return CBackgroundRounds::Delivery(
            [this, readings = round_(addresses, cancel)] {
                if (outcome_) {
                    outcome_(readings);
                }
            });
    };
}

}  // namespace lanterna::dialogs
