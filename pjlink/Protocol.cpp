#include "pjlink/Protocol.h"

#include <algorithm>

#include "pjlink/Md5.h"

namespace lanterna::pjlink {

namespace {

constexpr std::string_view kGreetingPrefix = "PJLINK ";
constexpr std::string_view kAuthRefusal = "PJLINK ERRA";

bool IsHexDigit(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

bool IsControl(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte < 0x20 || byte == 0x7F;
}

bool HasControl(std::string_view text) {
    return std::any_of(text.begin(), text.end(), IsControl);
}

bool IsCommandName(std::string_view name) {
    return name.size() == 4 && std::all_of(name.begin(), name.end(), [](char c) {
               return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
           });
}

}  // namespace

std::optional<Greeting> ParseGreeting(std::string_view line) {
    if (line == kAuthRefusal) {
        return Greeting{Greeting::Kind::kRefused, {}};
    }
    if (!line.starts_with(kGreetingPrefix)) {
        return std::nullopt;
    }
    const std::string_view rest = line.substr(kGreetingPrefix.size());
    if (rest == "0") {
        return Greeting{Greeting::Kind::kOpen, {}};
    }
    if (rest.size() == 10 && rest.starts_with("1 ") &&
        std::all_of(rest.begin() + 2, rest.end(), IsHexDigit)) {
        return Greeting{Greeting::Kind::kAuthenticate, std::string(rest.substr(2))};
    }
    return std::nullopt;
}

std::string AuthDigest(std::string_view random, std::string_view password) {
    std::string message(random);
    message.append(password);
    return Md5Hex(message);
}

std::optional<std::string> FormatCommand(const Command& command) {
    const std::size_t room = kMaxLineBytes - 32 - 8;  // a digest and the header go first
    if ((command.pjlinkClass != '1' && command.pjlinkClass != '2') ||
        !IsCommandName(command.name) || command.parameter.empty() ||
        command.parameter.size() > room || HasControl(command.parameter)) {
        return std::nullopt;
    }
    std::string line = "%";
    line.push_back(command.pjlinkClass);
    line.append(command.name);
    line.push_back(' ');
    line.append(command.parameter);
    return line;
}

std::optional<Reply> ParseReply(std::string_view line, const Command& command) {
    if (line.size() > kMaxLineBytes || line.size() < 7 || line[0] != '%' ||
        line[1] != command.pjlinkClass || line.substr(2, 4) != command.name || line[6] != '=' ||
        HasControl(line)) {
        return std::nullopt;
    }
    const std::string_view value = line.substr(7);
    if (value == "OK") {
        return Reply{ReplyStatus::kOk, "OK"};  // a text query may be answered "OK" too
    }
    constexpr std::string_view kErrors[] = {"ERR1", "ERR2", "ERR3", "ERR4"};
    constexpr ReplyStatus kErrorStatus[] = {ReplyStatus::kUndefined, ReplyStatus::kOutOfRange,
                                            ReplyStatus::kUnavailable, ReplyStatus::kFailure};
    for (std::size_t i = 0; i < std::size(kErrors); ++i) {
        if (value == kErrors[i]) {
            return Reply{kErrorStatus[i], {}};
        }
    }
    return Reply{ReplyStatus::kValue, std::string(value)};
}

bool IsAuthRefusal(std::string_view line) {
    return line == kAuthRefusal;
}

}  // namespace lanterna::pjlink
