#pragma once
// A provisioning list: a CSV file whose header names the settings to give each projector (the
// fields of a write, such as projectorName and ipAddress) and how to find it (hardwareAddress,
// of either interface; address, where a row has no hardware address). Every non-empty cell is a
// setting to give; an empty cell leaves that setting alone. What lanternactl inventory --csv
// --settable writes reads back as such a list: its status column (whether the projector was
// read) is no setting and is passed over. A spreadsheet of a site's own reads as one too: its
// columns that are no setting (a room, notes) are left out and named, and the common spellings
// "MAC", "Name" and "IP" (letter case aside, "MAC address" and "IP address" too) stand for
// hardwareAddress, projectorName and ipAddress.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "fleet/RecordFields.h"
#include "fleet/SiteRead.h"

namespace lanterna::fleet {

inline constexpr std::string_view kHardwareAddressColumn = "hardwareAddress";
inline constexpr std::string_view kAddressColumn = "address";
inline constexpr std::string_view kStatusColumn = "status";

struct ProvisionRow {
    std::size_t line = 0;
    std::string mac;      // 12 upper-case hexadecimal digits; empty: found by `address`
    std::string address;  // where the projector is, when the row has no hardware address
    std::vector<FieldAssignment> assignments;  // the non-empty cells, in column order
};

enum class ProvisionProblemKind {
    kBadFile,             // not CSV (a quote left open); `text`: nothing
    kNoKey,               // neither a hardware address nor an address in the row
    kBadHardwareAddress,  // `text`: the cell
    kDuplicateRow,        // the same projector as the row of `earlierLine`
    kDuplicateAddress,    // the same ipAddress as the row of `earlierLine`; `text`: it
    kNotFound,            // no projector read has the row's hardware address or address
};

struct ProvisionProblem {
    std::size_t line = 0;
    ProvisionProblemKind kind = ProvisionProblemKind::kBadFile;
    std::string text;
    std::size_t earlierLine = 0;

    friend bool operator==(const ProvisionProblem&, const ProvisionProblem&) = default;
};

struct ProvisionList {
    std::vector<ProvisionRow> rows;  // the rows that can be matched, in file order
    std::vector<ProvisionProblem> problems;
    std::vector<std::string> ignoredColumns;  // the header's names that are no setting, in order

    // False when the file as a whole is refused (not CSV): nothing is sent.
    bool Usable() const;
};

// The column a header names: a field, hardwareAddress, address or status by its exact name, or
// the field an alias stands for; none for a column that is no setting.
std::optional<std::string> ProvisionColumnOf(std::string_view header);

// The list in `text`. A cell is taken as the user meant it (CellValue). Rows naming the same
// hardware address (or, without one, the same address) twice, or giving two projectors one static
// address, are problems of the later row.
ProvisionList ParseProvisionList(std::string_view text);

struct ProvisionMatch {
    std::size_t row = 0;      // in ProvisionList::rows
    std::size_t reading = 0;  // in the readings
};

// Each row's projector among `readings`: by the hardware address of either interface, or by the
// target's address for a row without one. A row without a projector read, or whose projector an
// earlier row already took, is added to `problems`.
std::vector<ProvisionMatch> MatchProvisionRows(const ProvisionList& list,
                                               const std::vector<SiteReading>& readings,
                                               std::vector<ProvisionProblem>& problems);

}  // namespace lanterna::fleet
