#include <ostream>

#include "fleet/History.h"
#include "fleet/RecordFacts.h"
#include "resources/StringIds.h"
#include "tools/lanternactl/CommandHelp.h"
#include "tools/lanternactl/Commands.h"
#include "tools/lanternactl/FileCommandSupport.h"
#include "tools/lanternactl/FleetCommand.h"
#include "tools/lanternactl/FleetWords.h"
#include "tools/lanternactl/ProjectorHistory.h"
#include "tools/lanternactl/TextSafety.h"

namespace lanterna::cli {

namespace {

constexpr std::string_view kHistoryCommandName = "history";

// The commands of a change-log line, WEP keys masked unless `showSecrets`.
std::vector<std::string> SentShown(const fleet::ChangeLine& change, bool showSecrets) {
    std::vector<std::string> sent;
    for (const std::string& command : change.sent) {
        sent.push_back(showSecrets ? command : fleet::MaskedCommand(command));
    }
    return sent;
}

nlohmann::ordered_json HistoryJson(const std::vector<std::string>& macs,
                                   const std::vector<fleet::KeptWrite>& kept,
                                   const std::vector<fleet::ChangeLine>& changes,
                                   bool showSecrets) {
    auto addresses = nlohmann::ordered_json::array();
    for (const std::string& mac : macs) {
        if (!mac.empty()) {
            addresses.push_back(fleet::MacText(mac));
        }
    }
    auto entries = nlohmann::ordered_json::array();
    for (const fleet::KeptWrite& write : kept) {
        entries.push_back({{"number", write.number},
                           {"time", write.entry.time},
                           {"hardwareAddress", fleet::MacText(write.mac)},
                           {"file", write.entry.path}});
    }
    auto lines = nlohmann::ordered_json::array();
    for (const fleet::ChangeLine& change : changes) {
        lines.push_back({{"time", change.time},
                         {"address", change.address},
                         {"name", change.name},
                         {"sent", SentShown(change, showSecrets)},
                         {"outcome", change.outcome},
                         {"who", change.who}});
    }
    return {{"hardwareAddresses", addresses}, {"kept", entries}, {"changes", lines}};
}

void PrintHistory(CliContext& context, const std::vector<fleet::KeptWrite>& kept,
                  const std::vector<fleet::ChangeLine>& changes, bool showSecrets) {
    context.out << Words(kStringKeptHeading) << "\n";
    if (kept.empty()) {
        context.out << "  " << Words(kStringNoneKept) << "\n";
    }
    for (const fleet::KeptWrite& write : kept) {
        context.out << "  " << write.number << "  " << HistoryTimeWords(write.entry.time) << "  "
                    << TerminalText(write.entry.path) << "\n";
    }
    context.out << Words(kStringChangeLogHeading) << "\n";
    if (changes.empty()) {
        context.out << "  " << Words(kStringNoneKept) << "\n";
    }
    for (const fleet::ChangeLine& change : changes) {
        std::string sent;
        for (const std::string& command : SentShown(change, showSecrets)) {
            sent += (sent.empty() ? "" : "; ") + command;
        }
        context.out << "  " << HistoryTimeWords(change.time) << "  "
                    << TerminalText(change.address) << "  "
                    << TerminalText(change.name.empty() ? "-" : change.name) << "  "
                    << TerminalText(change.who.empty() ? "-" : change.who) << "  "
                    << TerminalText(change.outcome) << "  " << TerminalText(sent) << "\n";
    }
}

int RunHistory(CliContext& context, CliArgs args) {
    CParsedArgs parsed;
    if (!ParseCommand(context, kHistoryCommandName, args, parsed)) {
        return kExitUsage;
    }
    if (parsed.positional.size() != 1) {
        PrintUsageError(context.err, kHistoryCommandName);
        return kExitUsage;
    }
    const auto target = TakeHistoryTarget(context, kHistoryCommandName, parsed.positional[0]);
    if (!target) {
        return kExitUsage;
    }
    // An address is read to learn whose history it is; a hardware address names it.
    std::optional<fleet::SiteReading> reading;
    if (std::holds_alternative<fleet::AddressTarget>(*target)) {
        CPasswords passwords(context, kHistoryCommandName);
        if (!LoadPasswordOptions(context, kHistoryCommandName, parsed, passwords)) {
            return kExitFailed;
        }
        reading = ReadHistoryProjector(context, kHistoryCommandName, parsed, *target, passwords,
                                       false);
        if (!reading) {
            return kExitFailed;
        }
    }
    const std::vector<std::string> macs = HistoryMacs(*target, reading ? &*reading : nullptr);
    const fleet::CHistory history(fleet::HistoryFolder(context.environment));
    const std::vector<fleet::KeptWrite> kept = fleet::KeptWrites(history, macs);
    const std::vector<fleet::ChangeLine> changes = fleet::ChangeLines(history, macs);
    if (kept.empty() && changes.empty()) {
        PrintNothingKept(context, kHistoryCommandName, macs, history.Folder());
        return kExitFailed;
    }
    const bool showSecrets = parsed.Has("--show-secrets");
    if (parsed.Has("--json")) {
        context.out << DumpJson(HistoryJson(macs, kept, changes, showSecrets)) << "\n";
    } else {
        PrintHistory(context, kept, changes, showSecrets);
    }
    return kExitOk;
}

}  // namespace

const CliCommand kHistoryCommand{"history", &RunHistory};

}  // namespace lanterna::cli
