// Reading and forming the values of the network command set: a value is taken only in the
// exact form of its command, and nothing of any other value is taken.

#include <gtest/gtest.h>

#include <functional>
#include <tuple>

#include "link/CommandLine.h"
#include "link/NetworkValues.h"

namespace lanterna {
namespace {

Octets Addr(std::uint8_t a, std::uint8_t b, std::uint8_t c, std::uint8_t d) {
    return {a, b, c, d};
}

// ---- reading: exact forms only ---------------------------------------------------------------

// A reader of one command's value into a record; false when the value is not of its form.
using Reader = std::function<bool(std::string_view value, ProjectorRecord& record)>;

const Reader kAddressConfig = [](std::string_view v, ProjectorRecord& r) {
    bool addressesReported = false;
    return ReadAddressConfig(v, r, addressesReported);
};
const Reader kBasicWireless = ReadBasicWirelessConfig;
const Reader kExtendedWireless = ReadExtendedWirelessConfig;
const Reader kDnsPair = [](std::string_view v, ProjectorRecord& r) {
    return ReadAddressPair(v, r.dns1, r.dns2);
};
const Reader kAddress = [](std::string_view v, ProjectorRecord& r) {
    return ReadDottedAddress(v, r.smtpServer);
};
const Reader kPort = [](std::string_view v, ProjectorRecord& r) {
    std::uint32_t port = 0;
    const bool read = ReadDecimal(v, 0, 65535, port);
    r.smtpPort = static_cast<std::uint16_t>(port);
    return read;
};
const Reader kEvents = [](std::string_view v, ProjectorRecord& r) {
    return ReadEventSet(v, r.mailEvents1);
};
const Reader kSecurity = [](std::string_view v, ProjectorRecord& r) {
    return ReadSecurityCode(v, r.security);
};
const Reader kName = [](std::string_view v, ProjectorRecord& r) {
    return ReadCutText(v, r.projectorName) != TextTaken::kRefused;
};
const Reader kMac = [](std::string_view v, ProjectorRecord&) { return IsHardwareAddressValue(v); };
const Reader kOnOff = [](std::string_view v, ProjectorRecord& r) {
    return ReadOnOff(v, r.mailNotify);
};

TEST(ValueForms, AnythingButTheExactFormIsRefusedAndLeavesTheRecord) {
    struct Case {
        const char* what;
        const Reader& reader;
        std::string value;
        bool taken;
    };
    const Case cases[] = {
        {"address octet over 255", kAddressConfig, "OFF 300.1.1.1 255.255.255.0 0.0.0.0", false},
        {"fifth address part", kDnsPair, "1.2.3.4.5 10.0.0.1", false},
        {"three octets", kAddress, "10.0.0", false},
        {"signed octet", kAddress, "10.0.-0.1", false},
        {"octet of four digits", kAddress, "10.0.0001.1", false},
        {"trailing point", kAddress, "10.0.0.1.", false},
        {"blank inside", kAddress, "10.0. 0.1", false},
        {"letters behind", kAddress, "10.0.0.1x", false},
        {"plain address", kAddress, "10.0.0.1", true},
        {"leading zeros", kAddress, "010.000.0.255", true},
        {"missing part", kAddressConfig, "OFF 10.0.0.5 255.0.0.0", false},
        {"off alone", kAddressConfig, "OFF", false},
        {"on prefix only", kAddressConfig, "ONX 0.0.0.0 0.0.0.0 0.0.0.0", false},
        {"lower case on", kOnOff, "on", false},
        {"on", kOnOff, "ON", true},
        {"negative port", kPort, "-1", false},
        {"twenty digits", kPort, "12345678901234567890", false},
        {"port over the range", kPort, "65536", false},
        {"highest port", kPort, "65535", true},
        {"port with blank", kPort, " 25", false},
        {"80 hex digits", kMac, std::string(80, '0'), false},
        {"colons and an escape", kMac, "ZZ:ZZ\x1b[2J", false},
        {"11 digits", kMac, "00A0B1C2D3E", false},
        {"hardware address", kMac, "00a0B1C2D3E4", true},
        {"one event word", kEvents, "001b", false},
        {"event word of five digits", kEvents, "0001b 007f", false},
        {"event words not hex", kEvents, "00zz 007f", false},
        {"three event words", kEvents, "001b 007f 0000", false},
        {"five security digits", kSecurity, "12040", false},
        {"security with a letter", kSecurity, "1204a1", false},
        {"mode 4 without ESSID", kBasicWireless, "ON 0.0.0.0 0.0.0.0 0.0.0.0 4", false},
        {"mode 0 with a text", kBasicWireless, "ON 0.0.0.0 0.0.0.0 0.0.0.0 0 NET", false},
        {"ESSID over 35 bytes", kBasicWireless,
         "OFF 1.2.3.4 255.0.0.0 0.0.0.0 4 " + std::string(36, 'E'), false},
        {"key over 27 bytes", kBasicWireless,
         "OFF 1.2.3.4 255.0.0.0 0.0.0.0 2 " + std::string(28, 'a'), false},
        {"extended mode 2 without ESSID", kExtendedWireless, "ON 0.0.0.0 0.0.0.0 0.0.0.0 02",
         false},
        {"extended mode 1 with a text", kExtendedWireless, "ON 0.0.0.0 0.0.0.0 0.0.0.0 01 LAB",
         false},
        {"ESSID with a colon", kExtendedWireless, "ON 0.0.0.0 0.0.0.0 0.0.0.0 02 LAB:NET", false},
        {"key alone behind ESSID and WEP bits", kBasicWireless,
         "ON 0.0.0.0 0.0.0.0 0.0.0.0 6 0a0b0c0d0e", false},
        {"name with an escape", kName, "ROOM\x1b[31m", true},
        {"name with a zero byte", kName, std::string("AB\0CD", 5), false},
        {"name of 15 bytes", kName, "ROOM-1234567890", true},
        {"empty name", kName, "", true},
    };
    for (const Case& c : cases) {
        ProjectorRecord r{};
        r.smtpServer = {9, 9, 9, 9};
        CopyText(r.projectorName, "OLD");
        const ProjectorRecord before = r;
        EXPECT_EQ(c.reader(c.value, r), c.taken) << c.what;
        if (!c.taken) {
            EXPECT_EQ(r, before) << c.what << ": nothing of a refused value is taken";
        }
    }
}

TEST(ValueForms, TakenValuesFillTheirFields) {
    ProjectorRecord r{};
    bool addressesReported = false;
    ASSERT_TRUE(ReadAddressConfig("OFF 10.0.0.5 255.0.0.0 10.0.0.1", r, addressesReported));
    EXPECT_EQ(r.dhcp, 0);
    EXPECT_EQ(r.ipAddress, Addr(10, 0, 0, 5));
    EXPECT_EQ(r.gateway, Addr(10, 0, 0, 1));

    ASSERT_TRUE(ReadBasicWirelessConfig("OFF 10.0.0.5 255.0.0.0 10.0.0.1 7 LAN-1 0a0b0c0d0e", r));
    EXPECT_EQ(std::tuple(r.essidSet, r.wepEnabled, r.adhoc), std::tuple(1, 1, 1));
    EXPECT_EQ(TextOf(r.essid), "LAN-1");
    EXPECT_EQ(TextOf(r.wepKey), "0a0b0c0d0e");
    ASSERT_TRUE(ReadBasicWirelessConfig("ON 0.0.0.0 0.0.0.0 0.0.0.0 3 1122334455", r));
    EXPECT_EQ(std::tuple(r.essidSet, r.wepEnabled, r.adhoc), std::tuple(0, 1, 1));
    EXPECT_EQ(TextOf(r.wepKey), "1122334455");
    EXPECT_EQ(TextOf(r.essid), "LAN-1") << "mode 3 carries no ESSID";

    for (const auto& [mode, essidSet, adhoc] :
         {std::tuple("00", 0, 0), std::tuple("1", 0, 1), std::tuple("02 NEW", 1, 0),
          std::tuple("03 NEW", 1, 1)}) {
        ASSERT_TRUE(ReadExtendedWirelessConfig(
            std::string("OFF 1.2.3.4 255.0.0.0 0.0.0.0 ") + mode, r))
            << mode;
        EXPECT_EQ(std::tuple(r.essidSet, r.adhoc), std::tuple(essidSet, adhoc)) << mode;
    }

    ASSERT_TRUE(ReadAddressPair("8.8.8.8   8.8.4.4", r.dns1, r.dns2));
    EXPECT_EQ(r.dns2, Addr(8, 8, 4, 4));
    ASSERT_TRUE(ReadEventSet("001f 7f", r.mailEvents2));
    EXPECT_EQ(r.mailEvents2, 0x7ffU) << "wire bit 0x0004 of the first word is ignored";
    ASSERT_TRUE(ReadSecurityCode("120401", r.security));
    EXPECT_EQ(r.security, (std::array<std::int32_t, 4>{1, 2, 4, 1}));
}

// ---- writing ----------------------------------------------------------------------------------

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

TEST(AddressPair, TwoAddressesJoinedByOneSpace) {
    EXPECT_EQ(AddressPairArgument(Addr(9, 9, 9, 9), Addr(8, 8, 4, 4)), "9.9.9.9 8.8.4.4");
}

TEST(SecurityCode, SixDigitsFromOneOneTwoTwo) {
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


}  // namespace
}  // namespace lanterna
