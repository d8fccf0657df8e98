#pragma once
// Rows written as CSV: fields quoted where they must be, and texts from projectors kept from
// driving a terminal or a spreadsheet.

#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

namespace lanterna::cli {

// One field: control bytes escaped as for the terminal; quoted (quotes doubled) when it holds
// a comma, a quote or a blank at either end; a leading '=' or '@' (or '+' or '-' with more
// behind it) gets a "'" before it, so that a spreadsheet does not take the text for a formula.
std::string CsvField(std::string_view text);

// The fields of one row joined by commas, with a line feed.
void PrintCsvRow(std::ostream& out, const std::vector<std::string>& fields);

}  // namespace lanterna::cli
