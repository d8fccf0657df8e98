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

std::string_view FirstReply(std::string_view received) {
    for (std::size_t position = received.find(':'); position != std::string_view::npos;
         position = received.find(':', position + 1)) {
        if (position == 0 || received[position - 1] == '\r') {
            return received.substr(0, position + 1);
        }
    }
    return received;
}

QueryAnswer ReadQueryAnswer(std::string_view reply, std::string_view name) {
    if (IsErrorReply(reply)) {
        return {QueryAnswer::Kind::kRefused, {}};
    }
    constexpr std::string_view kLineEnd = "\r:";
    if (name.empty() || !reply.starts_with(name) || reply.size() < name.size() + 1 + kLineEnd.size() ||
        reply[name.size()] != '=' || !reply.ends_with(kLineEnd)) {
        return {};
    }
    const std::size_t start = name.size() + 1;
    return {QueryAnswer::Kind::kValue, reply.substr(start, reply.size() - kLineEnd.size() - start)};
}

void CopyValueText(std::string_view text, char* value, std::size_t valueSize) {
    text = text.substr(0, std::min(text.find('\0'), text.size()));
    if (value != nullptr && valueSize > 0) {
        const std::size_t count = std::min(text.size(), valueSize);
        std::memcpy(value, text.data(), count);
        std::memset(value + count, 0, valueSize - count);
    }
}

int ExtractQueryValue(std::string_view reply, std::string_view name, char* value,
                      std::size_t valueSize) {
    const QueryAnswer answer = ReadQueryAnswer(FirstReply(reply), name);
    if (answer.kind != QueryAnswer::Kind::kValue) {
        return 0;
    }
    CopyValueText(answer.value, value, valueSize);
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
