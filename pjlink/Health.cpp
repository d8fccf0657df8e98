#include "pjlink/Health.h"

#include <algorithm>

namespace lanterna::pjlink {

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// Splits at single blanks; none for an empty piece (two blanks, a blank at either end).
std::optional<std::vector<std::string_view>> SplitBlanks(std::string_view text,
                                                         std::size_t maxPieces) {
    std::vector<std::string_view> pieces;
    while (true) {
        const std::size_t blank = text.find(' ');
        const std::string_view piece = text.substr(0, blank);
        if (piece.empty() || pieces.size() == maxPieces) {
            return std::nullopt;
        }
        pieces.push_back(piece);
        if (blank == std::string_view::npos) {
            return pieces;
        }
        text.remove_prefix(blank + 1);
    }
}

}  // namespace

std::optional<Power> ParsePower(std::string_view value) {
    if (value.size() != 1 || value[0] < '0' || value[0] > '3') {
        return std::nullopt;
    }
    return static_cast<Power>(value[0] - '0');
}

std::optional<std::string> ParseInput(std::string_view value, int pjlinkClass) {
    if (value.size() != 2) {
        return std::nullopt;
    }
    const char highestType = pjlinkClass >= 2 ? '6' : '5';
    const bool typeOk = value[0] >= '1' && value[0] <= highestType;
    const bool numberOk = (value[1] >= '1' && value[1] <= '9') ||
                          (pjlinkClass >= 2 && value[1] >= 'A' && value[1] <= 'Z');
    if (!typeOk || !numberOk) {
        return std::nullopt;
    }
    return std::string(value);
}

std::optional<int> ParseMute(std::string_view value) {
    if (value.size() != 2 || value[0] < '1' || value[0] > '3' ||
        (value[1] != '0' && value[1] != '1')) {
        return std::nullopt;
    }
    return (value[0] - '0') * 10 + (value[1] - '0');
}

std::optional<ErrorLevels> ParseErrors(std::string_view value) {
    if (value.size() != kErrorParts) {
        return std::nullopt;
    }
    ErrorLevels levels{};
    for (std::size_t i = 0; i < kErrorParts; ++i) {
        if (value[i] < '0' || value[i] > '2') {
            return std::nullopt;
        }
        levels[i] = static_cast<std::uint8_t>(value[i] - '0');
    }
    return levels;
}

std::optional<int> ParseHours(std::string_view value) {
    if (value.empty() || value.size() > 5 || !std::all_of(value.begin(), value.end(), IsDigit)) {
        return std::nullopt;
    }
    int hours = 0;
    for (const char c : value) {
        hours = hours * 10 + (c - '0');
    }
    return hours;
}

std::optional<std::vector<Lamp>> ParseLamps(std::string_view value) {
    const auto pieces = SplitBlanks(value, 2 * kMaxLamps);
    if (!pieces || pieces->size() % 2 != 0) {
        return std::nullopt;
    }
    std::vector<Lamp> lamps;
    for (std::size_t i = 0; i < pieces->size(); i += 2) {
        const std::optional<int> hours = ParseHours((*pieces)[i]);
        const std::string_view on = (*pieces)[i + 1];
        if (!hours || (on != "0" && on != "1")) {
            return std::nullopt;
        }
        lamps.push_back({*hours, on == "1"});
    }
    return lamps;
}

std::optional<std::vector<std::string>> ParseInputs(std::string_view value, int pjlinkClass) {
    std::vector<std::string> inputs;
    if (value.empty()) {
        return inputs;
    }
    const auto pieces = SplitBlanks(value, kMaxInputs);
    if (!pieces) {
        return std::nullopt;
    }
    for (const std::string_view piece : *pieces) {
        const std::optional<std::string> input = ParseInput(piece, pjlinkClass);
        if (!input) {
            return std::nullopt;
        }
        inputs.push_back(*input);
    }
    return inputs;
}

std::optional<std::string> ParseText(std::string_view value, std::size_t limit) {
    if (value.size() > limit) {
        return std::nullopt;
    }
    return std::string(value);
}

std::optional<int> ParseClass(std::string_view value) {
    if (value != "1" && value != "2") {
        return std::nullopt;
    }
    return value[0] - '0';
}

int HighestErrorLevel(const Health& health) {
    if (!health.errors) {
        return 0;
    }
    return *std::max_element(health.errors->begin(), health.errors->end());
}

std::optional<int> MostLampHours(const Health& health) {
    if (!health.lamps || health.lamps->empty()) {
        return std::nullopt;
    }
    int most = 0;
    for (const Lamp& lamp : *health.lamps) {
        most = std::max(most, lamp.hours);
    }
    return most;
}

}  // namespace lanterna::pjlink
