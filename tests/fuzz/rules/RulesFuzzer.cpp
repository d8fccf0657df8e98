// Feeds arbitrary bytes to every validation rule and checks what must hold whatever the input:
// verdicts in range, the octet rules agreeing with the class of the dotted text, the text rules
// consistent with each other, and the WEP key conversion producing hex digits only.

#include <algorithm>
#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "record/DottedAddress.h"
#include "resources/StringTable.h"
#include "settings/ByteClasses.h"
#include "settings/ValidationRules.h"

namespace lanterna {
namespace {

[[noreturn]] void Fail(const char* condition, int line) {
    std::fprintf(stderr, "rules fuzzer: check failed at line %d: %s\n", line, condition);
    std::abort();
}

#define FUZZ_CHECK(condition)           \
    do {                                \
        if (!(condition)) {             \
            Fail(#condition, __LINE__); \
        }                               \
    } while (false)

bool IsSyntaxClass(int code) {
    return code >= 0 && code <= 4;
}
bool IsBool(int verdict) {
    return verdict == 0 || verdict == 1;
}

bool HasHighByte(std::string_view text) {
    return !AllBytes(text, [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

// The accepted masks, computed another way: contiguous ones, and either none or 8 to 31.
bool IsExpectedMask(const Octets& mask) {
    const std::uint32_t value = ToHostOrder(mask);
    const int ones = std::popcount(value);
    const std::uint32_t contiguous = ones == 0 ? 0u : ~0u << (32 - ones);
    return value == contiguous && (ones == 0 || (ones >= 8 && ones <= 31));
}

void CheckAddressText(std::string_view text) {
    const int syntax = ClassifyAddressText(text, AddressTextMode::kSyntax);
    const int host = ClassifyAddressText(text, AddressTextMode::kHost);
    const int mask = ClassifyAddressText(text, AddressTextMode::kMask);
    FUZZ_CHECK(IsSyntaxClass(syntax));
    if (syntax != kAddressTextValid) {
        // A text that fails the syntax fails every mode the same way.
        FUZZ_CHECK(host == syntax && mask == syntax);
        return;
    }
    FUZZ_CHECK(host == 0 || host == kAddressTextNotUnicast || host == kAddressTextLoopback);
    FUZZ_CHECK(mask == 0 || mask == kAddressTextAllOnesMask || mask == kAddressTextBadMaskStart);

    // A well-formed text holds digits and points only, so the formatted reader sees the same
    // octets, and their own dotted text is classed the same in every mode.
    std::array<int, 4> numbers{};
    ScanDotted(text, numbers);
    Octets octets{};
    for (std::size_t i = 0; i < octets.size(); ++i) {
        FUZZ_CHECK(numbers[i] >= 0 && numbers[i] <= 255);
        octets[i] = static_cast<std::uint8_t>(numbers[i]);
    }
    const std::string dotted = FormatDotted(octets);
    FUZZ_CHECK(ClassifyAddressText(dotted, AddressTextMode::kHost) == host);
    FUZZ_CHECK(ClassifyAddressText(dotted, AddressTextMode::kMask) == mask);
    FUZZ_CHECK(ClassifyAddressText(dotted, AddressTextMode::kSyntax) == 0);

    const bool set = IsAddressSet(octets) != 0;
    FUZZ_CHECK(IsHostAddress(octets) == (host == 0 && set));
    FUZZ_CHECK(IsOptionalHostAddress(octets) == (host == 0));
    FUZZ_CHECK(CheckTrapAddress(octets) == (!set ? 0 : (host == 0 ? 1 : -1)));
    FUZZ_CHECK(IsSubnetMask(octets) == 0 || mask == 0);
}

void CheckOctetRules(const Octets& address, const Octets& mask, const Octets& gateway) {
    FUZZ_CHECK(IsBool(IsHostAddress(address)));
    FUZZ_CHECK(IsHostAddress(address) <= IsOptionalHostAddress(address));
    const int trap = CheckTrapAddress(address);
    FUZZ_CHECK(trap >= -1 && trap <= 1);
    FUZZ_CHECK((trap == 1) == (IsHostAddress(address) == 1));
    FUZZ_CHECK(IsSubnetMask(mask) == IsExpectedMask(mask));

    const int fit = CheckAddressAgainstMask(FormatDotted(address), FormatDotted(mask));
    const std::uint32_t a = ToHostOrder(address);
    const std::uint32_t m = ToHostOrder(mask);
    FUZZ_CHECK(fit == kAddressFitsMask || fit == kAddressNetworkZero || fit == kAddressIsNetwork ||
               fit == kAddressIsBroadcast);
    FUZZ_CHECK((fit == kAddressFitsMask) ==
               ((a & m) != 0 && (a & ~m) != 0 && (a | m) != 0xFFFFFFFFu));

    const int gatewayOk = IsGatewayAddress(address, mask, gateway);
    FUZZ_CHECK(IsBool(gatewayOk));
    if (IsAddressSet(gateway) == 0) {
        FUZZ_CHECK(gatewayOk == 1);
    } else if (gatewayOk == 1) {
        const std::uint32_t g = ToHostOrder(gateway);
        FUZZ_CHECK(g != a && (g & m) == (a & m));
    }
}

void CheckWepKey(std::string_view text) {
    const int basic = IsWepKeyBasic(text);
    const int key64 = IsWepKey(text, kWepKeySize64);
    const int key128 = IsWepKey(text, kWepKeySize128);
    FUZZ_CHECK(IsBool(basic) && IsBool(key64) && IsBool(key128));
    if (text.empty()) {
        FUZZ_CHECK(basic == 0 && key64 == 1 && key128 == 1);
    } else {
        FUZZ_CHECK(basic == (key64 | key128));
        FUZZ_CHECK((key64 & key128) == 0);
    }

    std::string hex = "#";
    const int converted = WepKeyToHex(text, hex);
    FUZZ_CHECK(IsBool(converted));
    if (converted == 0) {
        FUZZ_CHECK(hex == "#");
        FUZZ_CHECK(basic == 0);
        return;
    }
    const std::string_view digits = std::string_view(hex).substr(1);
    FUZZ_CHECK(digits.size() == 10 || digits.size() == 26);
    FUZZ_CHECK(AllBytes(digits, IsHexDigit));
}

void CheckTextRules(std::string_view text) {
    const bool high = HasHighByte(text);
    const int name = IsProjectorName(text);
    FUZZ_CHECK(IsBool(name));
    FUZZ_CHECK(name == 0 || (!text.empty() && text.size() <= 15 && !high));

    const int domain = IsDomainName(text);
    FUZZ_CHECK(IsBool(domain) && (domain == 0 || (text.size() <= 96 && !high)));
    FUZZ_CHECK(name == 0 || domain == 1);  // every projector name is a domain name

    const int mail = IsMailAddress(text);
    FUZZ_CHECK(IsBool(mail));
    FUZZ_CHECK(mail == 0 || (text.size() <= 64 && text.find('@') != std::string_view::npos &&
                             AllBytes(text, [](char c) { return !IsControlByte(c); })));

    const int community = IsCommunityName(text);
    FUZZ_CHECK(IsBool(community) && (community == 0 || (text.size() <= 8 && !high)));

    const int essidBasic = IsEssidBasic(text);
    const int essid = IsEssid(text);
    FUZZ_CHECK(IsBool(essidBasic) && IsBool(essid));
    FUZZ_CHECK(essidBasic <= essid);
    FUZZ_CHECK(essid == 0 || (text.size() <= 32 && !high));

    const int psk = IsWpaPsk(text);
    FUZZ_CHECK(IsBool(psk) && (psk == 0 || (text.size() >= 8 && text.size() <= 63 && !high)));
    FUZZ_CHECK(IsLeapUserName(text) == IsLeapPassword(text));
    FUZZ_CHECK(psk <= IsLeapUserName(text));

    const int port = IsPortNumber(text);
    FUZZ_CHECK(IsBool(port));
    FUZZ_CHECK(port == 0 || IsAsciiDigit(text.front()));

    const int plain = IsPlainFileName(text);
    FUZZ_CHECK(IsBool(plain));
    FUZZ_CHECK(plain == 1 || high || !AllBytes(text, [](char c) { return c >= 0x20; }));

    CheckWepKey(text);
}

Octets OctetsAt(const std::uint8_t* data, std::size_t size, std::size_t offset) {
    Octets octets{};
    for (std::size_t i = 0; i < octets.size() && offset + i < size; ++i) {
        octets[i] = data[offset + i];
    }
    return octets;
}

void CheckStringLookup(const std::uint8_t* data, std::size_t size) {
    std::int32_t id = 0;
    std::memcpy(&id, data, std::min(size, sizeof id));
    const std::string_view text = LoadString(id);
    FUZZ_CHECK(text.data() != nullptr && text.data()[text.size()] == '\0');
}

}  // namespace
}  // namespace lanterna

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace lanterna;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    CheckAddressText(text);
    CheckTextRules(text);
    CheckOctetRules(OctetsAt(data, size, 0), OctetsAt(data, size, 4), OctetsAt(data, size, 8));
    // Both halves as address and mask texts: any bytes give one of the four verdicts.
    const int fit = CheckAddressAgainstMask(text.substr(0, size / 2), text.substr(size / 2));
    FUZZ_CHECK(fit == kAddressFitsMask || fit == kAddressNetworkZero || fit == kAddressIsNetwork ||
               fit == kAddressIsBroadcast);
    CheckStringLookup(data, size);
    return 0;
}
