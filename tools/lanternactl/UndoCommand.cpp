#include <map>
#include <ostream>

#include "fleet/Backup.h"
#include "fleet/History.h"
#include "fleet/SiteDiff.h"
#include "resources/StringIds.h"
#include "tools/lanternactl/CommandHelp.h"
#include "tools/lanternactl/Commands.h"
#include "tools/lanternactl/FleetCommand.h"
#include "tools/lanternactl/FleetWords.h"
#include "tools/lanternactl/ProjectorHistory.h"
#include "tools/lanternactl/TextSafety.h"
#include "tools/lanternactl/WriteCommand.h"

namespace lanterna::cli {

namespace {

constexpr std::string_view kUndoCommandName = "undo";

bool IsUndoKey(std::string_view field) {
    return field.starts_with("wepKey") && field != "wepKeyId";
}

// What the undo brings back, in words: each setting the entry holds that the projector has
// otherwise now.
void PrintUndoDifferences(CliContext& context, const fleet::SiteReading& reading,
                          const fleet::KeptWrite& kept, const ProjectorRecord& before) {
    const std::string name = std::string(TextOf(reading.record->projectorName));
    const std::string projector =
        reading.target.address + " (" + TerminalText(name.empty() ? "-" : name) + ")";
    context.out << Words(kStringUndoHeading, {projector, HistoryTimeWords(kept.entry.time),
                                              std::to_string(kept.number)})
                << "\n";
    const auto differences = fleet::DiffSettings(*reading.record, before);
    if (differences.empty()) {
        context.out << "  " << Words(kStringNothingDiffers) << "\n";
    }
    for (const fleet::SettingDifference& difference : differences) {
        const bool key = IsUndoKey(difference.field);
        const std::string now = difference.hereUnread ? "(not read)"
                                : key                 ? "(a key)"
                                                      : TerminalText(difference.here);
        const std::string then = difference.thereUnread ? "(not kept)"
                                 : key                  ? "(another key)"
                                                        : TerminalText(difference.there);
        context.out << "  " << Words(kStringNowAndBefore, {difference.field, now, then}) << "\n";
    }
    for (const fleet::NotKept what : fleet::NotKeptOf(before, false)) {
        context.out << "  " << Words(kStringNeverKept, {fleet::NotKeptKey(what)}) << "\n";
    }
}

int RunUndo(CliContext& context, CliArgs args) {
    CParsedArgs parsed;
    if (!ParseCommand(context, kUndoCommandName, args, parsed)) {
        return kExitUsage;
    }
    const std::vector<std::string>& words = parsed.positional;
    if (words.empty() || words.size() > 2) {
        PrintUsageError(context.err, kUndoCommandName);
        return kExitUsage;
    }
    const auto target = TakeHistoryTarget(context, kUndoCommandName, words[0]);
    if (!target) {
        return kExitUsage;
    }
    const fleet::CHistory history(fleet::HistoryFolder(context.environment));
    // A hardware address tells what is kept before anything is asked of the network.
    if (const auto* byMac = std::get_if<fleet::HardwareTarget>(&*target);
        byMac != nullptr && fleet::KeptWrites(history, {byMac->mac}).empty()) {
        PrintNothingKept(context, kUndoCommandName, {byMac->mac}, history.Folder());
        return kExitFailed;
    }
    CPasswords passwords(context, kUndoCommandName);
    if (!LoadPasswordOptions(context, kUndoCommandName, parsed, passwords)) {
        return kExitFailed;
    }
    std::vector<fleet::MacClaim> claims;
    const auto reading =
        ReadHistoryProjector(context, kUndoCommandName, parsed, *target, passwords, true, &claims);
    if (!reading) {
        return kExitFailed;
    }
    const std::vector<std::string> macs = HistoryMacs(*target, &*reading);
    const std::vector<fleet::KeptWrite> kept = fleet::KeptWrites(history, macs);
    if (kept.empty()) {
        PrintNothingKept(context, kUndoCommandName, macs, history.Folder());
        return kExitFailed;
    }
    const std::optional<std::string_view> numberWord =
        words.size() == 2 ? std::optional<std::string_view>(words[1]) : std::nullopt;
    const auto index = fleet::UndoIndex(numberWord, kept.size());
    if (!index) {
        PrintCommandError(
            context, kUndoCommandName,
            Words(kStringNotAKeptNumber, {TerminalText(words[1]), std::to_string(kept.size())}));
        return kExitUsage;
    }
    ProjectorRecord before{};
    if (!fleet::ReadHistoryEntry(kept[*index].entry, before)) {
        PrintCommandError(context, kUndoCommandName,
                          TerminalText(kept[*index].entry.path) + ": holds no settings");
        return kExitFailed;
    }
    // Applied only to the projector the entry was kept for, and only while no other claims it:
    // nothing of the entry is shown to another.
    const std::string keptMac = IsEmptyText(before.macAddress)
                                    ? kept[*index].mac
                                    : std::string(TextOf(before.macAddress));
    fleet::GateRun run = fleet::SingleRun(reading->target.address, {}, false);
    run.claims = claims;
    fleet::GateCase identity;
    identity.reported = &*reading->record;
    identity.keptFor = keptMac;
    // The module type where the entry names one.
    if (before.imType != 0) {
        identity.keptForType = before.imType;
    }
    if (const auto refusal = fleet::PassIdentity(run, identity)) {
        PrintCommandError(context, kUndoCommandName,
                          reading->target.address + ": " +
                              WriteRefusalText(*refusal, *reading->record));
        return kExitFailed;
    }
    if (!parsed.Has("--json")) {
        PrintUndoDifferences(context, *reading, kept[*index], before);
    }
    // The entry goes back as a restored settings file does: only what differs is sent, and the
    // write keeps its own before-image, so an undo can itself be undone.
    const std::map<std::string, std::vector<fleet::FieldAssignment>> files{
        {reading->target.address, fleet::RestoringAssignments(before)}};
    WriteCommand write;
    write.command = kUndoCommandName;
    write.job = fleet::AssignmentsJob(files);
    write.job.keptFor = [kept = fleet::KeptFor{keptMac, identity.keptForType}](const Target&) {
        return kept;
    };
    write.job.claims = std::move(claims);
    return RunWriteCommand(context, write, parsed, {reading->target}, false, passwords);
}

}  // namespace

const CliCommand kUndoCommand{"undo", &RunUndo};

}  // namespace lanterna::cli
