#include "fleet/CsvRows.h"

#include <optional>

#include "platform/AsciiCase.h"
#include "platform/DisplayText.h"

namespace lanterna::fleet {

namespace {

bool IsGuardedStart(char c) {
    return c == '=' || c == '@' || c == '+' || c == '-';
}

// The bidirectional control written as \uNNNN at `at` in `cell`, if one stands there.
std::optional<char32_t> BidiEscapeAt(std::string_view cell, std::size_t at) {
    if (at + 6 > cell.size() || cell[at] != '\\' || cell[at + 1] != 'u') {
        return std::nullopt;
    }
    char32_t codePoint = 0;
    for (std::size_t k = at + 2; k < at + 6; ++k) {
        const int digit = AsciiHexDigit(cell[k]);
        if (digit < 0) {
            return std::nullopt;
        }
        codePoint = codePoint * 16 + static_cast<char32_t>(digit);
    }
    return IsBidiControl(codePoint) ? std::optional<char32_t>(codePoint) : std::nullopt;
}

// A bidirectional control as UTF-8: two bytes below U+0800 (U+061C), three from there on.
void AppendUtf8(std::string& out, char32_t codePoint) {
    if (codePoint < 0x800) {
        out += static_cast<char>(0xC0 | (codePoint >> 6));
    } else {
        out += static_cast<char>(0xE0 | (codePoint >> 12));
        out += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
    }
    out += static_cast<char>(0x80 | (codePoint & 0x3F));
}

bool IsBlankRow(const CsvRow& row) {
    return row.cells.size() == 1 && row.cells[0].empty();
}

}  // namespace

bool ParseCsv(std::string_view text, std::vector<CsvRow>& rows, std::size_t& badLine) {
    if (text.starts_with(kUtf8ByteOrderMark)) {
        text.remove_prefix(kUtf8ByteOrderMark.size());
    }
    std::size_t line = 1;
    std::size_t i = 0;
    while (i < text.size()) {
        CsvRow row;
        row.line = line;
        std::string cell;
        bool rowEnded = false;
        while (!rowEnded) {
            if (i < text.size() && text[i] == '"') {
                const std::size_t openedOn = line;
                ++i;
                for (;;) {
                    if (i >= text.size()) {
                        badLine = openedOn;
                        return false;
                    }
                    if (text[i] == '"' && i + 1 < text.size() && text[i + 1] == '"') {
                        cell += '"';
                        i += 2;
                    } else if (text[i] == '"') {
                        ++i;
                        break;
                    } else {
                        line += text[i] == '\n' ? 1 : 0;
                        cell += text[i++];
                    }
                }
            }
            // Unquoted text, or what follows a closing quote, up to the field's end.
            while (i < text.size() && text[i] != ',' && text[i] != '\n' && text[i] != '\r') {
                cell += text[i++];
            }
            row.cells.push_back(std::move(cell));
            cell.clear();
            if (i < text.size() && text[i] == ',') {
                ++i;
                continue;
            }
            if (i < text.size() && text[i] == '\r') {
                ++i;
            }
            if (i < text.size() && text[i] == '\n') {
                ++i;
            }
            ++line;
            rowEnded = true;
        }
        if (!IsBlankRow(row)) {
            rows.push_back(std::move(row));
        }
    }
    return true;
}

std::string CellValue(std::string_view cell) {
    if (cell.size() > 1 && cell.front() == '\'' && IsGuardedStart(cell[1])) {
        cell.remove_prefix(1);
    }
    std::string value;
    for (std::size_t i = 0; i < cell.size(); ++i) {
        if (cell[i] == '\\' && i + 1 < cell.size() && cell[i + 1] == '\\') {
            value += '\\';
            ++i;
        } else if (const std::optional<char32_t> control = BidiEscapeAt(cell, i)) {
            AppendUtf8(value, *control);
            i += 5;
        } else if (cell[i] == '\\' && i + 3 < cell.size() && cell[i + 1] == 'x' &&
                   AsciiHexDigit(cell[i + 2]) >= 0 && AsciiHexDigit(cell[i + 3]) >= 0) {
            value +=
                static_cast<char>(AsciiHexDigit(cell[i + 2]) * 16 + AsciiHexDigit(cell[i + 3]));
            i += 3;
        } else {
            value += cell[i];
        }
    }
    return value;
}

std::string CsvCell(std::string_view text) {
    std::string field = TerminalText(text);
    if (!field.empty() && (field.front() == '=' || field.front() == '@' ||
                           ((field.front() == '+' || field.front() == '-') && field.size() > 1))) {
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

std::string CsvLine(const std::vector<std::string>& cells) {
    std::string line;
    for (std::size_t i = 0; i < cells.size(); ++i) {
        line += (i == 0 ? "" : ",") + CsvCell(cells[i]);
    }
    return line + "\n";
}

}  // namespace lanterna::fleet
