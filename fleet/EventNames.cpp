#include "fleet/EventNames.h"

#include <algorithm>
#include <array>

#include "platform/DecimalText.h"

namespace lanterna::fleet {

namespace {

constexpr std::array<EventName, 11> kEvents = {{
    {0x001, "lamp-replacement"},
    {0x002, "no-signal"},
    {0x004, "air-filter"},
    {0x008, "high-speed-cooling"},
    {0x010, "lamp-timer-error"},
    {0x020, "lamp-cover-open"},
    {0x040, "lamp-off"},
    {0x080, "fan-error"},
    {0x100, "sensor-error"},
    {0x200, "internal-temperature"},
    {0x400, "internal-error"},
}};

constexpr std::uint32_t kAllEvents = 0x7ff;

std::optional<std::uint32_t> ParseEventNumber(std::string_view text) {
    const std::optional<std::int64_t> value = ParseWholeNumber(text);
    if (!value || *value < 0 || *value > kAllEvents) {
        return std::nullopt;
    }
    return static_cast<std::uint32_t>(*value);
}

}  // namespace

std::span<const EventName> AllEventNames() {
    return kEvents;
}

std::optional<std::uint32_t> ParseEventSet(std::string_view text) {
    if (text == "none") {
        return 0U;
    }
    if (!text.empty() && text[0] >= '0' && text[0] <= '9') {
        return ParseEventNumber(text);
    }
    std::uint32_t set = 0;
    while (true) {
        const std::size_t comma = text.find(',');
        const std::string_view name = text.substr(0, comma);
        const auto found = std::find_if(kEvents.begin(), kEvents.end(),
                                        [&](const EventName& event) { return event.name == name; });
        if (found == kEvents.end()) {
            return std::nullopt;
        }
        set |= found->bit;
        if (comma == std::string_view::npos) {
            return set;
        }
        text.remove_prefix(comma + 1);
    }
}

std::string EventSetNames(std::uint32_t eventSet) {
    std::string names;
    for (const EventName& event : kEvents) {
        if ((eventSet & event.bit) != 0) {
            names += (names.empty() ? "" : ",") + std::string(event.name);
        }
    }
    return names.empty() ? "none" : names;
}

}  // namespace lanterna::fleet
