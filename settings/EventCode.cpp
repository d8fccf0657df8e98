#include "settings/EventCode.h"

#include <array>
#include <cstddef>
#include <cstdio>

namespace lanterna {

namespace {

struct EventBit {
    std::uint32_t recordBit;
    int codeIndex;  // 0 first code, 1 second code
    unsigned codeBit;
};

constexpr std::array<EventBit, 11> kEventBits = {{
    {0x001, 0, 0x0001},
    {0x002, 0, 0x0002},
    {0x004, 0, 0x0008},
    {0x008, 0, 0x0010},
    {0x010, 1, 0x0001},
    {0x020, 1, 0x0002},
    {0x040, 1, 0x0004},
    {0x080, 1, 0x0008},
    {0x100, 1, 0x0010},
    {0x200, 1, 0x0020},
    {0x400, 1, 0x0040},
}};

// sscanf "%04x" of one part: at most four hexadecimal digits; 0 when nothing can be read.
unsigned ReadCode(std::string_view part) {
    const std::string text(part);
    unsigned code = 0;
    if (std::sscanf(text.c_str(), "%04x", &code) != 1) {
        return 0;
    }
    return code;
}

// The first two blank-separated parts; runs of blanks count as one separator.
std::array<std::string_view, 2> FirstTwoParts(std::string_view value) {
    std::array<std::string_view, 2> parts{};
    std::size_t found = 0;
    std::size_t position = 0;
    while (found < parts.size()) {
        const std::size_t start = value.find_first_not_of(' ', position);
        if (start == std::string_view::npos) {
            break;
        }
        const std::size_t end = value.find(' ', start);
        parts[found++] = value.substr(start, end == std::string_view::npos ? end : end - start);
        position = end;
        if (end == std::string_view::npos) {
            break;
        }
    }
    return parts;
}

}  // namespace

std::string EventCode(std::uint32_t eventSet) {
    std::array<unsigned, 2> codes{};
    for (const EventBit& bit : kEventBits) {
        if ((eventSet & bit.recordBit) != 0) {
            codes[bit.codeIndex] |= bit.codeBit;
        }
    }
    std::array<char, 16> text{};
    std::snprintf(text.data(), text.size(), "%04x %04x", codes[0], codes[1]);
    return text.data();
}

std::uint32_t EventSetFromCode(std::string_view value) {
    const auto parts = FirstTwoParts(value);
    const std::array<unsigned, 2> codes = {ReadCode(parts[0]), ReadCode(parts[1])};
    std::uint32_t eventSet = 0;
    for (const EventBit& bit : kEventBits) {
        if ((codes[bit.codeIndex] & bit.codeBit) != 0) {
            eventSet |= bit.recordBit;
        }
    }
    return eventSet;
}

}  // namespace lanterna
