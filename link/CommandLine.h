#pragma once
// The text command language of an authenticated link: building a command line and reading the
// projector's reply text. Pure functions.

#include <cstddef>
#include <string>
#include <string_view>

namespace lanterna {

// The line for a command, without its carriage return, from the patterns "%s?" (query),
// "%s? %s" (query with argument), "%s" (set) and "%s %s" (set with argument). An empty
// argument counts as absent. With `trim`, trailing white space is removed from the line.
std::string BuildCommandLine(std::string_view name, std::string_view argument, bool query,
                             bool trim);

// Whether a text may travel in a command line: no control byte (below 0x20, or 0x7F). A
// carriage return or line feed inside it would end the line early and start another command.
bool IsSendableCommandText(std::string_view text);

// A reply that begins with "ERR" reports that the projector refused the command.
bool IsErrorReply(std::string_view reply);

// The first reply in what was received: everything up to and including the first prompt that
// ends a reply, a ":" at the very start (the answer to a bare carriage return) or right after a
// carriage return. What follows it is a second answer that nobody asked for. Without such a
// prompt, all of `received`.
std::string_view FirstReply(std::string_view received);

// What one reply (see FirstReply) says to the query `name`.
struct QueryAnswer {
    enum class Kind {
        kValue,    // "<name>=<value>" CR ":"
        kRefused,  // the projector's "ERR" reply
        kStray,    // anything else: another command's answer, no "=", no carriage return
    };
    Kind kind = Kind::kStray;
    // With kValue: everything after the "=" that follows the name, up to the carriage return
    // before the prompt (a value beginning with "=" keeps it; zero and control bytes included).
    std::string_view value;
};

QueryAnswer ReadQueryAnswer(std::string_view reply, std::string_view name);

// Copies `text` like strncpy into `value`: at most `valueSize` bytes, ending at a zero byte
// inside the text, zero-filled behind it up to `valueSize`, and without terminator when the text
// has `valueSize` bytes or more (callers pass one less than their buffer to keep a terminator).
// A null `value` takes nothing.
void CopyValueText(std::string_view text, char* value, std::size_t valueSize);

// Reads the value of the query `name` from its reply (ReadQueryAnswer) and copies it into
// `value` with CopyValueText. Returns 1; 0 for a reply that does not answer `name` with a value,
// leaving `value` unchanged.
int ExtractQueryValue(std::string_view reply, std::string_view name, char* value,
                      std::size_t valueSize);

// Where an unsolicited event notice ("IMEVENT=") stands in a complete reply, and what reading
// does about it.
struct EventNotice {
    enum class Action {
        kNone,  // no notice: the reply is complete
        kSkip,  // a notice, not directly after a prompt: drop everything and read on
        kCut,   // a notice directly after a prompt: the reply ends before it
    };
    Action action = Action::kNone;
    std::size_t position = 0;  // where the notice begins (for kCut: the new reply length)
};

inline constexpr std::string_view kEventNoticeMark = "IMEVENT=";

// Looks at the first notice mark in `received`.
EventNotice FindEventNotice(std::string_view received);

}  // namespace lanterna
