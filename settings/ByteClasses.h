#pragma once
// Byte classes of the validation rules. Texts are byte strings in the user-interface code page
// and every rule tests one byte at a time: letters and digits are ASCII only, so no byte of a
// multibyte character (all of them 0x80 or above) ever counts as a letter or a digit. These
// tests never consult the locale.

#include <string_view>

namespace lanterna {

constexpr bool IsAsciiLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

constexpr bool IsAsciiDigit(char c) {
    return c >= '0' && c <= '9';
}

constexpr bool IsAsciiLetterOrDigit(char c) {
    return IsAsciiLetter(c) || IsAsciiDigit(c);
}

// One of "0123456789abcdefABCDEF".
constexpr bool IsHexDigit(char c) {
    return IsAsciiDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

// 0x21 to 0x7E: no space, no control byte, nothing of 0x7F or above.
constexpr bool IsPrintableByte(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte >= 0x21 && byte <= 0x7E;
}

// The printable set without ':', which the projector's command language uses as its reply end.
constexpr bool IsPrintableNoColon(char c) {
    return IsPrintableByte(c) && c != ':';
}

// Control bytes 0x00 to 0x1F and 0x7F.
constexpr bool IsControlByte(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte < 0x20 || byte == 0x7F;
}

// The 16 characters a mail address may not hold.
inline constexpr std::string_view kForbiddenMailCharacters = "\"/\\[]:;|=,+*?<> ";

constexpr bool IsForbiddenMailCharacter(char c) {
    return kForbiddenMailCharacters.find(c) != std::string_view::npos;
}

// True when every byte of `text` satisfies `test`.
template <typename ByteTest>
constexpr bool AllBytes(std::string_view text, ByteTest test) {
    for (const char c : text) {
        if (!test(c)) {
            return false;
        }
    }
    return true;
}

}  // namespace lanterna
