#include "platform/DecimalText.h"

#include <algorithm>
#include <charconv>
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

std::optional<std::int64_t> ParseWholeNumber(std::string_view text) {
    int base = 10;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        text.remove_prefix(2);
        base = 16;
    }
    std::int64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    if (text.empty() || error != std::errc() || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

}  // namespace lanterna
