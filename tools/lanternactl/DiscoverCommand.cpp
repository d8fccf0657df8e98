#include <map>
#include <ostream>

#include "discovery/RemoveDuplicates.h"
#include "tools/lanternactl/Commands.h"
#include "tools/lanternactl/DiscoveryCommands.h"
#include "tools/lanternactl/FileCommandSupport.h"
#include "tools/lanternactl/RecordJson.h"
#include "tools/lanternactl/TextSafety.h"

namespace lanterna::cli {

namespace {

// Which searches found a record: bits of SearchKind.
using FoundBy = unsigned;

FoundBy BitOf(SearchKind kind) {
    return kind == SearchKind::kHello ? 1U : 2U;
}

std::string_view FoundByText(FoundBy foundBy) {
    switch (foundBy) {
        case 1U:
            return "hello";
        case 2U:
            return "secondary";
        default:
            return "hello+secondary";
    }
}

void PrintLines(std::ostream& out, const ProjectorList& projectors,
                const std::map<const ProjectorRecord*, FoundBy>& foundBy) {
    projectors.ForEach([&](std::size_t, const ProjectorRecord& record) {
        const auto found = foundBy.find(&record);
        out << TerminalText(TextOf(record.address)) << '\t'
            << TerminalText(TextOf(record.projectorName)) << '\t' << static_cast<int>(record.imType)
            << '\t' << FoundByText(found == foundBy.end() ? 0U : found->second) << '\n';
    });
}

void PrintJson(std::ostream& out, const ProjectorList& projectors) {
    auto array = nlohmann::ordered_json::array();
    projectors.ForEach(
        [&](std::size_t, const ProjectorRecord& record) { array.push_back(RecordToJson(record)); });
    out << DumpJson(array) << '\n';
}

int RunDiscoverCommand(CliContext& context, CliArgs args) {
    return RunDiscover(context, args, SearchTargets{});
}

}  // namespace

int RunDiscover(CliContext& context, CliArgs args, const SearchTargets& targets) {
    const bool json = args.size() == 1 && args[0] == "--json";
    if (!args.empty() && !json) {
        context.err << "lanternactl discover: usage: lanternactl discover [--json]\n";
        return kExitUsage;
    }
    ProjectorList projectors;
    std::map<const ProjectorRecord*, FoundBy> foundBy;
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

    if (helloResult == -1) {
        context.err << "lanternactl discover: the hello search could not run (UDP port "
                    << kProjectorPort << " taken, or no route for a broadcast)\n";
    }
    if (secondaryResult == -1) {
        context.err << "lanternactl discover: the secondary search could not run\n";
    }
    if (json) {
        PrintJson(context.out, projectors);
    } else {
        PrintLines(context.out, projectors, foundBy);
    }
    return helloResult == -1 && secondaryResult == -1 ? kExitFailed : kExitOk;
}

const CliCommand kDiscoverCommand{
    "discover", "discover [--json]",
    "Search the local network for projectors as a refresh does (hello and secondary search, "
    "duplicates removed); one line per projector: address, name, module type, which search "
    "found it; or a JSON array of records.",
    &RunDiscoverCommand};

}  // namespace lanterna::cli
