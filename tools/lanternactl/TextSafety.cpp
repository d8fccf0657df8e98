#include "tools/lanternactl/TextSafety.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <ostream>
#include <utility>

#include "link/CommandLine.h"

namespace lanterna::cli {

namespace {

void AppendEscaped(std::string& out, unsigned char byte) {
    std::array<char, 5> escaped{};
    std::snprintf(escaped.data(), escaped.size(), "\\x%02x", byte);
    out.append(escaped.data(), 4);
}

// Length of the well-formed UTF-8 sequence at `text[pos]` (0 when there is none), and its code
// point in `codePoint`.
std::size_t Utf8Sequence(std::string_view text, std::size_t pos, unsigned& codePoint) {
    const auto lead = static_cast<unsigned char>(text[pos]);
    std::size_t length = 0;
    unsigned minimum = 0;
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
bool IsWide(unsigned codePoint) {
    constexpr std::array<std::pair<unsigned, unsigned>, 10> kWide{{
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

}  // namespace

std::size_t TerminalColumns(std::string_view text) {
    std::size_t columns = 0;
    std::size_t pos = 0;
    while (pos < text.size()) {
        unsigned codePoint = 0;
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
        } else if (byte < 0x20 || byte == 0x7F) {
            AppendEscaped(out, byte);
            ++pos;
        } else if (byte < 0x80) {
            out.push_back(static_cast<char>(byte));
            ++pos;
        } else {
            unsigned codePoint = 0;
            const std::size_t length = Utf8Sequence(text, pos, codePoint);
            const bool c1Control = codePoint >= 0x80 && codePoint <= 0x9F;
            if (length == 0 || c1Control) {
                for (std::size_t i = 0; i < std::max<std::size_t>(length, 1); ++i) {
                    AppendEscaped(out, static_cast<unsigned char>(text[pos + i]));
                }
                pos += std::max<std::size_t>(length, 1);
            } else {
                out.append(text.substr(pos, length));
                pos += length;
            }
        }
    }
    return out;
}

bool CheckCommandWords(CliContext& context, std::string_view command, CliArgs words) {
    for (const std::string& word : words) {
        if (!IsSendableCommandText(word)) {
            context.err << "lanternactl " << command << ": '" << TerminalText(word)
                        << "' holds a control byte; nothing was sent\n";
            return false;
        }
    }
    return true;
}

}  // namespace lanterna::cli
