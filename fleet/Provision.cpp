#include "fleet/Provision.h"

#include <map>
#include <optional>

#include "fleet/CsvRows.h"

namespace lanterna::fleet {

namespace {

enum class ColumnRole { kHardwareAddress, kAddress, kField, kStatus };

struct ProvisionColumn {
    ColumnRole role = ColumnRole::kField;
    std::string name;
};

std::optional<std::vector<ProvisionColumn>> ColumnsOf(const CsvRow& header,
                                                      std::vector<ProvisionProblem>& problems) {
    std::vector<ProvisionColumn> columns;
    bool known = true;
    for (const std::string& cell : header.cells) {
        ProvisionColumn column{ColumnRole::kField, CellValue(cell)};
        if (column.name == kHardwareAddressColumn) {
            column.role = ColumnRole::kHardwareAddress;
        } else if (column.name == kAddressColumn) {
            column.role = ColumnRole::kAddress;
        } else if (column.name == kStatusColumn) {
            column.role = ColumnRole::kStatus;
        } else if (!IsRecordField(column.name)) {
            problems.push_back({header.line, ProvisionProblemKind::kUnknownColumn, column.name});
            known = false;
        }
        columns.push_back(std::move(column));
    }
    if (!known) {
        return std::nullopt;
    }
    return columns;
}

// The row of `cells`; false (with a problem) when it cannot be matched.
bool TakeRow(const CsvRow& csv, const std::vector<ProvisionColumn>& columns, ProvisionRow& row,
             std::vector<ProvisionProblem>& problems) {
    row.line = csv.line;
    for (std::size_t i = 0; i < columns.size() && i < csv.cells.size(); ++i) {
        std::string value = CellValue(csv.cells[i]);
        if (value.empty()) {
            continue;
        }
        switch (columns[i].role) {
            case ColumnRole::kHardwareAddress: {
                const auto mac = NormalHardwareAddress(value);
                if (!mac) {
                    problems.push_back(
                        {csv.line, ProvisionProblemKind::kBadHardwareAddress, value});
                    return false;
                }
                row.mac = *mac;
                break;
            }
            case ColumnRole::kAddress:
                row.address = std::move(value);
                break;
            case ColumnRole::kField:
                row.assignments.push_back({columns[i].name, std::move(value)});
                break;
            case ColumnRole::kStatus:
                break;
        }
    }
    if (row.mac.empty() && row.address.empty()) {
        problems.push_back({csv.line, ProvisionProblemKind::kNoKey, {}});
        return false;
    }
    return true;
}

std::string StaticAddressOf(const ProvisionRow& row) {
    for (const FieldAssignment& assignment : row.assignments) {
        if (assignment.field == "ipAddress") {
            return assignment.value;
        }
    }
    return {};
}

}  // namespace

bool ProvisionList::Usable() const {
    for (const ProvisionProblem& problem : problems) {
        if (problem.kind == ProvisionProblemKind::kBadFile ||
            problem.kind == ProvisionProblemKind::kUnknownColumn) {
            return false;
        }
    }
    return true;
}

ProvisionList ParseProvisionList(std::string_view text) {
    ProvisionList list;
    std::vector<CsvRow> rows;
    std::size_t badLine = 0;
    if (!ParseCsv(text, rows, badLine)) {
        list.problems.push_back({badLine, ProvisionProblemKind::kBadFile, {}});
        return list;
    }
    if (rows.empty()) {
        return list;
    }
    const auto columns = ColumnsOf(rows.front(), list.problems);
    if (!columns) {
        return list;
    }
    std::map<std::string, std::size_t> keys;       // "mac:..." or "address:..." to its line
    std::map<std::string, std::size_t> addresses;  // a static address given, to its line
    for (std::size_t r = 1; r < rows.size(); ++r) {
        ProvisionRow row;
        if (!TakeRow(rows[r], *columns, row, list.problems)) {
            continue;
        }
        const std::string key = row.mac.empty() ? "address:" + row.address : "mac:" + row.mac;
        if (const auto [at, added] = keys.emplace(key, row.line); !added) {
            list.problems.push_back(
                {row.line, ProvisionProblemKind::kDuplicateRow, {}, at->second});
            continue;
        }
        const std::string address = StaticAddressOf(row);
        if (!address.empty()) {
            if (const auto [at, added] = addresses.emplace(address, row.line); !added) {
                list.problems.push_back(
                    {row.line, ProvisionProblemKind::kDuplicateAddress, address, at->second});
                continue;
            }
        }
        list.rows.push_back(std::move(row));
    }
    return list;
}

std::vector<ProvisionMatch> MatchProvisionRows(const ProvisionList& list,
                                               const std::vector<SiteReading>& readings,
                                               std::vector<ProvisionProblem>& problems) {
    std::vector<ProvisionMatch> matches;
    std::map<std::size_t, std::size_t> takenBy;  // reading to the line of its row
    for (std::size_t r = 0; r < list.rows.size(); ++r) {
        const ProvisionRow& row = list.rows[r];
        std::optional<std::size_t> found;
        for (std::size_t i = 0; i < readings.size() && !found; ++i) {
            const SiteReading& reading = readings[i];
            const bool same = row.mac.empty()
                                  ? reading.record && reading.target.address == row.address
                                  : reading.record && reading.HasMac(row.mac);
            if (same) {
                found = i;
            }
        }
        if (!found) {
            problems.push_back(
                {row.line, ProvisionProblemKind::kNotFound, row.mac.empty() ? row.address : row.mac});
            continue;
        }
        if (const auto [at, added] = takenBy.emplace(*found, row.line); !added) {
            problems.push_back({row.line, ProvisionProblemKind::kDuplicateRow, {}, at->second});
            continue;
        }
        matches.push_back({r, *found});
    }
    return matches;
}

}  // namespace lanterna::fleet
