#pragma once
// The projectors a fleet job works on: addresses and ranges, the lines of a targets file, and the
// projectors a network search found; each address once, at most kMaxTargets.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "fleet/NetworkSearch.h"
#include "record/ProjectorList.h"

namespace lanterna::fleet {

struct Target {
    std::string address;                 // dotted, written "%d.%d.%d.%d"
    std::optional<std::uint8_t> imType;  // known from the search's hello, or given
    std::string name;                    // known from the search or the hello
};

// A job works on at most this many projectors, as many as the window lists.
inline constexpr std::size_t kMaxTargets = ProjectorList::kDisplayLimit;
// A targets file holds at most this much.
inline constexpr std::size_t kTargetsFileMaxBytes = 1024 * 1024;

// The address written back as "%d.%d.%d.%d" when `text` is four numbers 0 to 255 with points
// between them, else none.
std::optional<std::string> CanonicalAddress(std::string_view text);

// Whether `word` is an address or a range ("10.1.2.10-40", "10.1.2.250-10.1.3.20").
bool IsTargetWord(std::string_view word);

// The target a search found, with the module type its hello told.
Target TargetOf(const FoundProjector& found);

enum class TargetProblem {
    kNone,
    kNotAddressOrRange,  // a word or line that is no address or range (a reversed range too)
    kTooMany,            // more than kMaxTargets
};

// A line of a targets file that is no address or range.
struct TargetLine {
    std::size_t number = 0;  // from 1
    std::string text;        // without its comment and surrounding blanks
};

// Collects targets into a list in the order given, each address once. The addresses taken are
// kept as merged ranges, so a range given again (or inside one given before) costs one look-up
// whatever its size, and only the addresses not taken yet are expanded.
class CTargetList {
  public:
    explicit CTargetList(std::vector<Target>& targets) : targets_(targets) {}

    // An address or a range, each of its addresses added in turn.
    TargetProblem AddWord(std::string_view word);
    // The lines of a targets file: an address or range per line; '#' begins a comment, blank
    // lines count for nothing. On a problem with a line, `bad` names it.
    TargetProblem AddLines(std::string_view text, TargetLine& bad);
    // One target; nothing when its address is in the list already.
    TargetProblem Add(Target target);

  private:
    // Whether `value` is taken already.
    bool Taken(std::uint32_t value) const;
    // Adds `first`..`last` (host order) to the taken ranges, merging them with their neighbours.
    void MarkTaken(std::uint32_t first, std::uint32_t last);
    // The first address from `value` on that is not taken (beyond `last`: none left).
    std::uint64_t NextFree(std::uint64_t value, std::uint32_t last) const;

    std::vector<Target>& targets_;
    std::map<std::uint32_t, std::uint32_t> taken_;  // first -> last of disjoint, merged ranges
};

}  // namespace lanterna::fleet
