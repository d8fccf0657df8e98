#pragma once
// The search of a refresh from the command line: both searches, duplicates removed, each
// projector with the searches that found it, sorted by address. Used by discover and --all.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "tools/lanternactl/CliContext.h"

namespace lanterna::cli {

enum FoundBy : unsigned { kFoundByHello = 1U, kFoundBySecondary = 2U };

struct FoundProjector {
    std::string address;
    std::string name;
    std::uint8_t imType = 0;
    unsigned foundBy = 0;  // FoundBy bits
};

// "hello", "secondary" or "both".
std::string_view FoundByText(unsigned foundBy);

// Runs the search on context.network.search. `ran` is false (with a message on standard error)
// when neither search could run; a search that could not run is told on standard error.
std::vector<FoundProjector> SearchNetwork(CliContext& context, std::string_view command, bool& ran);

// The numeric order of dotted addresses (text order for anything else), for sorting.
bool AddressBefore(std::string_view a, std::string_view b);

}  // namespace lanterna::cli
