#include <ostream>

#include "record/RecordSlots.h"
#include "tools/lanternactl/CommandHelp.h"
#include "tools/lanternactl/Commands.h"
#include "tools/lanternactl/CsvText.h"
#include "tools/lanternactl/FileCommandSupport.h"
#include "tools/lanternactl/FleetCommand.h"
#include "tools/lanternactl/ReadFlow.h"
#include "tools/lanternactl/RecordFacts.h"
#include "tools/lanternactl/TextSafety.h"

namespace lanterna::cli {

namespace {

constexpr std::string_view kInventoryCommandName = "inventory";

const std::vector<std::string> kColumns = {
    "address",   "name",       "hardwareAddress", "interface",
    "dhcp",      "subnetMask", "gateway",         "dns",
    "mail",      "smtpServer", "recipients",      "trapAddresses",
    "community", "essid",      "security",        "password"};

std::string Addresses(const Octets& first, const Octets& second) {
    std::string text;
    for (const Octets* address : {&first, &second}) {
        if (!IsZeroAddress(*address)) {
            text += (text.empty() ? "" : " ") + FormatDotted(*address);
        }
    }
    return text;
}

std::vector<std::string> RowOf(const ReadTarget& target) {
    const ProjectorRecord& r = *target.record;
    const bool wireless = r.wirelessActive != 0;
    const bool mail = r.mailNotify == 1;
    return {target.report.address,
            std::string(TextOf(r.projectorName)),
            MacText(TextOf(r.macAddress)),
            wireless ? "wireless" : "wired",
            r.dhcp != 0 ? "on" : "off",
            r.dhcp != 0 ? "" : FormatDotted(r.subnetMask),
            r.dhcp != 0 ? "" : FormatDotted(r.gateway),
            Addresses(r.dns1, r.dns2),
            mail ? "on" : "off",
            mail ? FormatDotted(r.smtpServer) : "",
            mail ? RecipientsText(r) : "",
            Addresses(r.trapAddress1, r.trapAddress2),
            std::string(TextOf(r.community)),
            wireless ? std::string(TextOf(r.essid)) : "",
            SecurityText(r),
            target.passwordSet ? "set" : "none"};
}

int RunInventory(CliContext& context, CliArgs args) {
    CParsedArgs parsed;
    long jobs = 0;
    long type = -1;
    if (!ParseCommand(context, kInventoryCommandName, args, parsed) ||
        !TakeJobsAndType(context, kInventoryCommandName, parsed, jobs, type)) {
        return kExitUsage;
    }
    const bool json = parsed.Has("--json");
    const bool csv = parsed.Has("--csv");
    const TargetRequest request = RequestOf(parsed, parsed.positional);
    if ((request.words.empty() && !request.all && !request.file) || (json && csv)) {
        PrintUsageError(context.err, kInventoryCommandName);
        return kExitUsage;
    }
    std::vector<Target> targets;
    if (const int status = ExpandTargets(context, kInventoryCommandName, request, targets);
        status != kExitOk) {
        return status;
    }
    ForceType(targets, type);
    CPasswords passwords(context, kInventoryCommandName);
    if (!LoadPasswordOptions(context, kInventoryCommandName, parsed, passwords)) {
        return kExitFailed;
    }
    const std::vector<ReadTarget> results =
        ReadTargets(context, kInventoryCommandName, std::move(targets), false, passwords, jobs);
    int status = kExitOk;
    std::vector<std::vector<std::string>> rows;
    auto array = nlohmann::ordered_json::array();
    for (const ReadTarget& result : results) {
        if (!result.record) {
            status = kExitFailed;
            if (json) {
                array.push_back({{"address", result.report.address},
                                 {"outcome", OutcomeKey(result.report.outcome)},
                                 {"message", result.report.message}});
            } else {
                context.err << "lanternactl inventory: " << result.report.address << ": "
                            << OutcomeWord(result.report.outcome) << ": "
                            << TerminalText(result.report.message) << "\n";
            }
            continue;
        }
        rows.push_back(RowOf(result));
        nlohmann::ordered_json object = nlohmann::ordered_json::object();
        for (std::size_t column = 0; column < kColumns.size(); ++column) {
            object[kColumns[column]] = rows.back()[column];
        }
        array.push_back(std::move(object));
    }
    if (json) {
        context.out << DumpJson(array) << "\n";
    } else if (csv) {
        PrintCsvRow(context.out, kColumns);
        for (const auto& row : rows) {
            PrintCsvRow(context.out, row);
        }
    } else {
        rows.insert(rows.begin(), kColumns);
        PrintTable(context.out, rows);
    }
    return status;
}

}  // namespace

const CliCommand kInventoryCommand{"inventory", &RunInventory};

}  // namespace lanterna::cli
