#include <gtest/gtest.h>

#include "pjlink/Health.h"

namespace lanterna::pjlink {
namespace {

// Each parser with what it takes and the near misses it refuses.
TEST(PjlinkValues, ScalarsInRange) {
    EXPECT_EQ(ParsePower("0"), Power::kOff);
    EXPECT_EQ(ParsePower("3"), Power::kWarming);
    for (const std::string_view bad : {"4", "", "01", "1 ", "a"}) {
        EXPECT_FALSE(ParsePower(bad)) << bad;
    }
    EXPECT_EQ(ParseMute("31"), 31);
    EXPECT_EQ(ParseMute("10"), 10);
    for (const std::string_view bad : {"12", "41", "00", "3", "311"}) {
        EXPECT_FALSE(ParseMute(bad)) << bad;
    }
    EXPECT_EQ(ParseClass("2"), 2);
    EXPECT_FALSE(ParseClass("3"));
    EXPECT_FALSE(ParseClass("2 "));
    EXPECT_EQ(ParseHours("0"), 0);
    EXPECT_EQ(ParseHours("99999"), 99999);
    for (const std::string_view bad : {"", "100000", "-1", "12a", " 12", "+1"}) {
        EXPECT_FALSE(ParseHours(bad)) << bad;
    }
}

TEST(PjlinkValues, InputsByClass) {
    struct Case {
        std::string_view value;
        int pjlinkClass;
        bool taken;
    };
    const Case cases[] = {
        {"31", 1, true}, {"59", 1, true},  {"61", 1, false}, {"3A", 1, false}, {"61", 2, true},
        {"3Z", 2, true}, {"3a", 2, false}, {"30", 2, false}, {"71", 2, false}, {"3", 1, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ParseInput(c.value, c.pjlinkClass).has_value(), c.taken) << c.value;
    }
    EXPECT_EQ(ParseInputs("11 31 32", 1), (std::vector<std::string>{"11", "31", "32"}));
    EXPECT_EQ(ParseInputs("", 1), std::vector<std::string>{});
    for (const std::string_view bad : {"11  31", " 11", "11 ", "11,31", "11 3A"}) {
        EXPECT_FALSE(ParseInputs(bad, 1)) << bad;
    }
}

TEST(PjlinkValues, ErrorsAndLamps) {
    EXPECT_EQ(ParseErrors("020001"), (ErrorLevels{0, 2, 0, 0, 0, 1}));
    for (const std::string_view bad : {"02000", "0200013", "030000", "02000a"}) {
        EXPECT_FALSE(ParseErrors(bad)) << bad;
    }
    const auto lamps = ParseLamps("1520 1 30 0");
    ASSERT_TRUE(lamps);
    ASSERT_EQ(lamps->size(), 2u);
    EXPECT_EQ((*lamps)[0].hours, 1520);
    EXPECT_TRUE((*lamps)[0].on);
    EXPECT_EQ((*lamps)[1].hours, 30);
    EXPECT_FALSE((*lamps)[1].on);
    const std::string nine = "1 1 2 1 3 1 4 1 5 1 6 1 7 1 8 1 9 1";
    for (const std::string_view bad : {std::string_view(""), std::string_view("1520"),
                                       std::string_view("1520 2"), std::string_view("1520  1"),
                                       std::string_view("1520 1 "), std::string_view("100000 1"),
                                       std::string_view(nine)}) {
        EXPECT_FALSE(ParseLamps(bad)) << bad;
    }
    EXPECT_EQ(ParseText(std::string(64, 'x'), 64), std::string(64, 'x'));
    EXPECT_FALSE(ParseText(std::string(65, 'x'), 64));
}

TEST(PjlinkValues, Summaries) {
    Health health;
    EXPECT_EQ(HighestErrorLevel(health), 0);
    EXPECT_FALSE(MostLampHours(health));
    health.errors = ErrorLevels{0, 1, 0, 2, 0, 0};
    health.lamps = std::vector<Lamp>{{1200, true}, {3400, false}};
    EXPECT_EQ(HighestErrorLevel(health), 2);
    EXPECT_EQ(MostLampHours(health), 3400);
}

}  // namespace
}  // namespace lanterna::pjlink
