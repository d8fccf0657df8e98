// The command line: splitting into tokens and the "/debug" switch.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/CommandLine.h"

namespace lanterna {
namespace {

using Tokens = std::vector<std::string>;

// ---------------------------------------------------------------- splitting

TEST(SplitCommandLine, SpacesSeparateAndRunsOfThemGiveNoEmptyTokens) {
    EXPECT_EQ(SplitCommandLine("  a  bc   d "), (Tokens{"a", "bc", "d"}));
    EXPECT_EQ(SplitCommandLine(""), Tokens{});
    EXPECT_EQ(SplitCommandLine("     "), Tokens{});
}

TEST(SplitCommandLine, QuotesHoldSpacesAndAnUnclosedQuoteRunsToTheEnd) {
    EXPECT_EQ(SplitCommandLine("\"/debug\" \"a b\"c"), (Tokens{"/debug", "a b", "c"}));
    EXPECT_EQ(SplitCommandLine("x \"open to the end"), (Tokens{"x", "open to the end"}));
    EXPECT_EQ(SplitCommandLine("\"\" y"), (Tokens{"y"}));
    EXPECT_EQ(SplitCommandLine("\""), Tokens{});
}

TEST(SplitCommandLine, AtSignAndLoneWideSpaceBytesSeparate) {
    EXPECT_EQ(SplitCommandLine("a@b"), (Tokens{"a", "b"}));
    EXPECT_EQ(SplitCommandLine("a\x81z"), (Tokens{"a", "z"}));
}

TEST(SplitCommandLine, DoubleByteWideSpaceBecomesOneSpace) {
    EXPECT_EQ(SplitCommandLine("/debug\x81\x40x"), (Tokens{"/debug", "x"}));
    // Inside quotes the pair is a space too, not two delimiters.
    EXPECT_EQ(SplitCommandLine("\"a\x81\x40"
                               "b\""),
              (Tokens{"a b"}));
}

TEST(SplitCommandLine, JoinedArgumentsSplitBackIntoThemselves) {
    const char* argv[] = {"lanterna", "/debug", "two words", "x@y", "", nullptr};
    const std::string line = JoinArguments(5, argv);
    EXPECT_EQ(line, "/debug \"two words\" \"x@y\" \"\"");
    EXPECT_EQ(SplitCommandLine(line), (Tokens{"/debug", "two words", "x@y"}));
    EXPECT_EQ(JoinArguments(1, argv), "");
}

// ---------------------------------------------------------------- debug switch

TEST(DebugSwitch, AnyLetterCaseAndQuotesSwitchItOn) {
    for (const char* line :
         {"/debug", "/DEBUG", "/Debug", "\"/debug\"", "x /dEbUg y", "a@/debug"}) {
        EXPECT_EQ(ReadDebugMode(line), 1) << line;
    }
}

TEST(DebugSwitch, OtherWordsAndNearMissesLeaveItOff) {
    for (const char* line :
         {"", "   ", "-debug", "/debugx", "/debu", "debug", "/ debug", "x y z", "\"/debug \""}) {
        EXPECT_EQ(ReadDebugMode(line), 0) << line;
    }
}

}  // namespace
}  // namespace lanterna
