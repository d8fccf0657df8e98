#pragma once
// The search of a refresh for a fleet job: the three searches, duplicates removed, each projector
// with the searches that found it, sorted by address. Used by discover and --all.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "discovery/SearchTargets.h"

namespace lanterna::fleet {

// The bits a record keeps of it (record/ProjectorRecord.h).
enum FoundBy : unsigned { kFoundByHello = 1U, kFoundBySecondary = 2U, kFoundByPjlink = 4U };

struct FoundProjector {
    std::string address;
    std::string name;
    std::uint8_t imType = 0;
    unsigned foundBy = 0;  // FoundBy bits
    // As the PJLink search reported it ("00:1A:2B:3C:4D:5E"); empty when it did not answer.
    std::string hardwareAddress;

    // Only PJLink reaches it: no network module answered.
    bool OnlyPjlink() const { return foundBy == kFoundByPjlink; }
};

struct SearchResult {
    std::vector<FoundProjector> found;
    bool helloRan = true;      // false: the hello search could not run (port taken, no route)
    bool secondaryRan = true;  // false: the secondary search could not run
    bool pjlinkRan = true;     // false: the PJLink search could not run (its port taken)

    // Whether either search could run.
    bool Ran() const { return helloRan || secondaryRan; }
};

// Runs the searches on `search` and waits for their end.
SearchResult SearchNetwork(const SearchTargets& search);

// The numeric order of dotted addresses (text order for anything else), for sorting.
bool AddressBefore(std::string_view a, std::string_view b);

}  // namespace lanterna::fleet
