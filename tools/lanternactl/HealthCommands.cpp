#include <ostream>

#include "fleet/JobRunner.h"
#include "resources/StringIds.h"

#include "tools/lanternactl/CommandHelp.h"
#include "tools/lanternactl/Commands.h"
#include "tools/lanternactl/CsvText.h"
#include "tools/lanternactl/FileCommandSupport.h"
#include "tools/lanternactl/FleetCommand.h"
#include "tools/lanternactl/FleetReport.h"
#include "tools/lanternactl/FleetWords.h"
#include "tools/lanternactl/HealthSupport.h"
#include "tools/lanternactl/TextSafety.h"

namespace lanterna::cli {

std::unique_ptr<CPasswords> LoadPjlinkPasswords(CliContext& context, std::string_view command,
                                                const CParsedArgs& parsed) {
    auto book = std::make_unique<CPasswords>(context, command);
    if (const auto path = parsed.Value("--pjlink-passwords"); path && !book->LoadBook(*path)) {
        return nullptr;
    }
    if (!TakeKeyringOption(context, command, parsed, *book)) {
        return nullptr;
    }
    return book;
}

std::optional<std::string> PjlinkPasswordOf(const CPasswords& book, const std::string& address) {
    if (auto entry = book.BookEntry(address)) {
        return entry;
    }
    return book.Keyring() != nullptr ? book.Keyring()->FindPjlink(address) : std::nullopt;
}

std::vector<fleet::HealthOfTarget> ReadHealthWith(CliContext& context, const CPasswords& book,
                                                  const std::vector<std::string>& addresses,
                                                  long jobs) {
    return fleet::ReadHealthOf(
        addresses, context.network,
        [&book](const std::string& address) { return PjlinkPasswordOf(book, address); },
        static_cast<int>(jobs));
}

namespace {

constexpr std::string_view kStatusCommandName = "status";
constexpr std::string_view kPowerCommandName = "power";

// The targets' addresses, after a message when there are none or they cannot be expanded.
int AddressesOf(CliContext& context, std::string_view command, const CParsedArgs& parsed,
                std::vector<std::string> words, std::vector<std::string>& addresses) {
    TargetRequest request = RequestOf(parsed, std::move(words));
    request.pjlinkOnlyToo = true;
    if (request.words.empty() && !request.all && !request.file) {
        PrintUsageError(context.err, command);
        return kExitUsage;
    }
    std::vector<Target> targets;
    if (const int status = ExpandTargets(context, command, request, targets); status != kExitOk) {
        return status;
    }
    for (const Target& target : targets) {
        addresses.push_back(target.address);
    }
    return kExitOk;
}

int RunStatus(CliContext& context, CliArgs args) {
    CParsedArgs parsed;
    long jobs = fleet::kDefaultJobs;
    if (!ParseCommand(context, kStatusCommandName, args, parsed) ||
        !NumberOption(context, kStatusCommandName, parsed, "--jobs", 1, fleet::kMaxJobs, jobs)) {
        return kExitUsage;
    }
    const bool json = parsed.Has("--json");
    const bool csv = parsed.Has("--csv");
    std::vector<std::string> addresses;
    if (json && csv) {
        PrintUsageError(context.err, kStatusCommandName);
        return kExitUsage;
    }
    if (const int status =
            AddressesOf(context, kStatusCommandName, parsed, parsed.positional, addresses);
        status != kExitOk) {
        return status;
    }
    const auto book = LoadPjlinkPasswords(context, kStatusCommandName, parsed);
    if (!book) {
        return kExitFailed;
    }
    const std::vector<fleet::HealthOfTarget> results =
        ReadHealthWith(context, *book, addresses, jobs);
    const auto columns = fleet::StatusColumns();
    std::vector<std::vector<std::string>> rows;
    auto array = nlohmann::ordered_json::array();
    int exit = kExitOk;
    for (const fleet::HealthOfTarget& result : results) {
        rows.push_back(fleet::StatusRow(result));
        nlohmann::ordered_json object = nlohmann::ordered_json::object();
        for (std::size_t column = 0; column < columns.size(); ++column) {
            object[std::string(columns[column])] = rows.back()[column];
        }
        array.push_back(std::move(object));
        if (result.read.error != pjlink::LinkError::kNone) {
            exit = kExitFailed;
        }
    }
    if (json) {
        context.out << DumpJson(array) << "\n";
    } else if (csv) {
        PrintCsvRow(context.out, std::vector<std::string>(columns.begin(), columns.end()));
        for (const auto& row : rows) {
            PrintCsvRow(context.out, row);
        }
    } else {
        std::vector<std::string> header;
        for (const std::string_view column : columns) {
            header.emplace_back(column);
        }
        rows.insert(rows.begin(), header);
        for (auto& row : rows) {
            for (auto& cell : row) {
                cell = TerminalText(cell);
            }
        }
        PrintTable(context.out, rows);
    }
    return exit;
}

// Whether the user agrees to switch `count` projectors; --yes agrees at once, and without a
// terminal there is nobody to ask.
bool Confirmed(CliContext& context, const CParsedArgs& parsed, bool on, std::size_t count) {
    if (parsed.Has("--yes")) {
        return true;
    }
    if (!context.askLine) {
        PrintCommandError(context, kPowerCommandName, Words(kStringPowerNobodyToAsk));
        return false;
    }
    const auto answer =
        context.askLine(on ? CountWords(count, kStringPowerAskOnOne, kStringPowerAskOn)
                           : CountWords(count, kStringPowerAskOffOne, kStringPowerAskOff));
    if (answer && (*answer == "y" || *answer == "Y" || *answer == "yes")) {
        return true;
    }
    PrintCommandError(context, kPowerCommandName,
                      Words(answer ? kStringPowerNothingSwitched : kStringPowerNobodyToAsk));
    return false;
}

int RunPower(CliContext& context, CliArgs args) {
    CParsedArgs parsed;
    long jobs = fleet::kDefaultJobs;
    if (!ParseCommand(context, kPowerCommandName, args, parsed) ||
        !NumberOption(context, kPowerCommandName, parsed, "--jobs", 1, fleet::kMaxJobs, jobs)) {
        return kExitUsage;
    }
    const std::vector<std::string>& words = parsed.positional;
    if (words.empty() || (words[0] != "on" && words[0] != "off")) {
        PrintUsageError(context.err, kPowerCommandName);
        return kExitUsage;
    }
    const bool on = words[0] == "on";
    std::vector<std::string> addresses;
    if (const int status =
            AddressesOf(context, kPowerCommandName, parsed,
                        std::vector<std::string>(words.begin() + 1, words.end()), addresses);
        status != kExitOk) {
        return status;
    }
    const auto book = LoadPjlinkPasswords(context, kPowerCommandName, parsed);
    if (!book) {
        return kExitFailed;
    }
    if (parsed.Has("--dry-run")) {
        for (const std::string& address : addresses) {
            context.out << address << ": would send %1POWR " << (on ? "1" : "0") << "\n";
        }
        return kExitOk;
    }
    if (!Confirmed(context, parsed, on, addresses.size())) {
        return kExitFailed;
    }
    const auto results = fleet::SetPowerOf(
        addresses, context.network,
        [&book](const std::string& address) { return PjlinkPasswordOf(*book, address); }, on,
        static_cast<int>(jobs));
    int exit = kExitOk;
    for (const fleet::PowerOfTarget& result : results) {
        context.out << result.address << ": " << fleet::PowerOutcomeKey(result.outcome) << "\n";
        if (result.outcome.result != pjlink::PowerResult::kDone) {
            exit = kExitFailed;
        }
    }
    return exit;
}

}  // namespace

const CliCommand kStatusCommand{"status", &RunStatus};
const CliCommand kPowerCommand{"power", &RunPower};

}  // namespace lanterna::cli
