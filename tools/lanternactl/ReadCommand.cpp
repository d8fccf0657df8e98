#include <ostream>

#include "tools/lanternactl/Commands.h"
#include "tools/lanternactl/FileCommandSupport.h"
#include "tools/lanternactl/ProjectorSession.h"
#include "tools/lanternactl/RecordJson.h"
#include "tools/lanternactl/TextSafety.h"

namespace lanterna::cli {

namespace {

constexpr std::string_view kName = "read";

// One "field: value" line per field of the record's JSON form; the projector's texts with their
// control bytes escaped.
void PrintListing(std::ostream& out, const ProjectorRecord& record) {
    const nlohmann::ordered_json json = RecordToJson(record);
    for (const auto& [key, value] : json.items()) {
        out << key << ": "
            << (value.is_string() ? TerminalText(value.get<std::string>()) : value.dump()) << "\n";
    }
}

int RunRead(CliContext& context, CliArgs args) {
    SessionOptions options;
    std::vector<std::string> rest;
    if (!TakeSessionOptions(context, kName, args, options, rest)) {
        return kExitUsage;
    }
    bool json = false;
    std::vector<std::string> positional;
    for (const std::string& arg : rest) {
        if (arg == "--json") {
            json = true;
        } else {
            positional.push_back(arg);
        }
    }
    if (positional.size() != 1) {
        context.err << "lanternactl read: usage: lanternactl " << kReadCommand.usage << "\n";
        return kExitUsage;
    }
    ApplicationState state;
    if (!SelectAddress(context, kName, state, positional[0])) {
        return kExitUsage;
    }
    CWorkerRunner runner(context);
    const int opened = OpenProjector(context, kName, state, runner, options, 1);
    if (opened != kExitOk) {
        return opened;
    }
    const ProjectorRecord& record = *state.SelectedRecord();
    if (json) {
        context.out << DumpJson(RecordToJson(record)) << "\n";
    } else {
        PrintListing(context.out, record);
    }
    CloseLink(state);
    return kExitOk;
}

}  // namespace

const CliCommand kReadCommand{
    "read", "read ADDRESS [--json] [--password-file FILE]",
    "Read every network setting of a projector (password from --password-file, "
    "LANTERNA_PASSWORD or the terminal).",
    &RunRead};

}  // namespace lanterna::cli
