#include <gtest/gtest.h>

#include "settings/EventCode.h"

namespace lanterna {
namespace {

// ---- event set to codes ------------------------------------------------------------------

TEST(EventCode, AllElevenEventsSkipBitFourOfTheFirstCode) {
    EXPECT_EQ(EventCode(0x7FF), "001b 007f");
    EXPECT_EQ(EventCode(0x004), "0008 0000");
    EXPECT_EQ(EventCode(0), "0000 0000");
}

TEST(EventCode, EachEventBitLandsOnItsOwnCodeBit) {
    const char* expected[11] = {"0001 0000", "0002 0000", "0008 0000", "0010 0000",
                                "0000 0001", "0000 0002", "0000 0004", "0000 0008",
                                "0000 0010", "0000 0020", "0000 0040"};
    for (int bit = 0; bit < 11; ++bit) {
        EXPECT_EQ(EventCode(1U << bit), expected[bit]) << "bit " << bit;
    }
}

TEST(EventCode, BitsAboveTenAreIgnored) {
    EXPECT_EQ(EventCode(0xFFFFF800U), "0000 0000");
    EXPECT_EQ(EventCode(0xFFFFFFFFU), "001b 007f");
}

// ---- codes to event set ------------------------------------------------------------------

TEST(EventSetFromCode, InvertsEventCodeForEveryEventSet) {
    for (std::uint32_t set = 0; set < 0x800; ++set) {
        ASSERT_EQ(EventSetFromCode(EventCode(set)), set) << EventCode(set);
    }
}

TEST(EventSetFromCode, IgnoresUnmappedCodeBits) {
    EXPECT_EQ(EventSetFromCode("0004 0000"), 0U);
    EXPECT_EQ(EventSetFromCode("ffff ffff"), 0x7FFU);
    EXPECT_EQ(EventSetFromCode("ffe4 ff80"), 0U);
}

TEST(EventSetFromCode, ReadsLikeTheFormattedReader) {
    EXPECT_EQ(EventSetFromCode("1B 7F"), 0x7FFU);               // upper case, short
    EXPECT_EQ(EventSetFromCode("001b   007f  extra"), 0x7FFU);  // runs of blanks, extra parts
    EXPECT_EQ(EventSetFromCode("  0001 0001"), 0x011U);         // leading blanks
    EXPECT_EQ(EventSetFromCode("00010"), 0x001U);               // only four digits are read
    EXPECT_EQ(EventSetFromCode("0010"), 0x008U);                // second code missing
    EXPECT_EQ(EventSetFromCode("zz 0040"), 0x400U);             // unreadable first code
    EXPECT_EQ(EventSetFromCode(""), 0U);
}

}  // namespace
}  // namespace lanterna
