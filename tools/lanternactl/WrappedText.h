#pragma once
// Help texts in lines of at most 78 columns.

#include <ostream>
#include <string>
#include <string_view>

namespace lanterna::cli {

// Writes `text` in lines of at most 78 columns, each after `indent` blanks.
inline void PrintWrapped(std::ostream& out, std::string_view text, std::size_t indent = 6) {
    const std::string margin(indent, ' ');
    std::string line;
    while (!text.empty()) {
        const std::size_t space = text.find(' ');
        const std::string_view word = text.substr(0, space);
        if (!line.empty() && indent + line.size() + 1 + word.size() > 78) {
            out << margin << line << "\n";
            line.clear();
        }
        line += (line.empty() ? "" : " ") + std::string(word);
        text = space == std::string_view::npos ? std::string_view() : text.substr(space + 1);
    }
    if (!line.empty()) {
        out << margin << line << "\n";
    }
}

}  // namespace lanterna::cli
