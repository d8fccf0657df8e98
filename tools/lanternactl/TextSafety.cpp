#include "tools/lanternactl/TextSafety.h"

#include <array>
#include <cstdio>
#include <ostream>

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

}  // namespace

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
