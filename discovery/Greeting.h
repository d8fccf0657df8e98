#pragma once
// Greeting a listed projector the way it was found: a hello to one that answers hellos, the
// secondary search's request to one only that search found, and PJLink's search request to one
// only PJLink found. A projector whose network module answers only the secondary search would
// otherwise count as silent at every round although every read and write reaches it.
//
// Every greeting is unicast to the listed address, from one socket per kind, bounded in time
// and in the datagrams taken. Threads: RunGreetingRound blocks its caller.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "discovery/Presence.h"
#include "discovery/SearchTargets.h"
#include "record/ProjectorRecord.h"

namespace lanterna {

enum class Greeting : std::uint8_t { kHello, kSecondary, kPjlink };

// The way to greet `record`: the secondary request when that search found it and the hello
// search did not, PJLink's when only PJLink found it, else a hello (also for a projector named
// by its address or imported).
Greeting GreetingOf(const ProjectorRecord& record);

// Greets each of `addresses` (at most kPresenceRoundAddresses) the way `ways` gives for it (a
// hello where `ways` is short) and returns, per address, whether it answered within `limitMs`.
// A kind whose socket cannot be opened leaves its addresses counted as answered (nothing is
// known of them); empty when no kind could run.
std::vector<bool> RunGreetingRound(std::span<const std::string> addresses,
                                   std::span<const Greeting> ways, const SearchTargets& targets,
                                   std::uint32_t limitMs = kPresenceRoundLimitMs);

// The secondary search's request to each of `addresses` at `target`'s port, again to the silent
// ones every kPresenceResendMs; per address whether an answer came from it. Empty when no
// socket could be opened.
std::vector<bool> GreetBySecondary(std::span<const std::string> addresses,
                                   const SecondaryTarget& target, std::uint32_t limitMs);

// PJLink's search request to each of `addresses`; per address whether it answered. Empty when
// the search could not run (its port taken).
std::vector<bool> GreetByPjlink(std::span<const std::string> addresses,
                                const PjlinkSearchTarget& target, std::uint32_t limitMs);

}  // namespace lanterna
