#include "fleet/CsvText.h"

#include <array>
#include <cstdio>

namespace lanterna::fleet {

std::string CsvQuoted(std::string_view text) {
    std::string field(text);
    const bool formula =
        !field.empty() && (field.front() == '=' || field.front() == '@' ||
                           ((field.front() == '+' || field.front() == '-') && field.size() > 1));
    if (formula) {
        field.insert(field.begin(), '\'');
    }
    const bool quoted = field.find_first_of(",\"\r\n") != std::string::npos ||
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

std::string ControlsEscaped(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte == '\\') {
            out += "\\\\";
        } else if (byte < 0x20 || byte == 0x7F) {
            std::array<char, 5> escaped{};
            std::snprintf(escaped.data(), escaped.size(), "\\x%02x", byte);
            out.append(escaped.data(), 4);
        } else {
            out += c;
        }
    }
    return out;
}

std::string CsvLine(const std::vector<std::string>& fields) {
    std::string line;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        line += (i == 0 ? "" : ",") + CsvQuoted(ControlsEscaped(fields[i]));
    }
    return line + "\n";
}

}  // namespace lanterna::fleet
