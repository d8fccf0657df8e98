#include <gtest/gtest.h>

#include <string>

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
    };
    for (const auto& [text, shown] : cases) {
        EXPECT_EQ(TerminalText(text), shown);
    }
}

}  // namespace
}  // namespace lanterna::cli
