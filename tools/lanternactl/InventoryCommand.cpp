#include <ostream>

#include "fleet/InventoryRows.h"
#include "tools/lanternactl/CommandHelp.h"
#include "tools/lanternactl/Commands.h"
#include "tools/lanternactl/CsvText.h"
#include "tools/lanternactl/FileCommandSupport.h"
#include "tools/lanternactl/FleetCommand.h"
#include "tools/lanternactl/HealthSupport.h"
#include "tools/lanternactl/ReadReports.h"
#include "tools/lanternactl/TextSafety.h"

namespace lanterna::cli {

namespace {

constexpr std::string_view kInventoryCommandName = "inventory";

int RunInventory(CliContext& context, CliArgs args) {
    CParsedArgs parsed;
    long jobs = 0;
    long type = -1;
    if (!ParseCommand(context, kInventoryCommandName, args, parsed) ||
        !TakeJobsAndType(context, kInventoryCommandName, parsed, jobs, type)) {
        return kExitUsage;
    }
    const bool json = parsed.Has("--json");
    const bool settable = parsed.Has("--settable");
    const bool csv = parsed.Has("--csv") || settable;
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
    const auto pjlinkBook = settable ? nullptr
                                     : LoadPjlinkPasswords(context, kInventoryCommandName, parsed);
    if (!settable && !pjlinkBook) {
        return kExitFailed;
    }
    const std::vector<ReadTarget> results =
        ReadTargets(context, kInventoryCommandName, std::move(targets), false, passwords, jobs);
    std::vector<std::string> columns =
        settable ? fleet::SettableColumns()
                 : std::vector<std::string>(fleet::InventoryColumns().begin(),
                                            fleet::InventoryColumns().end());
    // The settable form is read back by provision: it keeps to the settings.
    std::vector<fleet::HealthOfTarget> health;
    if (!settable) {
        columns.insert(columns.end(), fleet::InventoryHealthColumns().begin(),
                       fleet::InventoryHealthColumns().end());
        std::vector<std::string> addresses;
        for (const ReadTarget& result : results) {
            addresses.push_back(result.report.address);
        }
        health = ReadHealthWith(context, *pjlinkBook, addresses, jobs);
    }
    int status = kExitOk;
    std::vector<std::vector<std::string>> rows;
    auto array = nlohmann::ordered_json::array();
    for (std::size_t index = 0; index < results.size(); ++index) {
        const ReadTarget& result = results[index];
        // A target that was not read keeps its row, with its status and nothing else (in the
        // settable form not even its name, so that the row read back gives nothing).
        if (!result.record) {
            status = kExitFailed;
            if (!json) {
                context.err << "lanternactl inventory: " << result.report.address << ": "
                            << OutcomeWord(result.report.outcome) << ": "
                            << TerminalText(result.report.message) << "\n";
            }
            rows.push_back(
                settable ? fleet::SettableRowNotRead(result.report.address, result.report.outcome)
                         : fleet::InventoryRowNotRead(result.report.address, result.report.name,
                                                      result.report.outcome));
        } else {
            rows.push_back(settable ? fleet::SettableRow(result.report.address, *result.record)
                                    : fleet::InventoryRow(result.report.address, *result.record,
                                                          result.passwordSet));
        }
        if (index < health.size()) {
            const auto cells = fleet::InventoryHealthCells(health[index].read);
            rows.back().insert(rows.back().end(), cells.begin(), cells.end());
        }
        nlohmann::ordered_json object = nlohmann::ordered_json::object();
        for (std::size_t column = 0; column < columns.size(); ++column) {
            object[std::string(columns[column])] = rows.back()[column];
        }
        if (!result.record) {
            object["message"] = result.report.message;
        }
        array.push_back(std::move(object));
    }
    if (json) {
        context.out << DumpJson(array) << "\n";
    } else if (csv) {
        PrintCsvRow(context.out, columns);
        for (const auto& row : rows) {
            PrintCsvRow(context.out, row);
        }
    } else {
        const std::size_t healthColumns = settable ? 0 : fleet::InventoryHealthColumns().size();
        for (auto& row : rows) {
            for (std::size_t cell = row.size() - healthColumns; cell < row.size(); ++cell) {
                if (row[cell].empty()) {
                    row[cell] = fleet::kNotReportedMark;
                }
            }
        }
        rows.insert(rows.begin(), columns);
        PrintTable(context.out, rows);
    }
    return status;
}

}  // namespace

const CliCommand kInventoryCommand{"inventory", &RunInventory};

}  // namespace lanterna::cli
