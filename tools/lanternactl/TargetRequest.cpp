#include "tools/lanternactl/TargetRequest.h"

#include <ostream>

#include "tools/lanternactl/FileCommandSupport.h"
#include "tools/lanternactl/TextSafety.h"

namespace lanterna::cli {

namespace {

// kExitOk for no problem, else kExitUsage after its message; `where` prefixes the word's.
int TellTargetProblem(CliContext& context, std::string_view command, fleet::TargetProblem problem,
                      std::string_view where, std::string_view word) {
    switch (problem) {
        case fleet::TargetProblem::kNone:
            return kExitOk;
        case fleet::TargetProblem::kNotAddressOrRange:
            context.err << "lanternactl " << command << ": " << where << "'" << TerminalText(word)
                        << "' is neither an address nor a range such as 10.1.2.10-40\n";
            return kExitUsage;
        case fleet::TargetProblem::kTooMany:
            context.err << "lanternactl " << command << ": more than " << fleet::kMaxTargets
                        << " targets\n";
            return kExitUsage;
    }
    return kExitUsage;
}

int AddFile(CliContext& context, std::string_view command, const std::string& path,
            fleet::CTargetList& list) {
    std::string content;
    if (!ReadInputFile(context, command, path, fleet::kTargetsFileMaxBytes, content, true)) {
        return kExitFailed;
    }
    fleet::TargetLine bad;
    const fleet::TargetProblem problem = list.AddLines(content, bad);
    const std::string where = (path == "-" ? std::string("standard input") : path) + ":" +
                              std::to_string(bad.number) + ": ";
    return TellTargetProblem(context, command, problem, where, bad.text);
}

}  // namespace

bool IsSingleTarget(const TargetRequest& request) {
    return !request.all && !request.file && request.words.size() == 1 &&
           request.words[0].find('-') == std::string::npos;
}

fleet::SearchResult SearchOnCommandLine(CliContext& context, std::string_view command) {
    fleet::SearchResult result = fleet::SearchNetwork(context.network.search);
    if (!result.helloRan) {
        context.err << "lanternactl " << command << ": the hello search could not run (UDP port "
                    << context.network.search.hello.localPort
                    << " taken, or no route for a broadcast)\n";
    }
    if (!result.secondaryRan) {
        context.err << "lanternactl " << command << ": the secondary search could not run\n";
    }
    return result;
}

int ExpandTargets(CliContext& context, std::string_view command, const TargetRequest& request,
                  std::vector<Target>& targets) {
    fleet::CTargetList list(targets);
    for (const std::string& word : request.words) {
        if (const int status = TellTargetProblem(context, command, list.AddWord(word), "", word);
            status != kExitOk) {
            return status;
        }
    }
    if (request.file) {
        if (const int status = AddFile(context, command, *request.file, list); status != kExitOk) {
            return status;
        }
    }
    if (request.all) {
        const fleet::SearchResult search = SearchOnCommandLine(context, command);
        for (const fleet::FoundProjector& found : search.found) {
            if (found.OnlyPjlink() && !request.pjlinkOnlyToo) {
                continue;
            }
            if (const int status =
                    TellTargetProblem(context, command, list.Add(fleet::TargetOf(found)), "", "");
                status != kExitOk) {
                return status;
            }
        }
        if (!search.Ran()) {
            return kExitFailed;
        }
    }
    if (targets.empty()) {
        context.err << "lanternactl " << command << ": no target (give addresses, ranges, "
                    << "--targets FILE or --all)\n";
        return request.all ? kExitFailed : kExitUsage;
    }
    return kExitOk;
}

}  // namespace lanterna::cli
