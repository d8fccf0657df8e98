#include "link/CommandLine.h"

#include <algorithm>
#include <cstring>

namespace lanterna {

namespace {

// White space as the C locale's isspace knows it.
constexpr std::string_view kWhiteSpace = " \t\n\v\f\r";

}  // namespace

std::string BuildCommandLine(std::string_view name, std::string_view argument, bool query,
                             bool trim) {
    std::string line;
    line.reserve(name.size() + argument.size() + 2);
    line.append(name);
    if (query) {
        line.push_back('?');
    }
    if (!argument.empty()) {
        line.push_back(' ');
        line.append(argument);
    }
    if (trim) {
        const std::size_t last = line.find_last_not_of(kWhiteSpace);
        line.erase(last == std::string::npos ? 0 : last + 1);
    }
    return line;
}

bool IsSendableCommandText(std::string_view text) {
    return std::none_of(text.begin(), text.end(), [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return byte < 0x20 || byte == 0x7F;
    });
}

bool IsErrorReply(std::string_view reply) {
    return reply.starts_with("ERR");
}

int ExtractQueryValue(std::string_view reply, char* value, std::size_t valueSize) {
    if (IsErrorReply(reply)) {
        return 0;
    }
    const std::size_t lineEnd = reply.rfind('\r');
    if (lineEnd == std::string_view::npos) {
        return 0;
    }
    const std::string_view line = reply.substr(0, lineEnd);
    const std::size_t equals = line.rfind('=');
    if (equals == std::string_view::npos) {
        return 0;
    }
    // Like strncpy, the copy ends at a zero byte inside the text.
    std::string_view text = line.substr(equals + 1);
    text = text.substr(0, std::min(text.find('\0'), text.size()));
    if (value != nullptr && valueSize > 0) {
        const std::size_t count = std::min(text.size(), valueSize);
        std::memcpy(value, text.data(), count);
        std::memset(value + count, 0, valueSize - count);
    }
    return 1;
}

EventNotice FindEventNotice(std::string_view received) {
    const std::size_t position = received.find(kEventNoticeMark);
    if (position == std::string_view::npos) {
        return {};
    }
    if (position > 0 && received[position - 1] == ':') {
        return {EventNotice::Action::kCut, position};
    }
    return {EventNotice::Action::kSkip, position};
}

}  // namespace lanterna
