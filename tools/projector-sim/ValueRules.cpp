#include "tools/projector-sim/ValueRules.h"

#include <algorithm>

namespace lanterna::sim {

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}
bool IsLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}
bool IsHexDigit(char c) {
    return IsDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

}  // namespace

std::vector<std::string_view> SplitParts(std::string_view text) {
    std::vector<std::string_view> parts;
    std::size_t pos = 0;
    while (pos < text.size()) {
        if (text[pos] == ' ') {
            ++pos;
            continue;
        }
        const std::size_t end = std::min(text.find(' ', pos), text.size());
        parts.push_back(text.substr(pos, end - pos));
        pos = end;
    }
    return parts;
}

std::optional<Octets> ParseDottedStrict(std::string_view text) {
    Octets octets{};
    std::size_t pos = 0;
    for (std::size_t i = 0; i < octets.size(); ++i) {
        if (i > 0) {
            if (pos >= text.size() || text[pos] != '.') {
                return std::nullopt;
            }
            ++pos;
        }
        const std::size_t start = pos;
        unsigned value = 0;
        while (pos < text.size() && IsDigit(text[pos]) && pos - start < 3) {
            value = value * 10 + static_cast<unsigned>(text[pos] - '0');
            ++pos;
        }
        if (pos == start || value > 255 || (pos < text.size() && IsDigit(text[pos]))) {
            return std::nullopt;
        }
        octets[i] = static_cast<std::uint8_t>(value);
    }
    if (pos != text.size()) {
        return std::nullopt;
    }
    return octets;
}

std::optional<std::uint32_t> ParseDecimal(std::string_view text, std::uint32_t maximum) {
    if (text.empty() || text.size() > 10) {
        return std::nullopt;
    }
    std::uint64_t value = 0;
    for (char c : text) {
        if (!IsDigit(c)) {
            return std::nullopt;
        }
        value = value * 10 + static_cast<std::uint64_t>(c - '0');
    }
    if (value > maximum) {
        return std::nullopt;
    }
    return static_cast<std::uint32_t>(value);
}

std::optional<std::uint16_t> ParseHexWord(std::string_view text) {
    if (text.empty() || text.size() > 4 || !IsHexDigits(text)) {
        return std::nullopt;
    }
    unsigned value = 0;
    for (char c : text) {
        const unsigned digit = IsDigit(c)               ? static_cast<unsigned>(c - '0')
                               : (c >= 'a' && c <= 'f') ? static_cast<unsigned>(c - 'a' + 10)
                                                        : static_cast<unsigned>(c - 'A' + 10);
        value = value * 16 + digit;
    }
    return static_cast<std::uint16_t>(value);
}

std::optional<bool> ParseOnOff(std::string_view text) {
    if (text == "ON") {
        return true;
    }
    if (text == "OFF") {
        return false;
    }
    return std::nullopt;
}

bool IsHexDigits(std::string_view text) {
    return std::all_of(text.begin(), text.end(), IsHexDigit);
}

bool IsHardwareAddress(std::string_view text) {
    return text.size() == 12 && IsHexDigits(text);
}

bool IsNameText(std::string_view text) {
    return !text.empty() && text.size() <= 15 && std::all_of(text.begin(), text.end(), [](char c) {
        return IsLetter(c) || IsDigit(c) || c == '-';
    });
}

bool IsDomainText(std::string_view text) {
    return text.size() <= 96 && std::all_of(text.begin(), text.end(), [](char c) {
               return IsLetter(c) || IsDigit(c) || c == '.' || c == '-';
           });
}

bool IsCommunityText(std::string_view text) {
    return text.size() <= 8 &&
           std::all_of(text.begin(), text.end(), [](char c) { return IsLetter(c) || IsDigit(c); });
}

bool IsMailText(std::string_view text) {
    if (text.empty()) {
        return true;
    }
    constexpr std::string_view kForbidden = "\"/\\[]:;|=,+*?<> ";
    return text.size() <= 64 && text.find('@') != std::string_view::npos &&
           std::none_of(text.begin(), text.end(), [&](char c) {
               return static_cast<unsigned char>(c) < 0x20 || c == 0x7F ||
                      kForbidden.find(c) != std::string_view::npos;
           });
}

bool IsEssidText(std::string_view text) {
    return text.size() <= 32 && text.find_first_of(' ') != 0 &&
           std::all_of(text.begin(), text.end(),
                       [](char c) { return c >= 0x20 && c <= 0x7E && c != ':'; });
}

bool IsWireWepKey(std::string_view text) {
    return (text.size() == 10 || text.size() == 26) && IsHexDigits(text);
}

bool IsSecurityCode(std::string_view text) {
    return text.size() == 6 && std::all_of(text.begin(), text.end(), IsDigit);
}

}  // namespace lanterna::sim
