#pragma once
// The projectors a command works on: addresses and ranges from the command line, lines of a
// targets file, and the projectors the network search finds.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "tools/lanternactl/CliContext.h"

namespace lanterna::cli {

struct Target {
    std::string address;                 // dotted, written "%d.%d.%d.%d"
    std::optional<std::uint8_t> imType;  // known from the search's hello, or --type
    std::string name;                    // known from the search
};

// A command works on at most this many projectors.
inline constexpr std::size_t kMaxTargets = 4096;
// A targets file holds at most this much.
inline constexpr std::size_t kTargetsFileMaxBytes = 1024 * 1024;

struct TargetRequest {
    std::vector<std::string> words;   // addresses and ranges
    bool all = false;                 // --all
    std::optional<std::string> file;  // --targets FILE
};

// The address written back as "%d.%d.%d.%d" when `text` is four numbers 0 to 255 with points
// between them, else none.
std::optional<std::string> CanonicalAddress(std::string_view text);

// Whether `word` is an address or a range ("10.1.2.10-40", "10.1.2.250-10.1.3.20").
bool IsTargetWord(std::string_view word);

// Whether the request is one address and nothing else: the one-projector form.
bool IsSingleTarget(const TargetRequest& request);

// The targets in the order given (the search's in address order), each address once. kExitOk;
// kExitUsage for a word or line that is no address or range, a reversed range or too many
// targets; kExitFailed when a file cannot be read or no search could run. Messages go to
// standard error.
int ExpandTargets(CliContext& context, std::string_view command, const TargetRequest& request,
                  std::vector<Target>& targets);

}  // namespace lanterna::cli
