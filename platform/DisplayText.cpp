#include "platform/DisplayText.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <utility>

namespace lanterna {

namespace {

constexpr std::string_view kFirstStrongIsolate = "\xE2\x81\xA8";    // U+2068
constexpr std::string_view kPopDirectionalIsolate = "\xE2\x81\xA9";  // U+2069

void AppendByteEscape(std::string& out, unsigned char byte) {
    std::array<char, 5> escaped{};
    std::snprintf(escaped.data(), escaped.size(), "\\x%02x", byte);
    out.append(escaped.data(), 4);
}

// `format` with the code point's four hexadecimal digits ("\\u%04x", "[U+%04X]").
void AppendCodePoint(std::string& out, const char* format, char32_t codePoint) {
    std::array<char, 16> text{};
    const int length =
        std::snprintf(text.data(), text.size(), format, static_cast<unsigned>(codePoint));
    out.append(text.data(), static_cast<std::size_t>(std::max(length, 0)));
}

// Length of the well-formed UTF-8 sequence at `text[pos]` (0 when there is none), and its code
// point in `codePoint`.
std::size_t Utf8Sequence(std::string_view text, std::size_t pos, char32_t& codePoint) {
    const auto lead = static_cast<unsigned char>(text[pos]);
    std::size_t length = 0;
    char32_t minimum = 0;
    if (lead < 0x80) {
        codePoint = lead;
        return 1;
    }
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        codePoint = lead & 0x1FU;
        minimum = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        codePoint = lead & 0x0FU;
        minimum = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        codePoint = lead & 0x07U;
        minimum = 0x10000;
    } else {
        return 0;
    }
    if (pos + length > text.size()) {
        return 0;
    }
    for (std::size_t i = 1; i < length; ++i) {
        const auto next = static_cast<unsigned char>(text[pos + i]);
        if ((next & 0xC0U) != 0x80U) {
            return 0;
        }
        codePoint = (codePoint << 6U) | (next & 0x3FU);
    }
    const bool surrogate = codePoint >= 0xD800 && codePoint <= 0xDFFF;
    return codePoint < minimum || codePoint > 0x10FFFF || surrogate ? 0 : length;
}

// Whether a terminal gives the character two columns: Hangul, the CJK scripts and the
// full-width forms.
bool IsWide(char32_t codePoint) {
    constexpr std::array<std::pair<char32_t, char32_t>, 10> kWide{{
        {0x1100, 0x115F},
        {0x2E80, 0x303E},
        {0x3041, 0x33FF},
        {0x3400, 0x4DBF},
        {0x4E00, 0xA4CF},
        {0xAC00, 0xD7A3},
        {0xF900, 0xFAFF},
        {0xFE30, 0xFE4F},
        {0xFF00, 0xFF60},
        {0xFFE0, 0xFFE6},
    }};
    if (codePoint >= 0x20000 && codePoint <= 0x3FFFD) {
        return true;
    }
    return std::any_of(kWide.begin(), kWide.end(), [codePoint](const auto& range) {
        return codePoint >= range.first && codePoint <= range.second;
    });
}

// `text` with each bidirectional control replaced by `format` of its code point, everything
// else copied as it is.
std::string ReplaceBidiControls(std::string_view text, const char* format) {
    std::string out;
    out.reserve(text.size());
    std::size_t pos = 0;
    while (pos < text.size()) {
        char32_t codePoint = 0;
        const std::size_t length = std::max<std::size_t>(Utf8Sequence(text, pos, codePoint), 1);
        if (length > 1 && IsBidiControl(codePoint)) {
            AppendCodePoint(out, format, codePoint);
        } else {
            out.append(text.substr(pos, length));
        }
        pos += length;
    }
    return out;
}

// Whether the character is a letter of a right-to-left script (Hebrew, Arabic, Syriac, Thaana,
// N'Ko and their neighbours, their presentation forms, and the right-to-left blocks beyond the
// basic plane), whose direction can pull neighbouring text around.
bool IsRightToLeft(char32_t codePoint) {
    return (codePoint >= 0x0590 && codePoint <= 0x08FF) ||
           (codePoint >= 0xFB1D && codePoint <= 0xFDFF) ||
           (codePoint >= 0xFE70 && codePoint <= 0xFEFF) ||
           (codePoint >= 0x10800 && codePoint <= 0x10FFF) ||
           (codePoint >= 0x1E800 && codePoint <= 0x1EFFF);
}

// Whether anything in `text` can change the direction of what is shown beside it.
bool CanReorder(std::string_view text) {
    std::size_t pos = 0;
    while (pos < text.size()) {
        char32_t codePoint = 0;
        const std::size_t length = Utf8Sequence(text, pos, codePoint);
        if (length > 1 && (IsBidiControl(codePoint) || IsRightToLeft(codePoint))) {
            return true;
        }
        pos += std::max<std::size_t>(length, 1);
    }
    return false;
}

}  // namespace

bool IsBidiControl(char32_t codePoint) {
    return (codePoint >= 0x202A && codePoint <= 0x202E) ||
           (codePoint >= 0x2066 && codePoint <= 0x2069) || codePoint == 0x200E ||
           codePoint == 0x200F || codePoint == 0x061C;
}

std::size_t TerminalColumns(std::string_view text) {
    std::size_t columns = 0;
    std::size_t pos = 0;
    while (pos < text.size()) {
        char32_t codePoint = 0;
        const std::size_t length = Utf8Sequence(text, pos, codePoint);
        if (length == 0) {
            ++columns;
            ++pos;
            continue;
        }
        columns += IsWide(codePoint) ? 2 : 1;
        pos += length;
    }
    return columns;
}

std::string TerminalText(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    std::size_t pos = 0;
    while (pos < text.size()) {
        const auto byte = static_cast<unsigned char>(text[pos]);
        if (byte == '\\') {
            out.append("\\\\");
            ++pos;
            continue;
        }
        if (byte < 0x20 || byte == 0x7F) {
            AppendByteEscape(out, byte);
            ++pos;
            continue;
        }
        char32_t codePoint = 0;
        const std::size_t length = Utf8Sequence(text, pos, codePoint);
        const bool c1Control = codePoint >= 0x80 && codePoint <= 0x9F;
        if (length == 0 || c1Control) {
            for (std::size_t i = 0; i < std::max<std::size_t>(length, 1); ++i) {
                AppendByteEscape(out, static_cast<unsigned char>(text[pos + i]));
            }
            pos += std::max<std::size_t>(length, 1);
        } else if (IsBidiControl(codePoint)) {
            AppendCodePoint(out, "\\u%04x", codePoint);
            pos += length;
        } else {
            out.append(text.substr(pos, length));
            pos += length;
        }
    }
    return out;
}

std::string JsonWithoutRawBidi(std::string_view json) {
    // Outside its strings JSON is ASCII, so every control stands inside a string, where the
    // escape means the same character.
    return ReplaceBidiControls(json, "\\u%04x");
}

std::string VisibleBidiMarks(std::string_view text) {
    return ReplaceBidiControls(text, "[U+%04X]");
}

std::string IsolatedForDisplay(std::string_view text) {
    if (!CanReorder(text)) {
        return std::string(text);
    }
    return std::string(kFirstStrongIsolate) + VisibleBidiMarks(text) +
           std::string(kPopDirectionalIsolate);
}

}  // namespace lanterna
