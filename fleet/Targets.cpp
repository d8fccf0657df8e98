#include "fleet/Targets.h"

#include <algorithm>
#include <array>
#include <iterator>

#include "record/DottedAddress.h"
#include "settings/AddressRules.h"

namespace lanterna::fleet {

namespace {

std::optional<std::uint32_t> AddressValue(std::string_view text) {
    const auto canonical = CanonicalAddress(text);
    if (!canonical) {
        return std::nullopt;
    }
    Octets octets{};
    ScanDottedInto(*canonical, octets);
    return ToHostOrder(octets);
}

std::string AddressText(std::uint32_t value) {
    const Octets octets{static_cast<std::uint8_t>(value >> 24),
                        static_cast<std::uint8_t>(value >> 16),
                        static_cast<std::uint8_t>(value >> 8), static_cast<std::uint8_t>(value)};
    return FormatDotted(octets);
}

// First and last address of a word: one address, or a range with the last number or a whole
// address after the hyphen. None for anything else, a reversed range included.
std::optional<std::pair<std::uint32_t, std::uint32_t>> RangeOf(std::string_view word) {
    const std::size_t hyphen = word.find('-');
    const auto first = AddressValue(word.substr(0, hyphen));
    if (!first) {
        return std::nullopt;
    }
    if (hyphen == std::string_view::npos) {
        return std::make_pair(*first, *first);
    }
    const std::string_view end = word.substr(hyphen + 1);
    std::optional<std::uint32_t> last;
    if (end.find('.') == std::string_view::npos) {
        if (end.empty() || end.size() > 3 || end.find_first_not_of("0123456789") != end.npos) {
            return std::nullopt;
        }
        const int number = std::stoi(std::string(end));
        if (number > 255) {
            return std::nullopt;
        }
        last = (*first & 0xFFFFFF00U) | static_cast<std::uint32_t>(number);
    } else {
        last = AddressValue(end);
    }
    if (!last || *last < *first) {
        return std::nullopt;
    }
    return std::make_pair(*first, *last);
}

}  // namespace

std::optional<std::string> CanonicalAddress(std::string_view text) {
    std::array<int, 4> numbers{};
    if (text.empty() || text.size() > 20 ||
        ClassifyAddressText(text, AddressTextMode::kSyntax) != kAddressTextValid ||
        ScanDotted(text, numbers) != 4 || std::count(text.begin(), text.end(), '.') != 3) {
        return std::nullopt;
    }
    Octets octets{};
    for (std::size_t i = 0; i < octets.size(); ++i) {
        octets[i] = static_cast<std::uint8_t>(numbers[i]);
    }
    return FormatDotted(octets);
}

bool IsTargetWord(std::string_view word) {
    return RangeOf(word).has_value();
}

Target TargetOf(const FoundProjector& found) {
    Target target{found.address, std::nullopt, found.name};
    if ((found.foundBy & kFoundByHello) != 0) {
        target.imType = found.imType;
    }
    return target;
}

TargetProblem CTargetList::AddWord(std::string_view word) {
    const auto range = RangeOf(word);
    if (!range) {
        return TargetProblem::kNotAddressOrRange;
    }
    if (range->second - range->first >= kMaxTargets) {
        return TargetProblem::kTooMany;
    }
    // Only the addresses not taken yet are expanded: a range given a thousand times costs its
    // addresses once.
    for (std::uint64_t value = NextFree(range->first, range->second); value <= range->second;
         value = NextFree(value + 1, range->second)) {
        if (targets_.size() >= kMaxTargets) {
            return TargetProblem::kTooMany;
        }
        targets_.push_back({AddressText(static_cast<std::uint32_t>(value)), {}, {}});
        MarkTaken(static_cast<std::uint32_t>(value), static_cast<std::uint32_t>(value));
    }
    return TargetProblem::kNone;
}

TargetProblem CTargetList::AddLines(std::string_view text, TargetLine& bad) {
    std::size_t lineNumber = 0;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        std::string_view line = text.substr(start, end - start);
        start = end + 1;
        ++lineNumber;
        line = line.substr(0, line.find('#'));
        const std::size_t first = line.find_first_not_of(" \t\r");
        if (first == std::string_view::npos) {
            continue;
        }
        line = line.substr(first, line.find_last_not_of(" \t\r") - first + 1);
        if (const TargetProblem problem = AddWord(line); problem != TargetProblem::kNone) {
            bad = {lineNumber, std::string(line)};
            return problem;
        }
    }
    return TargetProblem::kNone;
}

TargetProblem CTargetList::Add(Target target) {
    const auto value = AddressValue(target.address);
    if (value && Taken(*value)) {
        return TargetProblem::kNone;
    }
    if (targets_.size() >= kMaxTargets) {
        return TargetProblem::kTooMany;
    }
    if (value) {
        MarkTaken(*value, *value);
    }
    targets_.push_back(std::move(target));
    return TargetProblem::kNone;
}

bool CTargetList::Taken(std::uint32_t value) const {
    auto after = taken_.upper_bound(value);
    return after != taken_.begin() && std::prev(after)->second >= value;
}

std::uint64_t CTargetList::NextFree(std::uint64_t value, std::uint32_t last) const {
    while (value <= last) {
        auto after = taken_.upper_bound(static_cast<std::uint32_t>(value));
        if (after == taken_.begin() || std::prev(after)->second < value) {
            return value;
        }
        value = std::uint64_t{std::prev(after)->second} + 1;
    }
    return value;
}

void CTargetList::MarkTaken(std::uint32_t first, std::uint32_t last) {
    auto at = taken_.upper_bound(first);
    if (at != taken_.begin() && std::uint64_t{std::prev(at)->second} + 1 >= first) {
        --at;
        first = at->first;
        last = std::max(last, at->second);
    }
    while (at != taken_.end() && std::uint64_t{last} + 1 >= at->first) {
        last = std::max(last, at->second);
        at = taken_.erase(at);
    }
    taken_[first] = last;
}

}  // namespace lanterna::fleet
