#include <gtest/gtest.h>

#include "pjlink/Protocol.h"

namespace lanterna::pjlink {
namespace {

using Kind = Greeting::Kind;

// ---- greeting ----

TEST(PjlinkGreeting, FormsAndNearMisses) {
    struct Case {
        std::string_view line;
        std::optional<Kind> kind;
        std::string_view random;
    };
    const Case cases[] = {
        {"PJLINK 0", Kind::kOpen, ""},
        {"PJLINK 1 498e4a67", Kind::kAuthenticate, "498e4a67"},
        {"PJLINK 1 0A1B2C3D", Kind::kAuthenticate, "0A1B2C3D"},
        {"PJLINK ERRA", Kind::kRefused, ""},
        {"PJLINK 1 498e4a6", std::nullopt, ""},     // seven digits
        {"PJLINK 1 498e4a671", std::nullopt, ""},   // nine
        {"PJLINK 1 498e4g67", std::nullopt, ""},    // not hexadecimal
        {"PJLINK 1  498e4a6", std::nullopt, ""},    // two blanks
        {"PJLINK 2", std::nullopt, ""},
        {"PJLINK 0 ", std::nullopt, ""},
        {"pjlink 0", std::nullopt, ""},
        {"PJLINK0", std::nullopt, ""},
        {"", std::nullopt, ""},
    };
    for (const Case& c : cases) {
        const std::optional<Greeting> greeting = ParseGreeting(c.line);
        ASSERT_EQ(greeting.has_value(), c.kind.has_value()) << c.line;
        if (greeting) {
            EXPECT_EQ(greeting->kind, *c.kind) << c.line;
            EXPECT_EQ(greeting->random, c.random) << c.line;
        }
    }
}

// ---- commands ----

TEST(PjlinkCommand, LinesAndRefusals) {
    struct Case {
        Command command;
        std::optional<std::string_view> line;
    };
    const std::string tooLong(161, 'x');
    const Case cases[] = {
        {{'1', "POWR", "?"}, "%1POWR ?"},
        {{'1', "POWR", "1"}, "%1POWR 1"},
        {{'2', "INNM", "?31"}, "%2INNM ?31"},
        {{'3', "POWR", "?"}, std::nullopt},
        {{'1', "POW", "?"}, std::nullopt},
        {{'1', "powr", "?"}, std::nullopt},
        {{'1', "POWR", ""}, std::nullopt},
        {{'1', "POWR", "1\r%1POWR 0"}, std::nullopt},  // a second command smuggled in
        {{'1', "NAME", tooLong}, std::nullopt},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FormatCommand(c.command), c.line) << c.command.name << c.command.parameter;
    }
}

// ---- replies ----

TEST(PjlinkReply, MatchedToTheCommand) {
    const Command lamp{'1', "LAMP", "?"};
    struct Case {
        std::string_view line;
        std::optional<ReplyStatus> status;
        std::string_view value;
    };
    const Case cases[] = {
        {"%1LAMP=1520 1", ReplyStatus::kValue, "1520 1"},
        {"%1LAMP=", ReplyStatus::kValue, ""},
        {"%1LAMP=OK", ReplyStatus::kOk, "OK"},
        {"%1LAMP=ERR1", ReplyStatus::kUndefined, ""},
        {"%1LAMP=ERR2", ReplyStatus::kOutOfRange, ""},
        {"%1LAMP=ERR3", ReplyStatus::kUnavailable, ""},
        {"%1LAMP=ERR4", ReplyStatus::kFailure, ""},
        {"%1LAMP=ERR5", ReplyStatus::kValue, "ERR5"},
        {"%2LAMP=1520 1", std::nullopt, ""},   // another class
        {"%1POWR=1", std::nullopt, ""},        // another command
        {"%1LAMP 1520 1", std::nullopt, ""},   // no "="
        {"%1LAM", std::nullopt, ""},
        {"1LAMP=1520 1", std::nullopt, ""},
        {"%1LAMP=15\t20", std::nullopt, ""},   // a control byte
        {"PJLINK ERRA", std::nullopt, ""},
    };
    for (const Case& c : cases) {
        const std::optional<Reply> reply = ParseReply(c.line, lamp);
        ASSERT_EQ(reply.has_value(), c.status.has_value()) << c.line;
        if (reply) {
            EXPECT_EQ(reply->status, *c.status) << c.line;
            if (c.status == ReplyStatus::kValue || c.status == ReplyStatus::kOk) {
                EXPECT_EQ(reply->value, c.value) << c.line;
            }
        }
    }
    EXPECT_FALSE(ParseReply("%1LAMP=" + std::string(kMaxLineBytes, '1'), lamp));
}

TEST(PjlinkReply, AuthenticationDigestAndRefusal) {
    EXPECT_EQ(AuthDigest("498e4a67", "JBMIAProjectorLink"), "5d8409bc1c3fa39749434aa3a5c38682");
    EXPECT_TRUE(IsAuthRefusal("PJLINK ERRA"));
    EXPECT_FALSE(IsAuthRefusal("PJLINK ERRA "));
    EXPECT_FALSE(IsAuthRefusal("%1POWR=ERRA"));
}

}  // namespace
}  // namespace lanterna::pjlink
