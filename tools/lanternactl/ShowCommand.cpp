#include <ostream>

#include "platform/ProfileFile.h"
#include "settings/SettingsFile.h"
#include "tools/lanternactl/Commands.h"
#include "tools/lanternactl/FileCommandSupport.h"
#include "tools/lanternactl/RecordJson.h"

namespace lanterna::cli {

namespace {

int RunShow(CliContext& context, CliArgs args) {
    if (args.size() != 1) {
        context.err << "lanternactl show: expects one settings file (show FILE.ini)\n";
        return kExitUsage;
    }
    ProfileDocument document;
    if (!LoadInputFile(context, "show", args[0], document)) {
        return kExitFailed;
    }
    ProjectorRecord record{};
    const int result = ReadSettingsDocument(record, document);
    nlohmann::ordered_json output = nlohmann::ordered_json::object();
    output["result"] = result;
    output["record"] = RecordToJson(record);
    context.out << DumpJson(output) << "\n";
    return kExitOk;
}

}  // namespace

const CliCommand kShowCommand{"show", &RunShow};

}  // namespace lanterna::cli
