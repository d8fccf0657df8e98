#include "fleet/RecordFields.h"
#include "fleet/SiteRead.h"
#include "platform/AsciiCase.h"
#include "resources/StringIds.h"
#include "settings/SettingsFile.h"
#include "tools/lanternactl/CommandHelp.h"
#include "tools/lanternactl/Commands.h"
#include "tools/lanternactl/FileCommandSupport.h"
#include "tools/lanternactl/FleetCommand.h"
#include "tools/lanternactl/TextSafety.h"
#include "tools/lanternactl/WorkerRunner.h"
#include "tools/lanternactl/WriteCommand.h"

namespace lanterna::cli {

namespace {

constexpr std::string_view kApplyCommandName = "apply";

// A file applied whole: every setting it holds is sent, to the projector it was saved from.
WriteCommand WholeFileJob(const ProjectorRecord& file) {
    WriteCommand write;
    write.command = kApplyCommandName;
    write.fileOfOneProjector = true;
    fleet::WriteJob& job = write.job;
    // Everything is read first, so that the settings kept before the write are whole.
    job.readAllSettings = 1;
    job.judgeAgainstRead = false;
    job.expectedMac = std::string(TextOf(file.macAddress));
    job.keptFor = [mac = job.expectedMac](const Target&) { return fleet::KeptFor{mac, {}}; };
    job.build = [&file](const Target&, ProjectorRecord& record) {
        CopySettings(file, record);
        return fleet::BuiltRecord{};
    };
    if (file.dhcp == 0 && file.ipAddressState == kStateRead) {
        job.alsoAsk = FormatDotted(file.ipAddress);
    }
    return write;
}

// A file used as a template: each target keeps its name and addresses; only what differs goes.
WriteCommand TemplateCommand(const ProjectorRecord& file) {
    WriteCommand write;
    write.command = kApplyCommandName;
    write.job = fleet::TemplateJob(file);
    return write;
}

int RunApply(CliContext& context, CliArgs args) {
    CParsedArgs parsed;
    if (!ParseCommand(context, kApplyCommandName, args, parsed)) {
        return kExitUsage;
    }
    std::vector<std::string> words = parsed.positional;
    std::optional<std::string> path = parsed.Value("--template");
    const bool asTemplate = path.has_value();
    if (!asTemplate && !words.empty()) {
        path = words.front();
        words.erase(words.begin());
    }
    const TargetRequest request = RequestOf(parsed, std::move(words));
    if (!path || (request.words.empty() && !request.all && !request.file)) {
        PrintUsageError(context.err, kApplyCommandName);
        return kExitUsage;
    }
    ProjectorRecord file{};
    if (const int status = LoadSettingsForWrite(context, kApplyCommandName, *path, asTemplate, file); status != kExitOk) {
        return status;
    }
    std::vector<Target> targets;
    if (const int status = ExpandTargets(context, kApplyCommandName, request, targets);
        status != kExitOk) {
        return status;
    }
    CPasswords passwords(context, kApplyCommandName);
    if (!LoadPasswordOptions(context, kApplyCommandName, parsed, passwords)) {
        return kExitFailed;
    }
    WriteCommand write = asTemplate ? TemplateCommand(file) : WholeFileJob(file);
    // A file applied whole to several targets goes to neither of two that claim its hardware
    // address: who claims what is read before the first write.
    if (!asTemplate && targets.size() > 1) {
        write.job.claims = fleet::ClaimsOf(
            fleet::ReadSite(context.network, passwords, targets, false, fleet::RunControl{}));
    }
    return RunWriteCommand(context, write, parsed, std::move(targets), IsSingleTarget(request),
                           passwords);
}

}  // namespace

const CliCommand kApplyCommand{"apply", &RunApply};

}  // namespace lanterna::cli
