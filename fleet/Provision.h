#pragma once
// A provisioning list: a CSV file whose header names the settings to give each projector (the
// fields of a write, such as projectorName and ipAddress) and how to find it (hardwareAddress,
// of either interface; address, where a row has no hardware address). Every non-empty cell is a
// setting to give; an empty cell leaves that setting alone. What lanternactl inventory --csv
// --settable writes reads back as such a list: its status column (whether the projector was
// read) is no setting and is passed over.

#include <cstddef>
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
    kUnknownColumn,       // `text`: the column's name
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

    // False when the file as a whole is refused (not CSV, an unknown column): nothing is sent.
    bool Usable() const;
};

// The list in `text`. The columns are matched by name exactly; a cell is taken as the user
// meant it (CellValue). Rows naming the same hardware address (or, without one, the same
// address) twice, or giving two projectors one static address, are problems of the later row.
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
