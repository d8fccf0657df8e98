#pragma once
// The eleven events of a mail recipient's event set by name, as the notification-event dialog
// lists them: "lamp-replacement,no-signal" for the bits 0x001 and 0x002.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace lanterna::fleet {

struct EventName {
    std::uint32_t bit;
    std::string_view name;
};

// Every event, lowest bit first.
std::span<const EventName> AllEventNames();

// An event set from names joined by commas, "none" or a number (decimal or 0x hexadecimal) up
// to 0x7ff. None for an unknown name or a number out of range.
std::optional<std::uint32_t> ParseEventSet(std::string_view text);

// The names of the bits set in `eventSet`, joined by commas; "none" for the empty set.
std::string EventSetNames(std::uint32_t eventSet);

}  // namespace lanterna::fleet
