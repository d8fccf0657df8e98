#include <gtest/gtest.h>

#include <array>
#include <string>

#include "link/CommandLine.h"

namespace lanterna {
namespace {

// ---- building lines -------------------------------------------------------------------------

TEST(CommandLine, FourFormsFromNameArgumentAndKind) {
    EXPECT_EQ(BuildCommandLine("NWPNAME", "", true, true), "NWPNAME?");
    EXPECT_EQ(BuildCommandLine("NWPNAME", "X", true, true), "NWPNAME? X");
    EXPECT_EQ(BuildCommandLine("NWSMTPTEST", "", false, true), "NWSMTPTEST");
    EXPECT_EQ(BuildCommandLine("NWPNAME", "ROOM-12", false, true), "NWPNAME ROOM-12");
}

TEST(CommandLine, TrimRemovesTrailingWhiteSpaceOnly) {
    EXPECT_EQ(BuildCommandLine("NWDNSDMN", " ", false, true), "NWDNSDMN");
    EXPECT_EQ(BuildCommandLine("NWWLCNF", "4 ESSID \t\n", false, true), "NWWLCNF 4 ESSID");
    EXPECT_EQ(BuildCommandLine("NWWLCNF", "  4 A", false, true), "NWWLCNF   4 A")
        << "leading and inner spaces stay";
}

TEST(CommandLine, WithoutTrimTheTrailingSpaceStays) {
    EXPECT_EQ(BuildCommandLine("NWWLCNF", "4 ESSID ", false, false), "NWWLCNF 4 ESSID ");
}

TEST(CommandLine, EmptySetCommandIsTheBareKeepAliveLine) {
    EXPECT_EQ(BuildCommandLine("", "", false, true), "");
    EXPECT_EQ(BuildCommandLine(" ", "", false, true), "");
}

// ---- reply text -----------------------------------------------------------------------------

TEST(ReplyText, ErrorRepliesBeginWithErr) {
    EXPECT_TRUE(IsErrorReply("ERR\r:"));
    EXPECT_TRUE(IsErrorReply("ERROR\r:"));
    EXPECT_FALSE(IsErrorReply("\r:")) << "an empty answer to a set command is success";
    EXPECT_FALSE(IsErrorReply(" ERR\r:"));
    EXPECT_FALSE(IsErrorReply("ER"));
}

TEST(ReplyText, ValueIsEverythingAfterTheEqualsThatFollowsTheName) {
    std::array<char, 16> value{};
    EXPECT_EQ(ExtractQueryValue("NWPNAME=ROOM-12\r:", "NWPNAME", value.data(), 15), 1);
    EXPECT_STREQ(value.data(), "ROOM-12");

    EXPECT_EQ(ExtractQueryValue("NWPNAME==X\r:", "NWPNAME", value.data(), 15), 1);
    EXPECT_STREQ(value.data(), "=X") << "a value beginning with \"=\" keeps it";

    EXPECT_EQ(ExtractQueryValue("NWPNAME=A=B\r:", "NWPNAME", value.data(), 15), 1);
    EXPECT_STREQ(value.data(), "A=B");

    EXPECT_EQ(ExtractQueryValue("NWPNAME=\r:", "NWPNAME", value.data(), 15), 1);
    EXPECT_STREQ(value.data(), "") << "an empty value is still a value";
}

TEST(ReplyText, OnlyTheAnswerToTheCommandAskedHasAValue) {
    std::array<char, 8> value{'k', 'e', 'p', 't', 0};
    const struct {
        const char* reply;
        const char* why;
    } strays[] = {
        {"NWSMTPPORT=10.0.0.1\r:", "another command's answer"},
        {"NWSMTPSRVX=10.0.0.1\r:", "a longer name"},
        {"X=1\rNWSMTPSRV=10.0.0.1\r:", "the name not at the start"},
        {"NWSMTPSRV=10.0.0.1:", "no carriage return"},
        {"NWSMTPSRV\r:", "no equals sign"},
        {"ERR=1\r:", "an error reply"},
        {"\r=X:", "nothing before the prompt"},
    };
    for (const auto& stray : strays) {
        EXPECT_EQ(ExtractQueryValue(stray.reply, "NWSMTPSRV", value.data(), 7), 0) << stray.why;
    }
    EXPECT_STREQ(value.data(), "kept");
    EXPECT_EQ(ReadQueryAnswer("ERR\r:", "NWSMTPSRV").kind, QueryAnswer::Kind::kRefused);
    EXPECT_EQ(ReadQueryAnswer("NWSMTPPORT=25\r:", "NWSMTPSRV").kind, QueryAnswer::Kind::kStray);
}

TEST(ReplyText, ASecondAnswerInTheSameBufferIsNotTheValue) {
    const std::string_view both = "NWSMTPSRV=10.0.0.2\r:NWSMTPPORT=2525\r:";
    EXPECT_EQ(FirstReply(both), "NWSMTPSRV=10.0.0.2\r:");
    EXPECT_EQ(FirstReply(":NWPNAME=X\r:"), ":") << "the answer to a bare carriage return";
    EXPECT_EQ(FirstReply("NWPNAME=A:B\r:"), "NWPNAME=A:B\r:") << "a colon inside a value";
    std::array<char, 16> value{};
    EXPECT_EQ(ExtractQueryValue(both, "NWSMTPSRV", value.data(), 15), 1);
    EXPECT_STREQ(value.data(), "10.0.0.2");
}

TEST(ReplyText, CopyIsBoundedByValueSizeAndZeroFilled) {
    std::array<char, 8> value;
    value.fill('#');
    EXPECT_EQ(ExtractQueryValue("V=ABCDEFGHIJ\r:", "V", value.data(), 4), 1);
    EXPECT_EQ(std::string(value.data(), 5), "ABCD#") << "no byte beyond valueSize is touched";

    value.fill('#');
    EXPECT_EQ(ExtractQueryValue("V=AB\r:", "V", value.data(), 6), 1);
    EXPECT_EQ(std::string(value.data(), 7), std::string("AB\0\0\0\0#", 7));
}

TEST(ReplyText, NullValueIsAcceptedForTheResultAlone) {
    EXPECT_EQ(ExtractQueryValue("V=1\r:", "V", nullptr, 0), 1);
}

// ---- event notices --------------------------------------------------------------------------

TEST(EventNotices, NoticeAtTheStartOrInsideIsSkipped) {
    EXPECT_EQ(FindEventNotice("IMEVENT=0001\r:").action, EventNotice::Action::kSkip);
    EXPECT_EQ(FindEventNotice("NWPNAME=X\rIMEVENT=0001\r:").action, EventNotice::Action::kSkip);
}

TEST(EventNotices, NoticeRightAfterAPromptIsCutOff) {
    const EventNotice notice = FindEventNotice("NWPNAME=X\r:IMEVENT=0001\r:");
    EXPECT_EQ(notice.action, EventNotice::Action::kCut);
    EXPECT_EQ(notice.position, 11u);
}

TEST(EventNotices, PlainReplyHasNone) {
    EXPECT_EQ(FindEventNotice("NWPNAME=IMEVENT\r:").action, EventNotice::Action::kNone);
    EXPECT_EQ(FindEventNotice("").action, EventNotice::Action::kNone);
}

}  // namespace
}  // namespace lanterna
