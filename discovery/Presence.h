#pragma once
// Who is there: the listed projectors are greeted again now and then with a unicast hello, and
// those that stop answering are noted with the time they were first missed. Kept beside the
// projector list, by address: the records the workers use know nothing of it.
//
// A round sends one hello to each address from one socket under the search's port rules (the
// hello's port is the only source port a reply is taken from; the socket binds the search's
// local port, or any free one while that is taken) and waits a bounded time; it never
// broadcasts. Threads: RunPresenceRound blocks its caller; a CPresenceBook belongs to one
// thread.

#include <cstdint>
#include <ctime>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "discovery/SearchTargets.h"
#include "record/ProjectorList.h"

namespace lanterna {

// Most addresses one round greets (the window lists no more than this).
inline constexpr std::size_t kPresenceRoundAddresses = ProjectorList::kDisplayLimit;
// Longest a round waits for its answers; within it the silent addresses are greeted again.
inline constexpr std::uint32_t kPresenceRoundLimitMs = 2000;
inline constexpr std::uint32_t kPresenceResendMs = 650;

// Greets each of `addresses` (dotted texts; at most kPresenceRoundAddresses, the rest are not
// greeted and count as answered) at `target`'s port and returns, per address, whether it
// answered. Empty when no socket could be opened (nothing is known then).
std::vector<bool> RunPresenceRound(std::span<const std::string> addresses,
                                   const HelloTarget& target,
                                   std::uint32_t limitMs = kPresenceRoundLimitMs);

class CPresenceBook {
  public:
    // Takes a round's outcome at `now`: an address that answered is present again; one that did
    // not is silent since the first round it missed. Addresses of no round since are dropped
    // when they are not in `addresses` either, so the book never outgrows the list.
    void Record(std::span<const std::string> addresses, const std::vector<bool>& answered,
                std::time_t now);
    // `address` is silent since `now` unless it already was (a projector listed that nothing
    // answered for).
    void MarkSilent(std::string_view address, std::time_t now);
    // When `address` was first missed, if it is silent now.
    std::optional<std::time_t> SilentSince(std::string_view address) const;
    void Clear() { silentSince_.clear(); }

  private:
    std::map<std::string, std::time_t, std::less<>> silentSince_;
};

// "HH:MM" of `when` in local time.
std::string ClockText(std::time_t when);

}  // namespace lanterna
