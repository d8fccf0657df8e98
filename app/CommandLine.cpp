#include "app/CommandLine.h"

#include <cstddef>

namespace lanterna {
namespace {

constexpr char kQuote = '"';
constexpr char kWideSpaceLead = '\x81';
constexpr char kWideSpaceTrail = '\x40';  // also '@', which therefore separates tokens

bool IsDelimiter(char byte) {
    return byte == ' ' || byte == kWideSpaceLead || byte == kWideSpaceTrail;
}

std::string ReplaceWideSpaces(std::string_view text) {
    std::string result;
    result.reserve(text.size());
    for (std::size_t index = 0; index < text.size(); ++index) {
        if (text[index] == kWideSpaceLead && index + 1 < text.size() &&
            text[index + 1] == kWideSpaceTrail) {
            result.push_back(' ');
            ++index;
            continue;
        }
        result.push_back(text[index]);
    }
    return result;
}

char LowerAscii(char byte) {
    return byte >= 'A' && byte <= 'Z' ? static_cast<char>(byte - 'A' + 'a') : byte;
}

}  // namespace

std::vector<std::string> SplitCommandLine(std::string_view commandLine) {
    const std::string text = ReplaceWideSpaces(commandLine);
    std::vector<std::string> tokens;
    std::size_t position = 0;
    while (position < text.size()) {
        std::size_t length = 0;
        if (text[position] == kQuote) {
            ++position;  // the token starts after the opening quote
            const std::size_t closing = text.find(kQuote, position);
            length = (closing == std::string::npos ? text.size() : closing) - position;
        } else {
            while (position + length < text.size() && !IsDelimiter(text[position + length])) {
                ++length;
            }
        }
        if (length > 0) {
            tokens.emplace_back(text, position, length);
            position += length;
        }
        if (position < text.size()) {
            ++position;  // past the delimiter or the closing quote
        }
    }
    return tokens;
}

std::string JoinArguments(int argc, const char* const* argv) {
    std::string line;
    for (int index = 1; index < argc && argv != nullptr && argv[index] != nullptr; ++index) {
        const std::string_view argument(argv[index]);
        if (!line.empty()) {
            line.push_back(' ');
        }
        bool needsQuotes = argument.empty();
        for (const char byte : argument) {
            needsQuotes = needsQuotes || IsDelimiter(byte);
        }
        // An argument holding a quote cannot be quoted again; it goes as it is.
        if (needsQuotes && argument.find(kQuote) == std::string_view::npos) {
            line.push_back(kQuote);
            line.append(argument);
            line.push_back(kQuote);
        } else {
            line.append(argument);
        }
    }
    return line;
}

bool IsDebugSwitch(std::string_view token) {
    constexpr std::string_view kDebugSwitch = "/debug";
    if (token.size() != kDebugSwitch.size()) {
        return false;
    }
    for (std::size_t index = 0; index < token.size(); ++index) {
        if (LowerAscii(token[index]) != kDebugSwitch[index]) {
            return false;
        }
    }
    return true;
}

int ReadDebugMode(std::string_view commandLine) {
    int debugMode = 0;
    for (const std::string& token : SplitCommandLine(commandLine)) {
        if (IsDebugSwitch(token)) {
            debugMode = 1;
        }
    }
    return debugMode;
}

}  // namespace lanterna
