#include "fleet/NetworkSearch.h"

#include <algorithm>

#include "discovery/RemoveDuplicates.h"
#include "discovery/SearchController.h"
#include "record/DottedAddress.h"

namespace lanterna::fleet {

static_assert(unsigned{kFoundByHello} == unsigned{kFinderHello} &&
              unsigned{kFoundBySecondary} == unsigned{kFinderSecondary} &&
              unsigned{kFoundByPjlink} == unsigned{kFinderPjlink});

bool AddressBefore(std::string_view a, std::string_view b) {
    Octets first{};
    Octets second{};
    if (ScanDottedInto(a, first) == 4 && ScanDottedInto(b, second) == 4 && first != second) {
        return first < second;
    }
    return a < b;
}

SearchResult SearchNetwork(const SearchTargets& targets) {
    ProjectorList projectors;
    SearchResult result;
    {
        CSearchController search(projectors, nullptr, targets);
        search.Start();
        search.WaitForEnd();
        result.helloRan = search.HelloResult() != -1;
        result.secondaryRan = search.SecondaryResult() != -1;
        result.pjlinkRan = search.PjlinkResult() != -1;
    }
    RemoveDuplicates(projectors);
    projectors.ForEach([&](std::size_t, const ProjectorRecord& record) {
        result.found.push_back({std::string(TextOf(record.address)),
                                std::string(TextOf(record.projectorName)), record.imType,
                                record.foundBy, std::string(TextOf(record.pjlinkMacAddress))});
    });
    std::stable_sort(result.found.begin(), result.found.end(), [](const auto& a, const auto& b) {
        if (a.address != b.address) {
            return AddressBefore(a.address, b.address);
        }
        return a.name < b.name;
    });
    return result;
}

}  // namespace lanterna::fleet
