#include "dialogs/PresenceWatch.h"

#include <utility>

namespace lanterna::dialogs {

CPresenceWatch::CPresenceWatch(Round round, Listed listed, Outcome outcome, QObject* parent)
    : QObject(parent),
      round_(std::move(round)),
      listed_(std::move(listed)),
      outcome_(std::move(outcome)),
      rounds_([this] { return RoundOfListed(); }, this) {}

CBackgroundRounds::Work CPresenceWatch::RoundOfListed() {
    GreetedList list = listed_ ? listed_() : GreetedList{};
    if (list.addresses.empty() || !round_) {
        return {};
    }
    return [this, list = std::move(list)](const std::atomic<bool>&) {
        return CBackgroundRounds::Delivery(
            [this, addresses = list.addresses, answered = round_(list.addresses, list.ways)] {
                if (outcome_ && !answered.empty()) {
                    outcome_(addresses, answered);
                }
            });
    };
}

}  // namespace lanterna::dialogs
