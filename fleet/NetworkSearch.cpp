#include "fleet/NetworkSearch.h"

#include <algorithm>
#include <map>

#include "discovery/RemoveDuplicates.h"
#include "discovery/SearchController.h"
#include "record/DottedAddress.h"

namespace lanterna::fleet {

namespace {

unsigned BitOf(SearchKind kind) {
    return kind == SearchKind::kHello ? kFoundByHello : kFoundBySecondary;
}

}  // namespace

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
    std::map<const ProjectorRecord*, unsigned> foundBy;
    int helloResult = 0;
    int secondaryResult = 0;
    {
        CSearchController search(projectors, nullptr, targets);
        search.Start();
        search.WaitForEnd();
        helloResult = search.HelloResult();
        secondaryResult = search.SecondaryResult();
        for (const AppendedRecord& appended : search.Appended()) {
            foundBy[appended.record] |= BitOf(appended.foundBy);
        }
    }
    RemoveDuplicates(projectors, [&](const ProjectorRecord& kept, const ProjectorRecord& removed) {
        foundBy[&kept] |= foundBy[&removed];
        foundBy.erase(&removed);
    });
    SearchResult result;
    result.helloRan = helloResult != -1;
    result.secondaryRan = secondaryResult != -1;
    projectors.ForEach([&](std::size_t, const ProjectorRecord& record) {
        const auto by = foundBy.find(&record);
        result.found.push_back({std::string(TextOf(record.address)),
                                std::string(TextOf(record.projectorName)), record.imType,
                                by == foundBy.end() ? 0U : by->second});
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
