#include "platform/DecimalText.h"

#include <algorithm>
#include <climits>

namespace lanterna {

std::optional<int> ScanLeadingDecimal(std::string_view text) {
    const std::optional<long long> value = ScanLeadingDecimalWide(text);
    if (!value) {
        return std::nullopt;
    }
    return static_cast<int>(std::clamp<long long>(*value, INT_MIN, INT_MAX));
}

std::optional<long long> ScanLeadingDecimalWide(std::string_view text) {
    std::size_t pos = 0;
    while (pos < text.size() && IsAsciiSpace(text[pos])) {
        ++pos;
    }
    bool negative = false;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
        negative = text[pos] == '-';
        ++pos;
    }
    const std::size_t digitsStart = pos;
    long long magnitude = 0;
    // Past this, more digits change nothing: the value is beyond every field already.
    constexpr long long kCeiling = 100'000'000'000'000'000LL;
    while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9') {
        if (magnitude < kCeiling) {
            magnitude = magnitude * 10 + (text[pos] - '0');
        }
        ++pos;
    }
    if (pos == digitsStart) {
        return std::nullopt;
    }
    return negative ? -magnitude : magnitude;
}

std::string_view TrimAsciiSpace(std::string_view text) {
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && IsAsciiSpace(text[begin])) {
        ++begin;
    }
    while (end > begin && IsAsciiSpace(text[end - 1])) {
        --end;
    }
    return text.substr(begin, end - begin);
}

}  // namespace lanterna
