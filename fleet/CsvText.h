#pragma once
// Rows written as CSV by the window and lanternactl alike: fields quoted where they must be,
// and no field a spreadsheet takes for a formula.

#include <string>
#include <string_view>
#include <vector>

namespace lanterna::fleet {

// One field: a leading '=' or '@' (or '+' or '-' with more behind it) gets a "'" before it, so
// that a spreadsheet does not take the text for a formula; quoted (quotes doubled) when it
// holds a comma, a quote, a line break or a blank at either end.
std::string CsvQuoted(std::string_view field);

// Control bytes (C0 and DEL) as \xNN and the backslash as \\, so that a file holding texts from
// projectors drives no terminal it is printed on.
std::string ControlsEscaped(std::string_view text);

// A row: each field escaped and quoted, joined by commas, ended by a line feed.
std::string CsvLine(const std::vector<std::string>& fields);

}  // namespace lanterna::fleet
