#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "record/DottedAddress.h"
#include "record/ProjectorList.h"
#include "record/ProjectorRecord.h"
#include "settings/ValidationRules.h"

namespace lanterna {
namespace {

int Syntax(std::string_view text) {
    return ClassifyAddressText(text, AddressTextMode::kSyntax);
}
int Host(std::string_view text) {
    return ClassifyAddressText(text, AddressTextMode::kHost);
}
int Mask(std::string_view text) {
    return ClassifyAddressText(text, AddressTextMode::kMask);
}

// ---- ClassifyAddressText: syntax ------------------------------------------------------------

TEST(ClassifyAddressText, MissingOctetsCountAsZero) {
    EXPECT_EQ(Syntax("10.1"), kAddressTextValid);
    EXPECT_EQ(Syntax(""), kAddressTextValid);
    EXPECT_EQ(Syntax("1.2.3."), kAddressTextValid);
    EXPECT_EQ(Syntax("192.168.1.5"), kAddressTextValid);
    // 0.0.0.0 is well formed for the host mode too; IsHostAddress rejects it separately.
    EXPECT_EQ(Host("10"), kAddressTextValid);
    EXPECT_EQ(Host(""), kAddressTextValid);
}

TEST(ClassifyAddressText, DigitMustStartTextAndFollowEveryDot) {
    EXPECT_EQ(Syntax("1..2"), kAddressTextDigitExpected);
    EXPECT_EQ(Syntax("1.a"), kAddressTextDigitExpected);
    EXPECT_EQ(Syntax("."), kAddressTextDigitExpected);
    EXPECT_EQ(Syntax(".1.2.3"), kAddressTextDigitExpected);
    EXPECT_EQ(Syntax(" 1.2.3.4"), kAddressTextDigitExpected);
    EXPECT_EQ(Syntax("-1.2.3.4"), kAddressTextDigitExpected);
    EXPECT_EQ(Syntax("1.2.3.."), kAddressTextDigitExpected);
}

TEST(ClassifyAddressText, FifthOctetAndStrayCharacters) {
    EXPECT_EQ(Syntax("1.2.3.4.5"), kAddressTextTooManyOctets);
    EXPECT_EQ(Syntax("1.2.3.4."), kAddressTextTooManyOctets);
    EXPECT_EQ(Syntax("1a"), kAddressTextBadCharacter);
    EXPECT_EQ(Syntax("1.2.3.4 "), kAddressTextBadCharacter);
    EXPECT_EQ(Syntax("1,2"), kAddressTextBadCharacter);
    // The walk stops at the first fault, before octet ranges are looked at.
    EXPECT_EQ(Syntax("300.x"), kAddressTextDigitExpected);
    EXPECT_EQ(Syntax("300.1.2.3.4"), kAddressTextTooManyOctets);
}

TEST(ClassifyAddressText, MultibyteCharactersAreNeverDigits) {
    // "가" is EA B0 80 in UTF-8; "１" (full-width one) is EF BC 91.
    EXPECT_EQ(Syntax("가"), kAddressTextDigitExpected);
    EXPECT_EQ(Syntax("1.가"), kAddressTextDigitExpected);
    EXPECT_EQ(Syntax("1가"), kAddressTextBadCharacter);
    EXPECT_EQ(Syntax("１.2.3.4"), kAddressTextDigitExpected);
    for (int byte = 0x80; byte <= 0xFF; ++byte) {
        const char c = static_cast<char>(byte);
        EXPECT_EQ(Syntax(std::string(1, c)), kAddressTextDigitExpected) << byte;
        EXPECT_EQ(Syntax(std::string("1") + c), kAddressTextBadCharacter) << byte;
    }
}

TEST(ClassifyAddressText, OctetRange) {
    EXPECT_EQ(Syntax("255.255.255.255"), kAddressTextValid);
    EXPECT_EQ(Syntax("256.0.0.1"), kAddressTextOctetRange);
    EXPECT_EQ(Syntax("1.2.3.256"), kAddressTextOctetRange);
    EXPECT_EQ(Syntax("1.1000"), kAddressTextOctetRange);
    // Any number of digits: leading zeros do not count against an octet.
    EXPECT_EQ(Syntax("000000000000000000000001.0.0.1"), kAddressTextValid);
    // Range is judged before the mode's own tests.
    EXPECT_EQ(Host("300.0.0.1"), kAddressTextOctetRange);
    EXPECT_EQ(Mask("256.0.0.0"), kAddressTextOctetRange);
}

TEST(ClassifyAddressText, OctetTooLargeForAnIntegerIsOutOfRangeNotWrapped) {
    // 2^32 + 1 would wrap round to 1 in 32-bit arithmetic and pass as a valid octet.
    EXPECT_EQ(Syntax("4294967297.0.0.1"), kAddressTextOctetRange);
    EXPECT_EQ(Syntax("2147483648"), kAddressTextOctetRange);
    EXPECT_EQ(Syntax("1.2.3.99999999999999999999999999999999999"), kAddressTextOctetRange);
    EXPECT_EQ(Host("4294967423.0.0.1"), kAddressTextOctetRange);  // 2^32 + 127
}

// ---- ClassifyAddressText: modes -------------------------------------------------------------

TEST(ClassifyAddressText, HostMode) {
    EXPECT_EQ(Host("223.255.255.255"), kAddressTextValid);
    EXPECT_EQ(Host("224.0.0.1"), kAddressTextNotUnicast);
    EXPECT_EQ(Host("255.255.255.255"), kAddressTextNotUnicast);
    EXPECT_EQ(Host("127.0.0.1"), kAddressTextLoopback);
    EXPECT_EQ(Host("126.255.255.255"), kAddressTextValid);
    EXPECT_EQ(Host("128.0.0.0"), kAddressTextValid);
}

TEST(ClassifyAddressText, MaskMode) {
    EXPECT_EQ(Mask("255.255.255.0"), kAddressTextValid);
    EXPECT_EQ(Mask("0.0.0.0"), kAddressTextValid);
    EXPECT_EQ(Mask("255.255.255.255"), kAddressTextAllOnesMask);
    EXPECT_EQ(Mask("254.0.0.0"), kAddressTextBadMaskStart);
    EXPECT_EQ(Mask("128"), kAddressTextBadMaskStart);
    // The class test looks at the first octet only; IsSubnetMask checks the rest.
    EXPECT_EQ(Mask("255.0.255.0"), kAddressTextValid);
}

TEST(ClassifyAddressText, SyntaxModeAndUnknownModesSkipFurtherTests) {
    EXPECT_EQ(Syntax("127.0.0.1"), kAddressTextValid);
    EXPECT_EQ(Syntax("255.255.255.255"), kAddressTextValid);
    EXPECT_EQ(ClassifyAddressText("224.0.0.1", static_cast<AddressTextMode>(7)), 0);
    EXPECT_EQ(ClassifyAddressText("1.a", static_cast<AddressTextMode>(-1)),
              kAddressTextDigitExpected);
}

// ---- host addresses -------------------------------------------------------------------------

TEST(IsHostAddress, AcceptsUnicastOutsideLoopback) {
    EXPECT_EQ(IsHostAddress({0, 0, 0, 0}), 0);
    EXPECT_EQ(IsHostAddress({0, 0, 0, 1}), 1);
    EXPECT_EQ(IsHostAddress({127, 0, 0, 1}), 0);
    EXPECT_EQ(IsHostAddress({127, 255, 255, 255}), 0);
    EXPECT_EQ(IsHostAddress({223, 255, 255, 255}), 1);
    EXPECT_EQ(IsHostAddress({224, 0, 0, 1}), 0);
    EXPECT_EQ(IsHostAddress({255, 255, 255, 255}), 0);
    // Host parts of all zeros or all ones are for the mask check to judge.
    EXPECT_EQ(IsHostAddress({10, 0, 0, 0}), 1);
    EXPECT_EQ(IsHostAddress({10, 255, 255, 255}), 1);
}

TEST(IsOptionalHostAddress, AcceptsUnsetAddress) {
    EXPECT_EQ(IsOptionalHostAddress({0, 0, 0, 0}), 1);
    EXPECT_EQ(IsOptionalHostAddress({192, 168, 0, 1}), 1);
    EXPECT_EQ(IsOptionalHostAddress({127, 0, 0, 1}), 0);
    EXPECT_EQ(IsOptionalHostAddress({240, 0, 0, 1}), 0);
}

TEST(CheckTrapAddress, TellsUnsetValidAndInvalidApart) {
    EXPECT_EQ(CheckTrapAddress({0, 0, 0, 0}), kTrapAddressNotSet);
    EXPECT_EQ(CheckTrapAddress({10, 0, 0, 1}), kTrapAddressValid);
    EXPECT_EQ(CheckTrapAddress({0, 0, 0, 1}), kTrapAddressValid);
    EXPECT_EQ(CheckTrapAddress({127, 0, 0, 1}), kTrapAddressInvalid);
    EXPECT_EQ(CheckTrapAddress({224, 1, 1, 1}), kTrapAddressInvalid);
}

TEST(HostRules, AgreeWithTheClassOfTheDottedText) {
    for (int first = 0; first <= 255; ++first) {
        for (const Octets& rest : {Octets{0, 0, 0, 0}, Octets{0, 1, 2, 3}, Octets{0, 0, 0, 255}}) {
            const Octets address{static_cast<std::uint8_t>(first), rest[1], rest[2], rest[3]};
            const bool hostClass = Host(FormatDotted(address)) == kAddressTextValid;
            const bool set = !IsZeroAddress(address);
            EXPECT_EQ(IsHostAddress(address), hostClass && set) << FormatDotted(address);
            EXPECT_EQ(IsOptionalHostAddress(address), hostClass) << FormatDotted(address);
            EXPECT_EQ(CheckTrapAddress(address), !set ? 0 : (hostClass ? 1 : -1))
                << FormatDotted(address);
        }
    }
}

// ---- subnet masks ---------------------------------------------------------------------------

Octets MaskOfPrefix(int prefix) {
    const std::uint32_t value = prefix == 0 ? 0u : ~0u << (32 - prefix);
    return FromHostOrder(value);
}

TEST(IsSubnetMask, EdgeCases) {
    EXPECT_EQ(IsSubnetMask({0, 0, 0, 0}), 1);
    EXPECT_EQ(IsSubnetMask({255, 0, 0, 0}), 1);
    EXPECT_EQ(IsSubnetMask({255, 255, 255, 0}), 1);
    EXPECT_EQ(IsSubnetMask({255, 255, 255, 254}), 1);
    EXPECT_EQ(IsSubnetMask({255, 255, 255, 255}), 0);
    EXPECT_EQ(IsSubnetMask({254, 0, 0, 0}), 0);
    EXPECT_EQ(IsSubnetMask({128, 0, 0, 0}), 0);
    EXPECT_EQ(IsSubnetMask({255, 0, 255, 0}), 0);
    EXPECT_EQ(IsSubnetMask({255, 255, 0, 255}), 0);
}

TEST(IsSubnetMask, RejectsGapsAndStrayBits) {
    EXPECT_EQ(IsSubnetMask({0, 255, 0, 0}), 0);
    EXPECT_EQ(IsSubnetMask({255, 128, 255, 0}), 0);
    EXPECT_EQ(IsSubnetMask({255, 255, 254, 1}), 0);
    EXPECT_EQ(IsSubnetMask({255, 255, 255, 253}), 0);
    EXPECT_EQ(IsSubnetMask({255, 255, 100, 0}), 0);
    EXPECT_EQ(IsSubnetMask({255, 192, 128, 0}), 0);
}

TEST(IsSubnetMask, AcceptsExactlyPrefixesEightToThirtyOneAndZero) {
    for (int prefix = 0; prefix <= 32; ++prefix) {
        const bool expected = prefix == 0 || (prefix >= 8 && prefix <= 31);
        EXPECT_EQ(IsSubnetMask(MaskOfPrefix(prefix)), expected) << "/" << prefix;
    }
}

// ---- address against mask -------------------------------------------------------------------

TEST(CheckAddressAgainstMask, EdgeCases) {
    EXPECT_EQ(CheckAddressAgainstMask("192.168.1.0", "255.255.255.0"), kAddressIsNetwork);
    EXPECT_EQ(CheckAddressAgainstMask("192.168.1.255", "255.255.255.0"), kAddressIsBroadcast);
    EXPECT_EQ(CheckAddressAgainstMask("192.168.1.5", "255.255.255.0"), kAddressFitsMask);
    EXPECT_EQ(CheckAddressAgainstMask("0.0.1.5", "255.255.0.0"), kAddressNetworkZero);
    EXPECT_EQ(kAddressNetworkZero, 0x600);
    EXPECT_EQ(kAddressIsNetwork, 0x601);
    EXPECT_EQ(kAddressIsBroadcast, 0x602);
}

TEST(CheckAddressAgainstMask, ZeroMaskAndNarrowSubnets) {
    EXPECT_EQ(CheckAddressAgainstMask("10.1.2.3", "0.0.0.0"), kAddressNetworkZero);
    EXPECT_EQ(CheckAddressAgainstMask("0.0.0.0", "255.255.255.0"), kAddressNetworkZero);
    EXPECT_EQ(CheckAddressAgainstMask("192.168.1.0", "255.255.255.254"), kAddressIsNetwork);
    EXPECT_EQ(CheckAddressAgainstMask("192.168.1.1", "255.255.255.254"), kAddressIsBroadcast);
    EXPECT_EQ(CheckAddressAgainstMask("10.0.0.1", "255.0.0.0"), kAddressFitsMask);
}

TEST(CheckAddressAgainstMask, UnreadNumbersCountAsZero) {
    EXPECT_EQ(CheckAddressAgainstMask("192.168.1.5", "255.255.255"), kAddressFitsMask);
    EXPECT_EQ(CheckAddressAgainstMask("garbage", "255.255.255.0"), kAddressNetworkZero);
    EXPECT_EQ(CheckAddressAgainstMask("192.168.1.5", ""), kAddressNetworkZero);
}

// ---- gateways -------------------------------------------------------------------------------

TEST(IsGatewayAddress, EdgeCases) {
    const Octets address{192, 168, 1, 5};
    const Octets mask{255, 255, 255, 0};
    EXPECT_EQ(IsGatewayAddress(address, mask, {0, 0, 0, 0}), 1);
    EXPECT_EQ(IsGatewayAddress(address, mask, {192, 168, 1, 1}), 1);
    EXPECT_EQ(IsGatewayAddress(address, mask, {192, 168, 2, 1}), 0);
    EXPECT_EQ(IsGatewayAddress(address, mask, {192, 168, 1, 0}), 0);
    EXPECT_EQ(IsGatewayAddress(address, mask, {192, 168, 1, 255}), 0);
    EXPECT_EQ(IsGatewayAddress(address, mask, {192, 168, 1, 5}), 0);
}

TEST(IsGatewayAddress, WiderSubnet) {
    const Octets address{10, 1, 2, 3};
    const Octets mask{255, 255, 0, 0};
    EXPECT_EQ(IsGatewayAddress(address, mask, {10, 1, 200, 1}), 1);
    EXPECT_EQ(IsGatewayAddress(address, mask, {10, 1, 255, 255}), 0);
    EXPECT_EQ(IsGatewayAddress(address, mask, {10, 1, 0, 0}), 0);
    EXPECT_EQ(IsGatewayAddress(address, mask, {10, 2, 0, 1}), 0);
}

// ---- the projector list ---------------------------------------------------------------------

void AddProjector(ProjectorList& list, const Octets& address) {
    auto record = std::make_unique<ProjectorRecord>();
    record->ipAddress = address;
    list.Append(std::move(record));
}

TEST(IsAddressUnique, SkipsOnlyTheGivenEntry) {
    ProjectorList list;
    EXPECT_EQ(IsAddressUnique(list, {10, 0, 0, 1}, kSkipNone), 1);

    AddProjector(list, {10, 0, 0, 1});
    AddProjector(list, {10, 0, 0, 2});
    AddProjector(list, {10, 0, 0, 3});
    EXPECT_EQ(IsAddressUnique(list, {10, 0, 0, 2}, kSkipNone), 0);
    EXPECT_EQ(IsAddressUnique(list, {10, 0, 0, 2}, 1), 1);
    EXPECT_EQ(IsAddressUnique(list, {10, 0, 0, 2}, 0), 0);
    EXPECT_EQ(IsAddressUnique(list, {10, 0, 0, 2}, 99), 0);
    EXPECT_EQ(IsAddressUnique(list, {10, 0, 0, 4}, kSkipNone), 1);
    EXPECT_EQ(IsAddressUnique(list, {2, 0, 0, 10}, kSkipNone), 1);
}

TEST(IsAddressUnique, FindsADuplicateEvenWhenTheSkippedEntryMatchesToo) {
    ProjectorList list;
    AddProjector(list, {10, 0, 0, 7});
    AddProjector(list, {10, 0, 0, 7});
    EXPECT_EQ(IsAddressUnique(list, {10, 0, 0, 7}, 0), 0);
    EXPECT_EQ(IsAddressUnique(list, {10, 0, 0, 7}, 1), 0);
}

TEST(IsAddressSet, AnyNonzeroOctet) {
    EXPECT_EQ(IsAddressSet({0, 0, 0, 0}), 0);
    EXPECT_EQ(IsAddressSet({0, 0, 0, 1}), 1);
    EXPECT_EQ(IsAddressSet({1, 0, 0, 0}), 1);
    EXPECT_EQ(IsAddressSet({0, 128, 0, 0}), 1);
}

}  // namespace
}  // namespace lanterna
