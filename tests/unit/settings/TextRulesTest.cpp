#include <gtest/gtest.h>

#include <string>

#include "settings/ValidationRules.h"

namespace lanterna {
namespace {

using namespace std::string_literals;

std::string Repeat(char c, std::size_t count) {
    return std::string(count, c);
}

// "가" in UTF-8: three bytes, all of them 0x80 or above.
const std::string kHangul = "가";

// ---- projector names ------------------------------------------------------------------------

TEST(IsProjectorName, EdgeCases) {
    EXPECT_EQ(IsProjectorName("123"), 0);
    EXPECT_EQ(IsProjectorName("1-2"), 1);
    EXPECT_EQ(IsProjectorName(Repeat('A', 15)), 1);
    EXPECT_EQ(IsProjectorName(Repeat('A', 16)), 0);
    EXPECT_EQ(IsProjectorName("PJ_1"), 0);
    EXPECT_EQ(IsProjectorName(""), 0);
}

TEST(IsProjectorName, LettersDigitsAndHyphenOnly) {
    EXPECT_EQ(IsProjectorName("-"), 1);
    EXPECT_EQ(IsProjectorName("Room-101b"), 1);
    EXPECT_EQ(IsProjectorName("Room 101"), 0);
    EXPECT_EQ(IsProjectorName("Room.101"), 0);
    EXPECT_EQ(IsProjectorName("A\0B"s), 0);
    EXPECT_EQ(IsProjectorName(kHangul), 0);
    EXPECT_EQ(IsProjectorName("Room" + kHangul), 0);
    EXPECT_EQ(IsProjectorName("\xE9t\xE9"), 0);  // Latin-1 letters are not ASCII letters
}

// ---- domain names ---------------------------------------------------------------------------

TEST(IsDomainName, LengthAndBytes) {
    EXPECT_EQ(IsDomainName(""), 1);
    EXPECT_EQ(IsDomainName("corp.example-1.kr"), 1);
    EXPECT_EQ(IsDomainName(Repeat('a', 96)), 1);
    EXPECT_EQ(IsDomainName(Repeat('a', 97)), 0);
    EXPECT_EQ(IsDomainName("corp_example.kr"), 0);
    EXPECT_EQ(IsDomainName("corp example.kr"), 0);
    EXPECT_EQ(IsDomainName(kHangul + ".kr"), 0);
}

// ---- mail addresses -------------------------------------------------------------------------

TEST(IsMailAddress, EdgeCases) {
    EXPECT_EQ(IsMailAddress("a@b"), 1);
    EXPECT_EQ(IsMailAddress("a @b"), 0);
    EXPECT_EQ(IsMailAddress("ab"), 0);
    EXPECT_EQ(IsMailAddress(""), 0);
    EXPECT_EQ(IsMailAddress(Repeat('a', 62) + "@b"), 1);
    EXPECT_EQ(IsMailAddress(Repeat('a', 63) + "@b"), 0);
}

TEST(IsMailAddress, EachForbiddenCharacterRejects) {
    for (const char c : std::string("\"/\\[]:;|=,+*?<> ")) {
        EXPECT_EQ(IsMailAddress("us"s + c + "er@example.kr"), 0) << "character " << c;
    }
    EXPECT_EQ(IsMailAddress("first.last-1_x!#$%&'^`{}~@example.kr"), 1);
}

TEST(IsMailAddress, MultibyteAllowedControlBytesNot) {
    EXPECT_EQ(IsMailAddress(kHangul + "@example.kr"), 1);
    // A control byte would end or split the command line that carries the address.
    EXPECT_EQ(IsMailAddress("a@b\r"), 0);
    EXPECT_EQ(IsMailAddress("a@b\rNWRESET"), 0);
    EXPECT_EQ(IsMailAddress("a@b\n"), 0);
    EXPECT_EQ(IsMailAddress("a@\tb"), 0);
    EXPECT_EQ(IsMailAddress("a@b\x7f"), 0);
    EXPECT_EQ(IsMailAddress("a@b\0c"s), 0);
}

// ---- port numbers ---------------------------------------------------------------------------

TEST(IsPortNumber, EdgeCases) {
    EXPECT_EQ(IsPortNumber("25"), 1);
    EXPECT_EQ(IsPortNumber("0"), 0);
    EXPECT_EQ(IsPortNumber("65536"), 0);
    EXPECT_EQ(IsPortNumber("-1"), 0);
    EXPECT_EQ(IsPortNumber("25a"), 1);
    EXPECT_EQ(IsPortNumber(""), 0);
}

TEST(IsPortNumber, LeadingDigitsOnly) {
    EXPECT_EQ(IsPortNumber("1"), 1);
    EXPECT_EQ(IsPortNumber("65535"), 1);
    EXPECT_EQ(IsPortNumber("00025"), 1);
    EXPECT_EQ(IsPortNumber("a25"), 0);
    EXPECT_EQ(IsPortNumber(" 25"), 0);
    EXPECT_EQ(IsPortNumber("25" + kHangul), 1);
    EXPECT_EQ(IsPortNumber(kHangul + "25"), 0);
}

TEST(IsPortNumber, LongDigitRunsDoNotWrapIntoRange) {
    EXPECT_EQ(IsPortNumber("4294967321"), 0);            // 2^32 + 25
    EXPECT_EQ(IsPortNumber("18446744073709551641"), 0);  // 2^64 + 25
    EXPECT_EQ(IsPortNumber(Repeat('9', 200)), 0);
}

// ---- SNMP community -------------------------------------------------------------------------

TEST(IsCommunityName, LettersAndDigitsUpToEight) {
    EXPECT_EQ(IsCommunityName(""), 1);
    EXPECT_EQ(IsCommunityName("public"), 1);
    EXPECT_EQ(IsCommunityName("Public12"), 1);
    EXPECT_EQ(IsCommunityName("Public123"), 0);
    EXPECT_EQ(IsCommunityName("pub-lic"), 0);
    EXPECT_EQ(IsCommunityName("pub_lic"), 0);
    EXPECT_EQ(IsCommunityName(kHangul), 0);
}

// ---- ESSID ----------------------------------------------------------------------------------

TEST(IsEssidBasic, LettersDigitsHyphen) {
    EXPECT_EQ(IsEssidBasic(""), 1);
    EXPECT_EQ(IsEssidBasic("office-2F"), 1);
    EXPECT_EQ(IsEssidBasic(Repeat('x', 32)), 1);
    EXPECT_EQ(IsEssidBasic(Repeat('x', 33)), 0);
    EXPECT_EQ(IsEssidBasic("office_2F"), 0);
    EXPECT_EQ(IsEssidBasic("office 2F"), 0);
    EXPECT_EQ(IsEssidBasic("office" + kHangul), 0);
}

TEST(IsEssid, PrintableWithoutColon) {
    EXPECT_EQ(IsEssid(""), 1);
    EXPECT_EQ(IsEssid("office_2F!~"), 1);
    EXPECT_EQ(IsEssid(Repeat('x', 32)), 1);
    EXPECT_EQ(IsEssid(Repeat('x', 33)), 0);
    EXPECT_EQ(IsEssid("a:b"), 0);
    EXPECT_EQ(IsEssid("a b"), 0);
    EXPECT_EQ(IsEssid("a\tb"), 0);
    EXPECT_EQ(IsEssid("a\x7f"), 0);
    EXPECT_EQ(IsEssid(kHangul), 0);
}

// ---- WEP keys -------------------------------------------------------------------------------

TEST(IsWepKeyBasic, LengthsAndBytes) {
    EXPECT_EQ(IsWepKeyBasic(""), 0);
    EXPECT_EQ(IsWepKeyBasic("abc12"), 1);
    EXPECT_EQ(IsWepKeyBasic("0123456789"), 1);
    EXPECT_EQ(IsWepKeyBasic("abcdefABCD"), 1);
    EXPECT_EQ(IsWepKeyBasic("012345678g"), 0);
    EXPECT_EQ(IsWepKeyBasic("abcdefghijklm"), 1);
    EXPECT_EQ(IsWepKeyBasic("0123456789abcdefABCDEF0123"), 1);
    EXPECT_EQ(IsWepKeyBasic("0123456789abcdefABCDEF012g"), 0);
    EXPECT_EQ(IsWepKeyBasic("abc123"), 0);
    EXPECT_EQ(IsWepKeyBasic("abc-1"), 0);
    EXPECT_EQ(IsWepKeyBasic("ab" + kHangul), 0);  // five bytes, but not letters or digits
}

TEST(IsWepKey, SixtyFourBit) {
    EXPECT_EQ(IsWepKey("", kWepKeySize64), 1);
    EXPECT_EQ(IsWepKey("ab1C2", kWepKeySize64), 1);
    EXPECT_EQ(IsWepKey("0123abcDEF", kWepKeySize64), 1);
    EXPECT_EQ(IsWepKey("0123abcDEg", kWepKeySize64), 0);
    EXPECT_EQ(IsWepKey("abcdefghijklm", kWepKeySize64), 0);
    EXPECT_EQ(IsWepKey("ab-12", kWepKeySize64), 0);
    EXPECT_EQ(IsWepKey("ab" + kHangul, kWepKeySize64), 0);
}

TEST(IsWepKey, HundredTwentyEightBitForEveryOtherSize) {
    for (const int size : {kWepKeySize128, 0, 3, -1}) {
        EXPECT_EQ(IsWepKey("", size), 1) << size;
        EXPECT_EQ(IsWepKey("abcdefghijklm", size), 1) << size;
        EXPECT_EQ(IsWepKey("0123456789abcdefABCDEF0123", size), 1) << size;
        EXPECT_EQ(IsWepKey("abc12", size), 0) << size;
        EXPECT_EQ(IsWepKey("0123456789", size), 0) << size;
        EXPECT_EQ(IsWepKey("abcdefghijk" + kHangul.substr(0, 2), size), 0) << size;
    }
}

// ---- WPA-PSK and LEAP -----------------------------------------------------------------------

TEST(IsWpaPsk, EdgeCases) {
    EXPECT_EQ(IsWpaPsk(Repeat('k', 7)), 0);
    EXPECT_EQ(IsWpaPsk(Repeat('k', 8)), 1);
    EXPECT_EQ(IsWpaPsk(Repeat('k', 63)), 1);
    EXPECT_EQ(IsWpaPsk(Repeat('k', 64)), 0);
    EXPECT_EQ(IsWpaPsk("secret:key"), 0);
    EXPECT_EQ(IsWpaPsk("secret key"), 0);
    EXPECT_EQ(IsWpaPsk("~!@#$%^&*()"), 1);
    EXPECT_EQ(IsWpaPsk("secret" + kHangul), 0);
}

TEST(IsLeapUserNameAndPassword, SameRule) {
    for (const auto rule : {&IsLeapUserName, &IsLeapPassword}) {
        EXPECT_EQ(rule(""), 0);
        EXPECT_EQ(rule("u"), 1);
        EXPECT_EQ(rule(Repeat('u', 64)), 1);
        EXPECT_EQ(rule(Repeat('u', 65)), 0);
        EXPECT_EQ(rule("dom\\user"), 1);
        EXPECT_EQ(rule("user:x"), 0);
        EXPECT_EQ(rule("user x"), 0);
        EXPECT_EQ(rule(kHangul), 0);
    }
}

// ---- file names -----------------------------------------------------------------------------

TEST(IsPlainFileName, TestsTheBaseNameOnly) {
    EXPECT_EQ(IsPlainFileName("/home/admin/hall-1.ncf"), 1);
    EXPECT_EQ(IsPlainFileName("/home/admin/" + kHangul + ".ncf"), 0);
    EXPECT_EQ(IsPlainFileName("/home/admin/hall" + kHangul + "1.ncf"), 0);
    EXPECT_EQ(IsPlainFileName("/home/" + kHangul + "/hall.ncf"), 1);
    EXPECT_EQ(IsPlainFileName("/home/admin/hall." + kHangul), 1);
    EXPECT_EQ(IsPlainFileName(kHangul + "/hall"), 1);
}

TEST(IsPlainFileName, BytesFromSpaceToDel) {
    EXPECT_EQ(IsPlainFileName("/tmp/hall 1.ncf"), 1);
    EXPECT_EQ(IsPlainFileName("/tmp/hall\x7f.ncf"), 1);
    EXPECT_EQ(IsPlainFileName("/tmp/hall\x1f.ncf"), 0);
    EXPECT_EQ(IsPlainFileName("/tmp/hall\tx.ncf"), 0);
    EXPECT_EQ(IsPlainFileName("/tmp/hall\x80.ncf"), 0);
    EXPECT_EQ(IsPlainFileName("/tmp/a.b" + kHangul + ".ncf"), 0);  // only the last '.' splits
    EXPECT_EQ(IsPlainFileName("hall"), 1);
    EXPECT_EQ(IsPlainFileName(kHangul), 0);
}

// ---- WEP key conversion ---------------------------------------------------------------------

TEST(WepKeyToHex, CharacterKeyAppendsLowerCaseHex) {
    std::string out = "NWWEP1 ";
    EXPECT_EQ(WepKeyToHex("ABCDE", out), 1);
    EXPECT_EQ(out, "NWWEP1 4142434445");

    out.clear();
    EXPECT_EQ(WepKeyToHex("Zz0-9abcdefgh", out), 1);
    EXPECT_EQ(out, "5a7a302d396162636465666768");
    EXPECT_EQ(out.size(), 26u);
}

TEST(WepKeyToHex, HexKeyAppendedUnchanged) {
    std::string out = "x";
    EXPECT_EQ(WepKeyToHex("AbCdEf0123", out), 1);
    EXPECT_EQ(out, "xAbCdEf0123");

    out.clear();
    EXPECT_EQ(WepKeyToHex("0123456789abcdefABCDEF0123", out), 1);
    EXPECT_EQ(out, "0123456789abcdefABCDEF0123");
}

TEST(WepKeyToHex, RefusalLeavesOutputAlone) {
    std::string out = "keep";
    EXPECT_EQ(WepKeyToHex("", out), 0);
    EXPECT_EQ(WepKeyToHex("abcdef", out), 0);
    EXPECT_EQ(WepKeyToHex("012345678g", out), 0);
    EXPECT_EQ(WepKeyToHex("0123456789abcdefABCDEF012G", out), 0);
    EXPECT_EQ(WepKeyToHex(Repeat('a', 27), out), 0);
    EXPECT_EQ(out, "keep");
}

TEST(WepKeyToHex, HighBytesGiveTwoDigitsEach) {
    std::string out;
    EXPECT_EQ(WepKeyToHex(kHangul + "\xff" + "A", out), 1);
    EXPECT_EQ(out, "eab080ff41");
}

}  // namespace
}  // namespace lanterna
