#include <ostream>

#include "record/ProjectorList.h"
#include "resources/StringTable.h"
#include "settings/MonitorList.h"
#include "tools/lanternactl/Commands.h"
#include "tools/lanternactl/FileCommandSupport.h"
#include "tools/lanternactl/RecordJson.h"

namespace lanterna::cli {

namespace {

int RunImportList(CliContext& context, CliArgs args) {
    if (args.size() != 1) {
        context.err << "lanternactl import-list: expects one list file (import-list FILE.ini)\n";
        return kExitUsage;
    }
    ProfileDocument document;
    if (!LoadInputFile(context, "import-list", args[0], document)) {
        return kExitFailed;
    }
    ProjectorList projectors;
    if (ImportMonitorDocument(document, projectors) == 0) {
        context.err << "lanternactl import-list: " << LoadString(kStringSettingsFileUnreadable)
                    << "\n";
        return kExitFailed;
    }
    // The window keeps the first 64 and says so; the command does the same.
    if (projectors.Size() > ProjectorList::kDisplayLimit) {
        projectors.Truncate(ProjectorList::kDisplayLimit);
        context.err << "lanternactl import-list: " << LoadString(kStringDisplayLimit) << "\n";
    }
    nlohmann::ordered_json added = nlohmann::ordered_json::array();
    projectors.ForEach(
        [&](std::size_t, const ProjectorRecord& record) { added.push_back(RecordToJson(record)); });
    context.out << DumpJson(added) << "\n";
    return kExitOk;
}

}  // namespace

const CliCommand kImportListCommand{"import-list", &RunImportList};

}  // namespace lanterna::cli
