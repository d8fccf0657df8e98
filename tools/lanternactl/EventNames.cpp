#include "tools/lanternactl/EventNames.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <ostream>

#include "platform/DecimalText.h"

namespace lanterna::cli {

namespace {

struct EventName {
    std::uint32_t bit;
    std::string_view name;
    std::string_view meaning;
};

constexpr std::array<EventName, 11> kEvents = {{
    {0x001, "lamp-replacement", "lamp replacement notice"},
    {0x002, "no-signal", "no signal"},
    {0x004, "air-filter", "air filter"},
    {0x008, "high-speed-cooling", "high-speed cooling in progress"},
    {0x010, "lamp-timer-error", "lamp timer error"},
    {0x020, "lamp-cover-open", "lamp cover open"},
    {0x040, "lamp-off", "lamp off"},
    {0x080, "fan-error", "fan-related error"},
    {0x100, "sensor-error", "sensor error"},
    {0x200, "internal-temperature", "internal temperature abnormal"},
    {0x400, "internal-error", "internal error"},
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

void PrintEventNames(std::ostream& out) {
    for (const EventName& event : kEvents) {
        std::array<char, 8> bit{};
        std::snprintf(bit.data(), bit.size(), "0x%03x", event.bit);
        out << "  " << event.name << std::string(22 - event.name.size(), ' ') << bit.data() << "  "
            << event.meaning << "\n";
    }
}

}  // namespace lanterna::cli
