#pragma once
// CSV files as spreadsheets read and write them (RFC 4180: fields separated by commas, quoted
// with '"' where they hold a comma, a quote or a line break, quotes doubled inside), with the
// two guards the system's own CSV output carries taken off again on reading: a "'" put before a
// text a spreadsheet would take for a formula, and control bytes and the backslash written as
// \xNN and \\. What lanternactl inventory writes, provision reads back unchanged.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace lanterna::fleet {

// A CSV file read by the fleet holds at most this much.
inline constexpr std::size_t kCsvFileMaxBytes = 4 * 1024 * 1024;

struct CsvRow {
    std::size_t line = 0;  // the line it starts on, from 1
    std::vector<std::string> cells;
};

// The rows of `text`, blank lines left out, each cell as written (quotes removed, the guards
// kept). False when a quoted field is still open at the end; `badLine` names the line it opened
// on. A UTF-8 byte-order mark at the start is passed over.
bool ParseCsv(std::string_view text, std::vector<CsvRow>& rows, std::size_t& badLine);

// A cell as the user meant it: the formula guard taken off, \\ and \xNN turned back into their
// bytes, a bidirectional control's \uNNNN into the control.
std::string CellValue(std::string_view cell);

// A cell as written: the text as a terminal may show it (TerminalText: control bytes, bytes
// that are not UTF-8 and the backslash as \xNN or \\, bidirectional controls as \uNNNN), a "'"
// before a leading '=', '@', or '+' or '-' with more behind it, and quoted when it holds a comma,
// a quote or a blank at either end.
std::string CsvCell(std::string_view text);

// The cells joined by commas, with a line feed.
std::string CsvLine(const std::vector<std::string>& cells);

}  // namespace lanterna::fleet
