#include <ostream>

#include "tools/lanternactl/CommandHelp.h"
#include "tools/lanternactl/Commands.h"
#include "tools/lanternactl/CsvText.h"
#include "tools/lanternactl/FileCommandSupport.h"
#include "tools/lanternactl/FleetCommand.h"
#include "tools/lanternactl/FleetReport.h"
#include "tools/lanternactl/TargetRequest.h"

namespace lanterna::cli {

namespace {

constexpr std::string_view kDiscoverCommandName = "discover";

using fleet::FoundProjector;

// "hello", "secondary" or "both", with "+pjlink" when PJLink answered too; "pjlink" alone.
std::string FoundByText(unsigned foundBy) {
    std::string text;
    switch (foundBy & (fleet::kFoundByHello | fleet::kFoundBySecondary)) {
        case fleet::kFoundByHello:
            text = "hello";
            break;
        case fleet::kFoundBySecondary:
            text = "secondary";
            break;
        case 0:
            break;
        default:
            text = "both";
            break;
    }
    if ((foundBy & fleet::kFoundByPjlink) != 0) {
        text += text.empty() ? "pjlink" : "+pjlink";
    }
    return text;
}

std::vector<std::string> RowOf(const FoundProjector& found) {
    return {found.address, found.name, std::to_string(found.imType),
            FoundByText(found.foundBy)};
}

int RunDiscover(CliContext& context, CliArgs args) {
    CParsedArgs parsed;
    if (!ParseCommand(context, kDiscoverCommandName, args, parsed)) {
        return kExitUsage;
    }
    const bool json = parsed.Has("--json");
    const bool csv = parsed.Has("--csv");
    if (!parsed.positional.empty() || (json && csv)) {
        PrintUsageError(context.err, kDiscoverCommandName);
        return kExitUsage;
    }
    const fleet::SearchResult search = SearchOnCommandLine(context, kDiscoverCommandName);
    const std::vector<FoundProjector>& found = search.found;
    if (json) {
        auto array = nlohmann::ordered_json::array();
        for (const FoundProjector& projector : found) {
            nlohmann::ordered_json object = nlohmann::ordered_json::object();
            object["address"] = projector.address;
            object["name"] = projector.name;
            object["imType"] = projector.imType;
            object["foundBy"] = FoundByText(projector.foundBy);
            array.push_back(std::move(object));
        }
        context.out << DumpJson(array) << "\n";
    } else if (csv) {
        PrintCsvRow(context.out, {"address", "name", "imType", "foundBy"});
        for (const FoundProjector& projector : found) {
            PrintCsvRow(context.out, RowOf(projector));
        }
    } else {
        std::vector<std::vector<std::string>> rows{{"ADDRESS", "NAME", "TYPE", "FOUND BY"}};
        for (const FoundProjector& projector : found) {
            rows.push_back(RowOf(projector));
        }
        PrintTable(context.out, rows);
    }
    // The hello search is the one that finds every projector and its module type: without it
    // the list is not the network's, whatever the secondary search found.
    return search.helloRan ? kExitOk : kExitFailed;
}

}  // namespace

const CliCommand kDiscoverCommand{"discover", &RunDiscover};

}  // namespace lanterna::cli
