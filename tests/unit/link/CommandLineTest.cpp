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

TEST(ReplyText, ValueIsTheTextAfterTheLastEqualsBeforeTheLastCarriageReturn) {
    std::array<char, 16> value{};
    EXPECT_EQ(ExtractQueryValue("NWPNAME=ROOM-12\r:", value.data(), 15), 1);
    EXPECT_STREQ(value.data(), "ROOM-12");

    EXPECT_EQ(ExtractQueryValue("NWPNAME=A=B\r:", value.data(), 15), 1);
    EXPECT_STREQ(value.data(), "B") << "the last \"=\" counts";

    EXPECT_EQ(ExtractQueryValue("X=1\rNWIP=10.0.0.1\r:", value.data(), 15), 1);
    EXPECT_STREQ(value.data(), "10.0.0.1");

    EXPECT_EQ(ExtractQueryValue("NWPNAME=\r:", value.data(), 15), 1);
    EXPECT_STREQ(value.data(), "") << "an empty value is still a value";
}

TEST(ReplyText, FailedExtractionLeavesTheValueUnchanged) {
    std::array<char, 8> value{'k', 'e', 'p', 't', 0};
    EXPECT_EQ(ExtractQueryValue("NWPNAME=ROOM:", value.data(), 7), 0) << "no carriage return";
    EXPECT_EQ(ExtractQueryValue("NWPNAME\r:", value.data(), 7), 0) << "no equals sign";
    EXPECT_EQ(ExtractQueryValue("ERR=1\r:", value.data(), 7), 0) << "error reply";
    EXPECT_EQ(ExtractQueryValue("\r=X:", value.data(), 7), 0) << "\"=\" only after the CR";
    EXPECT_STREQ(value.data(), "kept");
}

TEST(ReplyText, CopyIsBoundedByValueSizeAndZeroFilled) {
    std::array<char, 8> value;
    value.fill('#');
    EXPECT_EQ(ExtractQueryValue("V=ABCDEFGHIJ\r:", value.data(), 4), 1);
    EXPECT_EQ(std::string(value.data(), 5), "ABCD#") << "no byte beyond valueSize is touched";

    value.fill('#');
    EXPECT_EQ(ExtractQueryValue("V=AB\r:", value.data(), 6), 1);
    EXPECT_EQ(std::string(value.data(), 7), std::string("AB\0\0\0\0#", 7));
}

TEST(ReplyText, NullValueIsAcceptedForTheResultAlone) {
    EXPECT_EQ(ExtractQueryValue("V=1\r:", nullptr, 0), 1);
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
