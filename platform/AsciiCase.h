#pragma once
// Letter case as the projector and the files see it: ASCII letters only, whatever the locale.
// Bytes of 0x80 and above (parts of UTF-8 characters) compare as they are.

#include <algorithm>
#include <string_view>

namespace lanterna {

constexpr char AsciiLower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

constexpr bool EqualIgnoringCase(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](char x, char y) { return AsciiLower(x) == AsciiLower(y); });
}

// Whether `path` ends in `extension` (given in lower case, with its dot), in any letter case.
constexpr bool HasExtension(std::string_view path, std::string_view extension) {
    return path.size() >= extension.size() &&
           EqualIgnoringCase(path.substr(path.size() - extension.size()), extension);
}

}  // namespace lanterna
