#pragma once
// Letter case as the projector and the files see it: ASCII letters only, whatever the locale.
// Bytes of 0x80 and above (parts of UTF-8 characters) compare as they are.

#include <algorithm>
#include <string>
#include <string_view>

namespace lanterna {

constexpr char AsciiLower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

constexpr bool EqualIgnoringCase(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](char x, char y) { return AsciiLower(x) == AsciiLower(y); });
}

// `text` with its ASCII letters in lower case: the key under which a case-blind name is found.
inline std::string AsciiLowered(std::string_view text) {
    std::string lowered(text);
    std::transform(lowered.begin(), lowered.end(), lowered.begin(), AsciiLower);
    return lowered;
}

// Whether `path` ends in `extension` (given in lower case, with its dot), in any letter case.
constexpr bool HasExtension(std::string_view path, std::string_view extension) {
    return path.size() >= extension.size() &&
           EqualIgnoringCase(path.substr(path.size() - extension.size()), extension);
}

// The value of the hexadecimal digit `c` (either case), or -1 when it is none.
constexpr int AsciiHexDigit(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

// The byte order mark that some editors put before UTF-8 text; files may start with it.
inline constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";

}  // namespace lanterna
