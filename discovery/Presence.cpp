#include "discovery/Presence.h"

#include <algorithm>
#include <array>
#include <set>

#include "discovery/HelloSweep.h"

namespace lanterna {

std::vector<bool> RunPresenceRound(std::span<const std::string> addresses,
                                   const HelloTarget& target, std::uint32_t limitMs) {
    const std::span<const std::string> greeted =
        addresses.first(std::min(addresses.size(), kPresenceRoundAddresses));
    HelloSweepOptions options;
    options.port = target.port;
    options.localPort = target.localPort;
    options.quietMs = 0;  // a silent projector must not end the wait for the others
    options.limitMs = limitMs;
    options.resendMs = std::min(kPresenceResendMs, limitMs);
    std::vector<HelloAnswer> answers;
    if (CHelloSweep(options).Run(greeted, answers) != 1) {
        return {};
    }
    std::vector<bool> answered(addresses.size(), true);
    for (std::size_t i = 0; i < answers.size(); ++i) {
        answered[i] = answers[i].has_value() || greeted[i].empty();
    }
    return answered;
}

void CPresenceBook::Record(std::span<const std::string> addresses,
                           const std::vector<bool>& answered, std::time_t now) {
    const std::set<std::string_view> listed(addresses.begin(), addresses.end());
    std::erase_if(silentSince_, [&](const auto& entry) { return !listed.contains(entry.first); });
    for (std::size_t i = 0; i < addresses.size() && i < answered.size(); ++i) {
        if (answered[i]) {
            silentSince_.erase(addresses[i]);
        } else {
            silentSince_.try_emplace(addresses[i], now);
        }
    }
}

void CPresenceBook::MarkSilent(std::string_view address, std::time_t now) {
    silentSince_.try_emplace(std::string(address), now);
}

std::optional<std::time_t> CPresenceBook::SilentSince(std::string_view address) const {
    const auto found = silentSince_.find(address);
    if (found == silentSince_.end()) {
        return std::nullopt;
    }
    return found->second;
}

std::string ClockText(std::time_t when) {
    std::tm local{};
    localtime_r(&when, &local);
    std::array<char, 8> text{};
    const std::size_t length = std::strftime(text.data(), text.size(), "%H:%M", &local);
    return std::string(text.data(), length);
}

}  // namespace lanterna
