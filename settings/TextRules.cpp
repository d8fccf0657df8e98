#include "settings/TextRules.h"

#include <algorithm>

#include "settings/ByteClasses.h"

namespace lanterna {

namespace {

constexpr std::size_t kDomainNameMax = 96;
constexpr std::size_t kMailAddressMax = 64;
constexpr std::size_t kCommunityNameMax = 8;
constexpr std::size_t kEssidMax = 32;
constexpr std::size_t kWpaPskMin = 8;
constexpr std::size_t kWpaPskMax = 63;
constexpr std::size_t kLeapTextMax = 64;
// Lengths of WEP keys: character keys give one byte per character, hex keys two digits per byte.
constexpr std::size_t kWep64CharacterKey = 5;
constexpr std::size_t kWep64HexKey = 10;
constexpr std::size_t kWep128CharacterKey = 13;
constexpr std::size_t kWep128HexKey = 26;

bool IsHexKeyLength(std::size_t length) {
    return length == kWep64HexKey || length == kWep128HexKey;
}

bool IsCharacterKeyLength(std::size_t length) {
    return length == kWep64CharacterKey || length == kWep128CharacterKey;
}

// The byte rules shared by both WEP key checks; the length has been checked by the caller.
bool HasWepKeyBytes(std::string_view key) {
    if (!AllBytes(key, IsAsciiLetterOrDigit)) {
        return false;
    }
    return !IsHexKeyLength(key.size()) || AllBytes(key, IsHexDigit);
}

bool IsNameByte(char c) {
    return IsAsciiLetterOrDigit(c) || c == '-';
}

bool IsDomainByte(char c) {
    return IsNameByte(c) || c == '.';
}

bool IsMailByte(char c) {
    return !IsForbiddenMailCharacter(c) && !IsControlByte(c);
}

bool IsPrintableText(std::string_view text, std::size_t minLength, std::size_t maxLength) {
    return text.size() >= minLength && text.size() <= maxLength &&
           AllBytes(text, IsPrintableNoColon);
}

bool IsFileNameByte(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte >= 0x20 && byte <= 0x7F;
}

// The file name between the last '/' and the last '.' after it.
std::string_view BaseNameOf(std::string_view path) {
    const std::size_t slash = path.rfind('/');
    std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
    const std::size_t dot = name.rfind('.');
    if (dot != std::string_view::npos) {
        name = name.substr(0, dot);
    }
    return name;
}

}  // namespace

int IsProjectorName(std::string_view text) {
    if (text.empty() || text.size() > kProjectorNameMax || !AllBytes(text, IsNameByte)) {
        return 0;
    }
    return std::any_of(text.begin(), text.end(), [](char c) { return !IsAsciiDigit(c); });
}

int IsDomainName(std::string_view text) {
    return text.size() <= kDomainNameMax && AllBytes(text, IsDomainByte);
}

int IsMailAddress(std::string_view text) {
    return text.size() <= kMailAddressMax && text.find('@') != std::string_view::npos &&
           AllBytes(text, IsMailByte);
}

int IsPortNumber(std::string_view text) {
    if (text.empty()) {
        return 0;
    }
    int value = 0;
    for (const char c : text) {
        if (!IsAsciiDigit(c)) {
            break;
        }
        // Held just above the largest port so that long digit runs cannot overflow.
        value = std::min(value * 10 + (c - '0'), kPortNumberMax + 1);
    }
    return value >= 1 && value <= kPortNumberMax;
}

int IsCommunityName(std::string_view text) {
    return text.size() <= kCommunityNameMax && AllBytes(text, IsAsciiLetterOrDigit);
}

int IsEssidBasic(std::string_view text) {
    return text.size() <= kEssidMax && AllBytes(text, IsNameByte);
}

int IsEssid(std::string_view text) {
    return IsPrintableText(text, 0, kEssidMax);
}

int IsWepKeyBasic(std::string_view text) {
    const bool lengthOk = IsCharacterKeyLength(text.size()) || IsHexKeyLength(text.size());
    return lengthOk && HasWepKeyBytes(text);
}

int IsWepKey(std::string_view text, int size) {
    if (text.empty()) {
        return 1;
    }
    const bool lengthOk =
        size == kWepKeySize64
            ? (text.size() == kWep64CharacterKey || text.size() == kWep64HexKey)
            : (text.size() == kWep128CharacterKey || text.size() == kWep128HexKey);
    return lengthOk && HasWepKeyBytes(text);
}

int IsWpaPsk(std::string_view text) {
    return IsPrintableText(text, kWpaPskMin, kWpaPskMax);
}

int IsLeapUserName(std::string_view text) {
    return IsPrintableText(text, 1, kLeapTextMax);
}

int IsLeapPassword(std::string_view text) {
    return IsPrintableText(text, 1, kLeapTextMax);
}

int IsPlainFileName(std::string_view path) {
    return AllBytes(BaseNameOf(path), IsFileNameByte);
}

int WepKeyToHex(std::string_view key, std::string& output) {
    static constexpr std::string_view kHexDigits = "0123456789abcdef";
    if (IsCharacterKeyLength(key.size())) {
        // Each byte as an unsigned value, so a byte of 0x80 or above still gives two digits.
        for (const char c : key) {
            const auto byte = static_cast<unsigned char>(c);
            output.push_back(kHexDigits[byte >> 4]);
            output.push_back(kHexDigits[byte & 0x0F]);
        }
        return 1;
    }
    if (IsHexKeyLength(key.size()) && AllBytes(key, IsHexDigit)) {
        output.append(key);
        return 1;
    }
    return 0;
}

}  // namespace lanterna
