#include "tools/lanternactl/CsvText.h"

#include <ostream>

#include "fleet/CsvRows.h"

namespace lanterna::cli {

std::string CsvField(std::string_view text) {
    return fleet::CsvCell(text);
}

void PrintCsvRow(std::ostream& out, const std::vector<std::string>& fields) {
    for (std::size_t i = 0; i < fields.size(); ++i) {
        out << (i == 0 ? "" : ",") << CsvField(fields[i]);
    }
    out << "\n";
}

}  // namespace lanterna::cli
