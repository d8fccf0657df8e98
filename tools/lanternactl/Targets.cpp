#include "tools/lanternactl/Targets.h"

#include <algorithm>
#include <array>
#include <ostream>
#include <set>

#include "record/DottedAddress.h"
#include "settings/AddressRules.h"
#include "tools/lanternactl/FileCommandSupport.h"
#include "tools/lanternactl/NetworkSearch.h"
#include "tools/lanternactl/TextSafety.h"

namespace lanterna::cli {

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

class CTargetList {
  public:
    CTargetList(CliContext& context, std::string_view command, std::vector<Target>& targets)
        : context_(context), command_(command), targets_(targets) {}

    // kExitOk, or kExitUsage with a message.
    int AddWord(std::string_view word, std::string_view where) {
        const auto range = RangeOf(word);
        if (!range) {
            context_.err << "lanternactl " << command_ << ": " << where << "'"
                         << TerminalText(std::string(word))
                         << "' is neither an address nor a range such as 10.1.2.10-40\n";
            return kExitUsage;
        }
        if (range->second - range->first >= kMaxTargets) {
            return TooMany();
        }
        for (std::uint64_t value = range->first; value <= range->second; ++value) {
            if (const int status = Add({AddressText(static_cast<std::uint32_t>(value)), {}, {}});
                status != kExitOk) {
                return status;
            }
        }
        return kExitOk;
    }

    int Add(Target target) {
        if (!seen_.insert(target.address).second) {
            return kExitOk;
        }
        if (targets_.size() >= kMaxTargets) {
            return TooMany();
        }
        targets_.push_back(std::move(target));
        return kExitOk;
    }

  private:
    int TooMany() {
        context_.err << "lanternactl " << command_ << ": more than " << kMaxTargets << " targets\n";
        return kExitUsage;
    }

    CliContext& context_;
    std::string_view command_;
    std::vector<Target>& targets_;
    std::set<std::string> seen_;
};

int AddFile(CliContext& context, std::string_view command, const std::string& path,
            CTargetList& list) {
    std::string content;
    if (!ReadInputFile(context, command, path, kTargetsFileMaxBytes, content, true)) {
        return kExitFailed;
    }
    std::size_t lineNumber = 0;
    std::size_t start = 0;
    while (start < content.size()) {
        const std::size_t end = std::min(content.find('\n', start), content.size());
        std::string_view line(content.data() + start, end - start);
        start = end + 1;
        ++lineNumber;
        line = line.substr(0, line.find('#'));
        const std::size_t first = line.find_first_not_of(" \t\r");
        if (first == std::string_view::npos) {
            continue;
        }
        line = line.substr(first, line.find_last_not_of(" \t\r") - first + 1);
        const std::string where = (path == "-" ? std::string("standard input") : path) + ":" +
                                  std::to_string(lineNumber) + ": ";
        if (const int status = list.AddWord(line, where); status != kExitOk) {
            return status;
        }
    }
    return kExitOk;
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

bool IsSingleTarget(const TargetRequest& request) {
    return !request.all && !request.file && request.words.size() == 1 &&
           request.words[0].find('-') == std::string::npos;
}

int ExpandTargets(CliContext& context, std::string_view command, const TargetRequest& request,
                  std::vector<Target>& targets) {
    CTargetList list(context, command, targets);
    for (const std::string& word : request.words) {
        if (const int status = list.AddWord(word, ""); status != kExitOk) {
            return status;
        }
    }
    if (request.file) {
        if (const int status = AddFile(context, command, *request.file, list); status != kExitOk) {
            return status;
        }
    }
    if (request.all) {
        bool ran = false;
        for (FoundProjector& found : SearchNetwork(context, command, ran)) {
            Target target{std::move(found.address), std::nullopt, std::move(found.name)};
            if ((found.foundBy & kFoundByHello) != 0) {
                target.imType = found.imType;
            }
            if (const int status = list.Add(std::move(target)); status != kExitOk) {
                return status;
            }
        }
        if (!ran) {
            return kExitFailed;
        }
    }
    if (targets.empty()) {
        context.err << "lanternactl " << command << ": no target (give addresses, ranges, "
                    << "--targets FILE or --all)\n";
        return request.all ? kExitFailed : kExitUsage;
    }
    return kExitOk;
}

}  // namespace lanterna::cli
