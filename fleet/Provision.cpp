#include "fleet/Provision.h"

#include <algorithm>
#include <array>
#include <map>
#include <optional>

#include "fleet/CsvRows.h"
#include "fleet/Targets.h"
#include "platform/AsciiCase.h"

namespace lanterna::fleet {

namespace {

// A column of no setting (the status inventory writes, a site's own notes) is passed over.
enum class ColumnRole { kHardwareAddress, kAddress, kField, kIgnored };

struct ProvisionColumn {
    ColumnRole role = ColumnRole::kField;
    std::string name;
};

// The spellings a site's own spreadsheet gives its columns, letter case aside.
struct ColumnAlias {
    std::string_view spelling;
    std::string_view column;
};
constexpr std::array<ColumnAlias, 6> kColumnAliases{{
    {"mac", kHardwareAddressColumn},
    {"mac address", kHardwareAddressColumn},
    {"name", "projectorName"},
    {"ip", "ipAddress"},
    {"ip address", "ipAddress"},
    {"hardware address", kHardwareAddressColumn},
}};

std::vector<ProvisionColumn> ColumnsOf(const CsvRow& header, std::vector<std::string>& ignored) {
    std::vector<ProvisionColumn> columns;
    for (const std::string& cell : header.cells) {
        const std::string name = CellValue(cell);
        const std::optional<std::string> known = ProvisionColumnOf(name);
        ProvisionColumn column{ColumnRole::kIgnored, known.value_or(name)};
        if (!known) {
            ignored.push_back(name);
        } else if (column.name == kHardwareAddressColumn) {
            column.role = ColumnRole::kHardwareAddress;
        } else if (column.name == kAddressColumn) {
            column.role = ColumnRole::kAddress;
        } else if (column.name == kStatusColumn) {
            column.role = ColumnRole::kIgnored;
        } else {
            column.role = ColumnRole::kField;
        }
        columns.push_back(std::move(column));
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
            case ColumnRole::kIgnored:
                break;
        }
    }
    if (row.mac.empty() && row.address.empty()) {
        problems.push_back({csv.line, ProvisionProblemKind::kNoKey, {}});
        return false;
    }
    return true;
}

// The static address a row gives, as an address: 10.66.0.050 is 10.66.0.50.
std::string StaticAddressOf(const ProvisionRow& row) {
    for (const FieldAssignment& assignment : row.assignments) {
        if (assignment.field == "ipAddress") {
            return CanonicalAddress(assignment.value).value_or(assignment.value);
        }
    }
    return {};
}

}  // namespace

bool ProvisionList::Usable() const {
    return std::none_of(problems.begin(), problems.end(), [](const ProvisionProblem& problem) {
        return problem.kind == ProvisionProblemKind::kBadFile;
    });
}

std::optional<std::string> ProvisionColumnOf(std::string_view header) {
    if (header == kHardwareAddressColumn || header == kAddressColumn || header == kStatusColumn ||
        IsRecordField(header)) {
        return std::string(header);
    }
    for (const ColumnAlias& alias : kColumnAliases) {
        if (EqualIgnoringCase(header, alias.spelling)) {
            return std::string(alias.column);
        }
    }
    return std::nullopt;
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
    const std::vector<ProvisionColumn> columns = ColumnsOf(rows.front(), list.ignoredColumns);
    std::map<std::string, std::size_t> keys;       // "mac:..." or "address:..." to its line
    std::map<std::string, std::size_t> addresses;  // a static address given, to its line
    for (std::size_t r = 1; r < rows.size(); ++r) {
        ProvisionRow row;
        if (!TakeRow(rows[r], columns, row, list.problems)) {
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
