#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "tests/support/language/LanguageTestSupport.h"
#include "tools/lanternactl/ProjectorHistory.h"
#include "tools/lanternactl/TextSafety.h"

namespace lanterna::cli {
namespace {

TEST(TerminalText, ControlBytesAndBrokenUtf8AreEscaped) {
    const std::pair<std::string, std::string> cases[] = {
        {"HALL-1F", "HALL-1F"},
        {"\x1b]0;owned\x07", "\\x1b]0;owned\\x07"},
        {"A\rB\nC\tD\x7f", "A\\x0dB\\x0aC\\x09D\\x7f"},
        {"back\\slash", "back\\\\slash"},
        {"\xed\x94\x84\xeb\xa1\x9c", "\xed\x94\x84\xeb\xa1\x9c"},  // UTF-8 Hangul stays
        {"\xc2\x9b"
         "31m",
         "\\xc2\\x9b31m"},  // C1 control (CSI)
        {"\x9b"
         "31m",
         "\\x9b31m"},                // a lone C1 byte
        {"\xc0\xaf", "\\xc0\\xaf"},  // overlong form
        {"\xe2\x82", "\\xe2\\x82"},  // cut sequence
        {"ROOM\xe2\x80\xae" "exe.1", "ROOM\\u202eexe.1"},  // right-to-left override
        {"\xe2\x81\xa6" "A\xe2\x81\xa9\xe2\x80\x8f\xd8\x9c",
         "\\u2066A\\u2069\\u200f\\u061c"},             // isolates and marks
        {"\xd7\x90\xe2\x80\x8b", "\xd7\x90\xe2\x80\x8b"},  // Hebrew letter, zero width space
    };
    for (const auto& [text, shown] : cases) {
        EXPECT_EQ(TerminalText(text), shown);
    }
}

// The same controls in the window (a visible mark, the name isolated from what stands around
// it) and in JSON (an escape that means the same character).
TEST(DisplayText, BidiControlsBecomeVisibleOrEscapedAndNothingElseChanges) {
    const std::string name = "ROOM\xe2\x80\xae" "exe.1";
    EXPECT_EQ(VisibleBidiMarks(name), "ROOM[U+202E]exe.1");
    EXPECT_EQ(IsolatedForDisplay(name), "\xe2\x81\xa8ROOM[U+202E]exe.1\xe2\x81\xa9");
    EXPECT_EQ(IsolatedForDisplay("\xed\x94\x84 HALL-1F"), "\xed\x94\x84 HALL-1F");
    EXPECT_EQ(IsolatedForDisplay("\xd7\x90-1"), "\xe2\x81\xa8\xd7\x90-1\xe2\x81\xa9");
    EXPECT_EQ(JsonWithoutRawBidi("{\"name\": \"" + name + "\", \"x\": \"\xe2\x80\x8e\"}"),
              "{\"name\": \"ROOM\\u202eexe.1\", \"x\": \"\\u200e\"}");
    EXPECT_EQ(JsonWithoutRawBidi("[\"\xff\xe2\x80\"]"), "[\"\xff\xe2\x80\"]");
    for (const char32_t control : {0x202AU, 0x202EU, 0x2066U, 0x2069U, 0x200EU, 0x200FU, 0x061CU}) {
        EXPECT_TRUE(IsBidiControl(control));
    }
    for (const char32_t other : {0x2029U, 0x200BU, 0x2065U, 0x206AU, 0x061BU, 0x05D0U}) {
        EXPECT_FALSE(IsBidiControl(other));
    }
}

// ---- kept history ----------------------------------------------------------------------------

// A kept time of the kept shape reads as a date; anything else is escaped as text from outside.
TEST(HistoryWords, TimesOfTheKeptShapeReadAsDatesOthersEscaped) {
    const std::pair<std::string, std::string> cases[] = {
        {"20261208T100512.123Z", "2026-12-08 10:05:12.123 UTC"},
        {"20261208T100512.123", "20261208T100512.123"},
        {"20261208T1005\x1b[2J.123Z", "20261208T1005\\x1b[2J.123Z"},
        {"20261208T10051\x07.123Z", "20261208T10051\\x07.123Z"},  // a bell for a digit
    };
    for (const auto& [time, shown] : cases) {
        EXPECT_EQ(HistoryTimeWords(time), shown);
    }
}

// A projector that reported no hardware address has nothing kept, and the message says why.
TEST(HistoryWords, NothingKeptWithoutAHardwareAddressSaysWhy) {
    const test::ScopedLanguage english(Language::English);
    std::istringstream in;
    std::ostringstream out;
    std::ostringstream err;
    CliContext context{in, out, err, [](std::string_view) { return std::optional<std::string>(); },
                       nullptr};
    PrintNothingKept(context, "history", {"", ""}, "/kept");
    EXPECT_EQ(err.str(),
              "lanternactl history: the projector reported no hardware address: nothing can be "
              "kept for it\n");
}

}  // namespace
}  // namespace lanterna::cli
