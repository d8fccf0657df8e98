#include "fleet/SiteRead.h"

#include <cctype>

#include "link/NetworkValues.h"
#include "platform/AsciiCase.h"
#include "workers/Workers.h"

namespace lanterna::fleet {

namespace {

std::string UpperHex(std::string_view text) {
    std::string upper(text);
    for (char& c : upper) {
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    return upper;
}

// The hardware address of the interface not in use, asked over the link the read left open;
// empty when the projector does not tell it.
std::string OtherInterfaceMac(ApplicationState& state, bool wireless) {
    if (state.link == nullptr) {
        return {};
    }
    const ExchangeReply reply =
        state.link->Converse(wireless ? "NWMAC" : "NWWLMAC", "", true, true);
    if (reply.outcome != ExchangeOutcome::kAnswered || !IsHardwareAddressValue(reply.value)) {
        return {};
    }
    return UpperHex(reply.value);
}

void ReadOne(const FleetNetwork& network, IWorkerDriver& driver, IPasswordSource& passwords,
             bool allSettings, SiteReading& reading) {
    const auto state = StateFor(network);
    OpenedTarget opened;
    if (!OpenTarget(network, driver, passwords, reading.target, *state, allSettings ? 1 : 0, "",
                    opened, reading.failure)) {
        reading.outcome = OutcomeOf(reading.failure);
        return;
    }
    ProjectorRecord& record = *state->SelectedRecord();
    const bool wireless = record.wirelessActive != 0;
    const std::string own = UpperHex(TextOf(record.macAddress));
    (wireless ? reading.wirelessMac : reading.wiredMac) = own;
    (wireless ? reading.wiredMac : reading.wirelessMac) = OtherInterfaceMac(*state, wireless);
    reading.passwordSet = opened.passwordSet;
    reading.record = record;
    reading.readAt = std::chrono::system_clock::now();
    reading.outcome = Outcome::kRead;
    CloseLink(*state);
}

}  // namespace

std::optional<std::string> NormalHardwareAddress(std::string_view text) {
    std::string digits;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (std::isxdigit(static_cast<unsigned char>(c)) != 0) {
            digits += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        } else if (c != ':' && c != '-' && c != '.') {
            return std::nullopt;
        }
        if (digits.size() > 12) {
            return std::nullopt;
        }
    }
    if (digits.size() != 12) {
        return std::nullopt;
    }
    return digits;
}

bool SiteReading::HasMac(std::string_view mac) const {
    return !mac.empty() &&
           (EqualIgnoringCase(wiredMac, mac) || EqualIgnoringCase(wirelessMac, mac));
}

std::vector<SiteReading> ReadSite(const FleetNetwork& network, IPasswordSource& passwords,
                                  std::vector<Target> targets, bool allSettings,
                                  const RunControl& control) {
    std::vector<SiteReading> readings(targets.size());
    for (std::size_t i = 0; i < targets.size(); ++i) {
        readings[i].target = std::move(targets[i]);
    }
    ReadSiteInto(network, passwords, readings, allSettings, control);
    return readings;
}

void ReadSiteInto(const FleetNetwork& network, IPasswordSource& passwords,
                  std::vector<SiteReading>& readings, bool allSettings, const RunControl& control) {
    std::vector<Target> targets;
    targets.reserve(readings.size());
    for (const SiteReading& reading : readings) {
        targets.push_back(reading.target);
    }
    const std::vector<bool> unanswered = LearnModuleTypes(network, targets);
    for (std::size_t i = 0; i < readings.size(); ++i) {
        readings[i].target = std::move(targets[i]);
        readings[i].helloUnanswered = unanswered[i];
    }
    RunTargets(readings.size(), control, false, [&](std::size_t i, IWorkerDriver& driver) {
        ReadOne(network, driver, passwords, allSettings, readings[i]);
        return readings[i].outcome == Outcome::kRead;
    });
}

std::vector<std::size_t> ReadingsWithMac(const std::vector<SiteReading>& readings,
                                         std::string_view mac) {
    std::vector<std::size_t> found;
    for (std::size_t i = 0; i < readings.size(); ++i) {
        if (readings[i].record && readings[i].HasMac(mac)) {
            found.push_back(i);
        }
    }
    return found;
}

}  // namespace lanterna::fleet
