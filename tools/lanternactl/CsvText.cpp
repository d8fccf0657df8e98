#include "tools/lanternactl/CsvText.h"

#include <ostream>

#include "tools/lanternactl/TextSafety.h"

namespace lanterna::cli {

std::string CsvField(std::string_view text) {
    std::string field = TerminalText(text);
    const bool formula =
        !field.empty() && (field.front() == '=' || field.front() == '@' ||
                           ((field.front() == '+' || field.front() == '-') && field.size() > 1));
    if (formula) {
        field.insert(field.begin(), '\'');
    }
    const bool quoted = field.find_first_of(",\"") != std::string::npos ||
                        (!field.empty() && (field.front() == ' ' || field.back() == ' '));
    if (!quoted) {
        return field;
    }
    std::string result = "\"";
    for (const char c : field) {
        result += c == '"' ? std::string("\"\"") : std::string(1, c);
    }
    return result + "\"";
}

void PrintCsvRow(std::ostream& out, const std::vector<std::string>& fields) {
    for (std::size_t i = 0; i < fields.size(); ++i) {
        out << (i == 0 ? "" : ",") << CsvField(fields[i]);
    }
    out << "\n";
}

}  // namespace lanterna::cli
