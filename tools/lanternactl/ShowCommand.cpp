#include <ostream>

#include "platform/ProfileFile.h"
#include "platform/UserLanguage.h"
#include "settings/SettingsFileCheck.h"
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
    const SettingsFileProblem problem = ReadCheckedSettings(document, record);
    nlohmann::ordered_json output = nlohmann::ordered_json::object();
    output["result"] = problem ? 0 : 1;
    if (problem) {
        output["problem"] = SettingsFileProblemText(problem, UserLanguage());
    }
    output["record"] = RecordToJson(record);
    context.out << DumpJson(output) << "\n";
    return kExitOk;
}

}  // namespace

const CliCommand kShowCommand{"show", &RunShow};

}  // namespace lanterna::cli
