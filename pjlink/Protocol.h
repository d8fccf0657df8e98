#pragma once
// The lines of PJLink as pure functions: the greeting a projector opens a link with, the
// authentication digest, command lines, and the replies matched to the command that was asked.
// Every parser takes one line without its carriage return and is exact: a line of any other
// form is no reply at all.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace lanterna::pjlink {

// TCP link, class-2 search and its answers.
inline constexpr std::uint16_t kPjlinkPort = 4352;

// Longest line either side sends: a class-2 reply with its 128 bytes of parameter, its header
// and a digest in front of a first command all fit.
inline constexpr std::size_t kMaxLineBytes = 200;

// Longest password: its digest line stays short, and a book line cannot smuggle a whole file.
inline constexpr std::size_t kMaxPasswordBytes = 32;

struct Greeting {
    enum class Kind { kOpen, kAuthenticate, kRefused };
    Kind kind = Kind::kOpen;
    std::string random;  // the 8 hexadecimal digits of kAuthenticate
};

// "PJLINK 0" open, "PJLINK 1 <8 hexadecimal digits>" authenticate, "PJLINK ERRA" refused
// (the answer to a wrong digest); anything else none.
std::optional<Greeting> ParseGreeting(std::string_view line);

// 32 lowercase hexadecimal digits: MD5 of the random value followed by the password.
std::string AuthDigest(std::string_view random, std::string_view password);

struct Command {
    char pjlinkClass = '1';  // '1' or '2'
    std::string_view name;   // four capital letters: "POWR"
    std::string_view parameter = "?";
};

// "%1POWR ?" without the carriage return; none for a class other than 1 or 2, a name that is
// not four capital letters or digits, or a parameter that is empty, too long or holds a control
// byte (it could end the line early and smuggle a second command).
std::optional<std::string> FormatCommand(const Command& command);

enum class ReplyStatus {
    kValue,        // "=" and a value
    kOk,           // "=OK", the answer to a set
    kUndefined,    // ERR1: the projector does not know the command
    kOutOfRange,   // ERR2: a parameter out of range
    kUnavailable,  // ERR3: not now (warming up, cooling down)
    kFailure,      // ERR4: the projector failed
};

struct Reply {
    ReplyStatus status = ReplyStatus::kValue;
    std::string value;  // the bytes after "=" for kValue and kOk
};

// The reply to `command`: "%" class name "=" value. None for a line about another class or
// command, without "=", with a control byte, or too long.
std::optional<Reply> ParseReply(std::string_view line, const Command& command);

// Whether a line is "PJLINK ERRA", the answer to a first command with a wrong digest.
bool IsAuthRefusal(std::string_view line);

}  // namespace lanterna::pjlink
