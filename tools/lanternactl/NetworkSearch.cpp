#include "tools/lanternactl/NetworkSearch.h"

#include <algorithm>
#include <map>
#include <ostream>

#include "discovery/RemoveDuplicates.h"
#include "discovery/SearchController.h"
#include "record/DottedAddress.h"

namespace lanterna::cli {

namespace {

unsigned BitOf(SearchKind kind) {
    return kind == SearchKind::kHello ? kFoundByHello : kFoundBySecondary;
}

}  // namespace

std::string_view FoundByText(unsigned foundBy) {
    switch (foundBy) {
        case kFoundByHello:
            return "hello";
        case kFoundBySecondary:
            return "secondary";
        default:
            return "both";
    }
}

bool AddressBefore(std::string_view a, std::string_view b) {
    Octets first{};
    Octets second{};
    if (ScanDottedInto(a, first) == 4 && ScanDottedInto(b, second) == 4 && first != second) {
        return first < second;
    }
    return a < b;
}

std::vector<FoundProjector> SearchNetwork(CliContext& context, std::string_view command,
                                          bool& ran) {
    ProjectorList projectors;
    std::map<const ProjectorRecord*, unsigned> foundBy;
    int helloResult = 0;
    int secondaryResult = 0;
    {
        CSearchController search(projectors, nullptr, context.network.search);
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
    if (helloResult == -1) {
        context.err << "lanternactl " << command << ": the hello search could not run (UDP port "
                    << context.network.search.hello.localPort
                    << " taken, or no route for a broadcast)\n";
    }
    if (secondaryResult == -1) {
        context.err << "lanternactl " << command << ": the secondary search could not run\n";
    }
    ran = !(helloResult == -1 && secondaryResult == -1);
    std::vector<FoundProjector> found;
    projectors.ForEach([&](std::size_t, const ProjectorRecord& record) {
        const auto by = foundBy.find(&record);
        found.push_back({std::string(TextOf(record.address)),
                         std::string(TextOf(record.projectorName)), record.imType,
                         by == foundBy.end() ? 0U : by->second});
    });
    std::stable_sort(found.begin(), found.end(), [](const auto& a, const auto& b) {
        if (a.address != b.address) {
            return AddressBefore(a.address, b.address);
        }
        return a.name < b.name;
    });
    return found;
}

}  // namespace lanterna::cli
