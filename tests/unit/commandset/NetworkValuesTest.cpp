// Reading and forming the values of the network command set.

#include <gtest/gtest.h>

#include "link/CommandLine.h"
#include "link/NetworkValues.h"

namespace lanterna {
namespace {

Octets Addr(std::uint8_t a, std::uint8_t b, std::uint8_t c, std::uint8_t d) {
    return {a, b, c, d};
}

// ---- value conventions ------------------------------------------------------------------------

TEST(ValueConventions, PartsSplitOnRunsOfSpacesAndSkipEmptyOnes) {
    const auto parts = SplitValueParts("  OFF   10.0.0.5 255.0.0.0  ");
    ASSERT_EQ(parts.size(), 3U);
    EXPECT_EQ(parts[0], "OFF");
    EXPECT_EQ(parts[1], "10.0.0.5");
    EXPECT_EQ(parts[2], "255.0.0.0");
    EXPECT_TRUE(SplitValueParts("").empty());
    EXPECT_TRUE(SplitValueParts("    ").empty());
}

TEST(ValueConventions, OnMeansTheFirstTwoCharacters) {
    EXPECT_EQ(ReadOnPrefix("ON"), 1);
    EXPECT_EQ(ReadOnPrefix("ONX"), 1);
    EXPECT_EQ(ReadOnPrefix("OFF"), 0);
    EXPECT_EQ(ReadOnPrefix("on"), 0);
    EXPECT_EQ(ReadOnPrefix("O"), 0);
    EXPECT_EQ(ReadOnPrefix(""), 0);
}

TEST(ValueConventions, DecimalStopsAtTheFirstNonDigitAndSaturates) {
    EXPECT_EQ(ReadDecimal("25"), 25);
    EXPECT_EQ(ReadDecimal("25x7"), 25);
    EXPECT_EQ(ReadDecimal("  -3"), -3);
    EXPECT_EQ(ReadDecimal("+8"), 8);
    EXPECT_EQ(ReadDecimal("abc"), 0);
    EXPECT_EQ(ReadDecimal(""), 0);
    EXPECT_EQ(ReadDecimal("99999999999999"), 2147483647);
    EXPECT_EQ(ReadDecimal("-99999999999999"), -2147483647 - 1);
}

TEST(ValueConventions, AnUnreadableAddressLeavesTheOctets) {
    Octets octets = Addr(1, 2, 3, 4);
    ReadDottedPart("garbage", octets);
    EXPECT_EQ(octets, Addr(1, 2, 3, 4));
    ReadDottedPart("", octets);
    EXPECT_EQ(octets, Addr(1, 2, 3, 4));
    ReadDottedPart("10.20", octets);  // the numbers read are taken, the rest stays
    EXPECT_EQ(octets, Addr(10, 20, 3, 4));
}

// ---- NWCNF ------------------------------------------------------------------------------------

TEST(AddressConfig, StaticAddressIsReadAndExtraPartsIgnored) {
    ProjectorRecord r{};
    ReadAddressConfig("OFF 10.0.0.5 255.0.0.0 10.0.0.1 junk 1.1.1.1", r);
    EXPECT_EQ(r.dhcp, 0);
    EXPECT_EQ(r.ipAddress, Addr(10, 0, 0, 5));
    EXPECT_EQ(r.subnetMask, Addr(255, 0, 0, 0));
    EXPECT_EQ(r.gateway, Addr(10, 0, 0, 1));
}

TEST(AddressConfig, DhcpOnLeavesTheAddressesAsTheyWere) {
    ProjectorRecord r{};
    r.ipAddress = Addr(192, 168, 1, 9);
    ReadAddressConfig("ON 0.0.0.0 0.0.0.0 0.0.0.0", r);
    EXPECT_EQ(r.dhcp, 1);
    EXPECT_EQ(r.ipAddress, Addr(192, 168, 1, 9));
    EXPECT_EQ(r.gateway, Addr(0, 0, 0, 0));
}

TEST(AddressConfig, MissingPartsLeaveTheirOctets) {
    ProjectorRecord r{};
    r.gateway = Addr(9, 9, 9, 9);
    ReadAddressConfig("OFF 10.0.0.5", r);
    EXPECT_EQ(r.ipAddress, Addr(10, 0, 0, 5));
    EXPECT_EQ(r.gateway, Addr(9, 9, 9, 9));
}

TEST(AddressConfig, ArgumentCarriesZeroAddressesUnderDhcp) {
    ProjectorRecord r{};
    r.ipAddress = Addr(10, 0, 0, 5);
    r.dhcp = 1;
    EXPECT_EQ(AddressConfigArgument(r), "ON 0.0.0.0 0.0.0.0 0.0.0.0");
    r.dhcp = 0;
    r.subnetMask = Addr(255, 255, 0, 0);
    EXPECT_EQ(AddressConfigArgument(r), "OFF 10.0.0.5 255.255.0.0 0.0.0.0");
}

// ---- NWWLCNF ----------------------------------------------------------------------------------

TEST(BasicWireless, ModeBitsEssidAndKeyAreRead) {
    ProjectorRecord r{};
    ReadBasicWirelessConfig("OFF 10.0.0.5 255.0.0.0 10.0.0.1 7 LAN-1 0a0b0c0d0e", r);
    EXPECT_EQ(r.essidSet, 1);
    EXPECT_EQ(r.wepEnabled, 1);
    EXPECT_EQ(r.adhoc, 1);
    EXPECT_EQ(TextOf(r.essid), "LAN-1");
    EXPECT_EQ(TextOf(r.wepKey), "0a0b0c0d0e");
    EXPECT_EQ(r.ipAddress, Addr(10, 0, 0, 5));
}

TEST(BasicWireless, ModeThreePutsTheSixthPartIntoTheKeyAndLeavesTheEssid) {
    ProjectorRecord r{};
    CopyText(r.essid, "KEEP-ME");
    ReadBasicWirelessConfig("ON 0.0.0.0 0.0.0.0 0.0.0.0 3 1122334455", r);
    EXPECT_EQ(r.dhcp, 1);
    EXPECT_EQ(r.essidSet, 0);
    EXPECT_EQ(r.wepEnabled, 1);
    EXPECT_EQ(r.adhoc, 1);
    EXPECT_EQ(TextOf(r.wepKey), "1122334455");
    EXPECT_EQ(TextOf(r.essid), "KEEP-ME");
}

TEST(BasicWireless, ModeAboveSevenSetsAllThree) {
    ProjectorRecord r{};
    ReadBasicWirelessConfig("OFF 1.2.3.4 255.0.0.0 0.0.0.0 9 NET", r);
    EXPECT_EQ(r.essidSet, 1);
    EXPECT_EQ(r.wepEnabled, 1);
    EXPECT_EQ(r.adhoc, 1);
    EXPECT_EQ(TextOf(r.essid), "NET");
}

TEST(BasicWireless, LongTextsAreCutToTheirFields) {
    ProjectorRecord r{};
    const std::string essid(50, 'E');
    const std::string key(40, 'a');
    ReadBasicWirelessConfig("OFF 1.2.3.4 255.0.0.0 0.0.0.0 6 " + essid + " " + key, r);
    EXPECT_EQ(TextOf(r.essid), essid.substr(0, 35));
    EXPECT_EQ(TextOf(r.wepKey), key.substr(0, 27));
}

TEST(BasicWireless, EssidWithoutKeyKeepsTheTrailingSpace) {
    ProjectorRecord r{};
    r.ipAddress = Addr(10, 0, 0, 5);
    r.subnetMask = Addr(255, 0, 0, 0);
    r.essidSet = 1;
    CopyText(r.essid, "LAN-1");
    std::string argument;
    ASSERT_TRUE(BasicWirelessConfigArgument(r, argument));
    EXPECT_EQ(argument, "OFF 10.0.0.5 255.0.0.0 0.0.0.0 4 LAN-1 ");
    EXPECT_EQ(BuildCommandLine("NWWLCNF", argument, false, false),
              "NWWLCNF OFF 10.0.0.5 255.0.0.0 0.0.0.0 4 LAN-1 ");
}

TEST(BasicWireless, ModesZeroAndOneCarryNoTexts) {
    ProjectorRecord r{};
    r.dhcp = 1;
    r.adhoc = 1;
    CopyText(r.essid, "IGNORED");
    std::string argument;
    ASSERT_TRUE(BasicWirelessConfigArgument(r, argument));
    EXPECT_EQ(argument, "ON 0.0.0.0 0.0.0.0 0.0.0.0 1  ");
}

TEST(BasicWireless, KeyTravelsInHexadecimalForm) {
    ProjectorRecord r{};
    r.wepEnabled = 1;
    CopyText(r.wepKey, "abcde");
    std::string argument;
    ASSERT_TRUE(BasicWirelessConfigArgument(r, argument));
    EXPECT_EQ(argument, "OFF 0.0.0.0 0.0.0.0 0.0.0.0 2  6162636465");
}

TEST(BasicWireless, KeyWithoutHexadecimalFormIsNotSent) {
    ProjectorRecord r{};
    r.wepEnabled = 1;
    CopyText(r.wepKey, "abc");
    std::string argument = "untouched";
    EXPECT_FALSE(BasicWirelessConfigArgument(r, argument));
}

// ---- NWWLCNFS ---------------------------------------------------------------------------------

TEST(ExtendedWireless, ModesGiveEssidAndAdhoc) {
    struct Case {
        const char* mode;
        std::int32_t essidSet;
        std::int32_t adhoc;
    };
    for (const Case c : {Case{"00", 0, 0}, Case{"01", 0, 1}, Case{"02", 1, 0}, Case{"03", 1, 1},
                         Case{"7", 1, 1}}) {
        ProjectorRecord r{};
        CopyText(r.essid, "OLD");
        ReadExtendedWirelessConfig(std::string("OFF 1.2.3.4 255.0.0.0 0.0.0.0 ") + c.mode + " NEW",
                                   r);
        EXPECT_EQ(r.essidSet, c.essidSet) << c.mode;
        EXPECT_EQ(r.adhoc, c.adhoc) << c.mode;
        EXPECT_EQ(TextOf(r.essid), c.essidSet ? "NEW" : "OLD") << c.mode;
    }
}

TEST(ExtendedWireless, EssidInInfrastructureModeSendsModeTwo) {
    ProjectorRecord r{};
    r.essidSet = 1;
    CopyText(r.essid, "HALL");
    r.ipAddress = Addr(10, 1, 1, 1);
    r.subnetMask = Addr(255, 255, 255, 0);
    EXPECT_EQ(ExtendedWirelessConfigArgument(r), "OFF 10.1.1.1 255.255.255.0 0.0.0.0 02 HALL");
    r.essidSet = 0;
    r.adhoc = 1;
    r.dhcp = 1;
    EXPECT_EQ(ExtendedWirelessConfigArgument(r), "ON 0.0.0.0 0.0.0.0 0.0.0.0 01");
}

// ---- pairs, security, keys --------------------------------------------------------------------

TEST(AddressPair, TwoAddressesReadAndWritten) {
    Octets first = Addr(1, 1, 1, 1);
    Octets second = Addr(2, 2, 2, 2);
    ReadAddressPair("8.8.8.8   8.8.4.4", first, second);
    EXPECT_EQ(first, Addr(8, 8, 8, 8));
    EXPECT_EQ(second, Addr(8, 8, 4, 4));
    ReadAddressPair("9.9.9.9", first, second);
    EXPECT_EQ(second, Addr(8, 8, 4, 4));
    EXPECT_EQ(AddressPairArgument(first, second), "9.9.9.9 8.8.4.4");
}

TEST(SecurityCode, SixDigitsSplitOneOneTwoTwo) {
    EXPECT_EQ(ReadSecurityCode("120401"), (std::array<std::int32_t, 4>{1, 2, 4, 1}));
    EXPECT_EQ(ReadSecurityCode("11"), (std::array<std::int32_t, 4>{1, 1, 0, 0}));
    EXPECT_EQ(ReadSecurityCode(""), (std::array<std::int32_t, 4>{0, 0, 0, 0}));
    EXPECT_EQ(SecurityCodeArgument({1, 2, 4, 1}), "120401");
    EXPECT_EQ(SecurityCodeArgument({2, 0, 1, 0}), "200100");
}

TEST(WepKeys, EmptyKeyIsInitAndOthersTravelAsHex) {
    std::string argument;
    ASSERT_TRUE(WepKeyArgument("", argument));
    EXPECT_EQ(argument, "INIT");
    ASSERT_TRUE(WepKeyArgument("AbCdE", argument));
    EXPECT_EQ(argument, "4162436445");
    ASSERT_TRUE(WepKeyArgument("00112233FF", argument));
    EXPECT_EQ(argument, "00112233FF");
    ASSERT_TRUE(WepKeyArgument("short", argument));
    EXPECT_EQ(argument, "73686f7274");
    EXPECT_FALSE(WepKeyArgument("sixsix", argument));
}

TEST(WepKeys, ReadValuesOf256BytesOrMoreAreNotKept) {
    EXPECT_EQ(ReadWepKeyValue(std::string(255, 'a')), std::string(255, 'a'));
    EXPECT_EQ(ReadWepKeyValue(std::string(256, 'a')), "");
    EXPECT_EQ(ReadWepKeyValue(std::string(300, 'a')), "");
}

}  // namespace
}  // namespace lanterna
