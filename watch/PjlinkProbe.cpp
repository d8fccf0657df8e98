#include "watch/PjlinkProbe.h"

#include "pjlink/Reading.h"

namespace lanterna::watch {

std::uint32_t ErrorFlagsOf(const pjlink::ErrorLevels& levels) {
    std::uint32_t flags = 0;
    for (std::size_t part = 0; part < levels.size(); ++part) {
        if (levels[part] >= 1) {
            flags |= 1u << (2 * part);
        }
        if (levels[part] >= 2) {
            flags |= 2u << (2 * part);
        }
    }
    return flags;
}

HealthReading HealthReadingOf(const pjlink::Health& health) {
    HealthReading reading;
    if (health.power) {
        reading.power = static_cast<int>(*health.power);
    }
    if (const std::optional<int> hours = pjlink::MostLampHours(health)) {
        reading.lampHours = static_cast<std::uint32_t>(*hours);
    }
    if (health.errors) {
        reading.errorFlags = ErrorFlagsOf(*health.errors);
    }
    return reading;
}

CPjlinkProbe::CPjlinkProbe(fleet::FleetNetwork network,
                           std::shared_ptr<const CWatchPasswords> passwords,
                           const std::atomic<bool>* stop)
    : network_(std::move(network)), passwords_(std::move(passwords)), stop_(stop) {}

std::optional<HealthReading> CPjlinkProbe::Probe(const fleet::Target& target) {
    const std::optional<std::string> destination = network_.RouteOf(target.address);
    if (!destination) {
        return std::nullopt;
    }
    pjlink::ClientOptions options;
    options.port = network_.pjlinkPort;
    options.connectTimeoutMs = kProbeConnectMs;
    options.replyTimeoutMs = kProbeReplyMs;
    options.busyTimeoutMs = kProbeReplyMs;
    options.cancel = stop_;
    const std::optional<std::string> password =
        passwords_ ? passwords_->Lookup(target.address) : std::nullopt;
    const pjlink::HealthRead read = pjlink::ReadVitals(*destination, password, options);
    if (read.error != pjlink::LinkError::kNone) {
        return std::nullopt;
    }
    return HealthReadingOf(read.health);
}

}  // namespace lanterna::watch
