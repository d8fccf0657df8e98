#include "record/DottedAddress.h"

#include <cctype>
#include <climits>
#include <cstdio>

namespace lanterna {

std::string FormatDotted(const Octets& octets) {
    std::array<char, 16> text{};
    std::snprintf(text.data(), text.size(), "%d.%d.%d.%d", octets[0], octets[1], octets[2],
                  octets[3]);
    return std::string(text.data());
}

namespace {

// One "%d" conversion starting at `pos`; false when no digits follow.
bool ScanDecimal(std::string_view text, std::size_t& pos, int& value) {
    std::size_t p = pos;
    while (p < text.size() && std::isspace(static_cast<unsigned char>(text[p])) != 0) {
        ++p;
    }
    bool negative = false;
    if (p < text.size() && (text[p] == '+' || text[p] == '-')) {
        negative = text[p] == '-';
        ++p;
    }
    const std::size_t digitsStart = p;
    long long magnitude = 0;
    while (p < text.size() && text[p] >= '0' && text[p] <= '9') {
        if (magnitude <= static_cast<long long>(INT_MAX) + 1) {
            magnitude = magnitude * 10 + (text[p] - '0');
        }
        ++p;
    }
    if (p == digitsStart) {
        return false;
    }
    const long long signedValue = negative ? -magnitude : magnitude;
    if (signedValue > INT_MAX) {
        value = INT_MAX;
    } else if (signedValue < INT_MIN) {
        value = INT_MIN;
    } else {
        value = static_cast<int>(signedValue);
    }
    pos = p;
    return true;
}

// ScanDotted that also tells where reading stopped.
int ScanDottedAt(std::string_view text, std::array<int, 4>& numbers, std::size_t& pos) {
    pos = 0;
    int count = 0;
    for (int i = 0; i < 4; ++i) {
        if (i > 0) {
            if (pos >= text.size() || text[pos] != '.') {
                break;
            }
            ++pos;
        }
        if (!ScanDecimal(text, pos, numbers[static_cast<std::size_t>(i)])) {
            break;
        }
        ++count;
    }
    return count;
}

}  // namespace

int ScanDotted(std::string_view text, std::array<int, 4>& numbers) {
    std::size_t pos = 0;
    return ScanDottedAt(text, numbers, pos);
}

int ScanDottedOctetsInRange(std::string_view text, Octets& octets) {
    std::array<int, 4> numbers{};
    std::size_t pos = 0;
    const int count = ScanDottedAt(text, numbers, pos);
    if (count == 4 && pos < text.size() && text[pos] == '.') {
        return -1;
    }
    for (int i = 0; i < count; ++i) {
        const int number = numbers[static_cast<std::size_t>(i)];
        if (number < 0 || number > 255) {
            return -1;
        }
    }
    for (int i = 0; i < count; ++i) {
        octets[static_cast<std::size_t>(i)] =
            static_cast<std::uint8_t>(numbers[static_cast<std::size_t>(i)]);
    }
    return count;
}

int ScanDottedInto(std::string_view text, Octets& octets) {
    std::array<int, 4> numbers{};
    const int count = ScanDotted(text, numbers);
    for (int i = 0; i < count; ++i) {
        octets[static_cast<std::size_t>(i)] =
            static_cast<std::uint8_t>(static_cast<unsigned>(numbers[static_cast<std::size_t>(i)]));
    }
    return count;
}

std::uint32_t ToHostOrder(const Octets& octets) {
    return (static_cast<std::uint32_t>(octets[0]) << 24) |
           (static_cast<std::uint32_t>(octets[1]) << 16) |
           (static_cast<std::uint32_t>(octets[2]) << 8) | static_cast<std::uint32_t>(octets[3]);
}

Octets FromHostOrder(std::uint32_t value) {
    return {static_cast<std::uint8_t>(value >> 24), static_cast<std::uint8_t>(value >> 16),
            static_cast<std::uint8_t>(value >> 8), static_cast<std::uint8_t>(value)};
}

bool IsZeroAddress(const Octets& octets) {
    return octets[0] == 0 && octets[1] == 0 && octets[2] == 0 && octets[3] == 0;
}

}  // namespace lanterna
