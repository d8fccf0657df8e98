#include <gtest/gtest.h>

#include "platform/AsciiCase.h"

namespace lanterna {
namespace {

TEST(AsciiCase, FoldsAsciiLettersOnly) {
    EXPECT_TRUE(EqualIgnoringCase("00:1A:bc:DE", "00:1a:BC:de"));
    EXPECT_FALSE(EqualIgnoringCase("abc", "abcd"));
    EXPECT_FALSE(EqualIgnoringCase("[", "{"));  // 0x5B and 0x7B are not a letter pair
    // UTF-8 bytes are compared as they are: "É" and "é" differ.
    EXPECT_FALSE(EqualIgnoringCase("\xC3\x89", "\xC3\xA9"));
    EXPECT_TRUE(EqualIgnoringCase("", ""));
}

TEST(AsciiCase, ExtensionInAnyCase) {
    EXPECT_TRUE(HasExtension("C:\\settings\\LOBBY.INI", ".ini"));
    EXPECT_TRUE(HasExtension("a.Ini", ".ini"));
    EXPECT_FALSE(HasExtension("ini", ".ini"));
    EXPECT_FALSE(HasExtension("lobby.ini.bak", ".ini"));
    EXPECT_FALSE(HasExtension("lobby.ncf", ".ini"));
}

}  // namespace
}  // namespace lanterna
