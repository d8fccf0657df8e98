#include "discovery/SecondaryAnswer.h"

#include <algorithm>

namespace lanterna {

namespace {

constexpr char32_t kReplacement = U'?';

char16_t UnitAt(std::span<const std::uint8_t> bytes, std::size_t index) {
    return static_cast<char16_t>(bytes[2 * index] | (bytes[2 * index + 1] << 8));
}

bool IsHighSurrogate(char16_t unit) {
    return unit >= 0xD800 && unit <= 0xDBFF;
}

bool IsLowSurrogate(char16_t unit) {
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

std::string EncodeUtf8(char32_t code) {
    std::string bytes;
    if (code < 0x80) {
        bytes.push_back(static_cast<char>(code));
    } else if (code < 0x800) {
        bytes.push_back(static_cast<char>(0xC0 | (code >> 6)));
        bytes.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    } else if (code < 0x10000) {
        bytes.push_back(static_cast<char>(0xE0 | (code >> 12)));
        bytes.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
        bytes.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    } else {
        bytes.push_back(static_cast<char>(0xF0 | (code >> 18)));
        bytes.push_back(static_cast<char>(0x80 | ((code >> 12) & 0x3F)));
        bytes.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
        bytes.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    }
    return bytes;
}

std::span<const std::uint8_t> Field(std::span<const std::uint8_t> answer, std::size_t begin,
                                    std::size_t end) {
    return answer.subspan(begin, end - begin);
}

}  // namespace

std::string Utf16LeToUtf8(std::span<const std::uint8_t> bytes, std::size_t limit) {
    const std::size_t units = bytes.size() / 2;
    std::string text;
    for (std::size_t i = 0; i < units; ++i) {
        const char16_t unit = UnitAt(bytes, i);
        if (unit == 0) {
            break;
        }
        char32_t code = unit;
        if (IsHighSurrogate(unit) && i + 1 < units && IsLowSurrogate(UnitAt(bytes, i + 1))) {
            code = 0x10000 + ((static_cast<char32_t>(unit) - 0xD800) << 10) +
                   (static_cast<char32_t>(UnitAt(bytes, i + 1)) - 0xDC00);
            ++i;
        } else if (IsHighSurrogate(unit) || IsLowSurrogate(unit)) {
            code = kReplacement;
        }
        const std::string encoded = EncodeUtf8(code);
        if (text.size() + encoded.size() > limit) {
            break;  // a character that does not fit whole is left out, and so is the rest
        }
        text += encoded;
    }
    return text;
}

std::string_view CutAtCharacter(std::string_view text, std::size_t limit) {
    if (text.size() <= limit) {
        return text;
    }
    std::size_t end = limit;
    // Step back over continuation bytes to the start of the character that would be split.
    while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) {
        --end;
    }
    return text.substr(0, end);
}

std::optional<SecondaryAnswer> DecodeSecondaryAnswer(std::span<const std::uint8_t> datagram) {
    std::array<std::uint8_t, kSecondaryAnswerSize> answer{};
    std::copy_n(datagram.begin(), std::min(datagram.size(), answer.size()), answer.begin());
    const std::span<const std::uint8_t> bytes(answer);
    const auto kind = static_cast<std::uint16_t>(bytes[kSecondaryKindOffset] |
                                                 (bytes[kSecondaryKindOffset + 1] << 8));
    if (kind != kSecondaryAnswerKind) {
        return std::nullopt;
    }
    const std::string address =
        Utf16LeToUtf8(Field(bytes, kSecondaryAddressOffset, bytes.size()), kSecondaryTextLimit);
    const std::string name = Utf16LeToUtf8(
        Field(bytes, kSecondaryNameOffset, kSecondaryAddressOffset), kSecondaryTextLimit);
    if (address == kAllOnesAddress || name.empty()) {
        return std::nullopt;
    }
    SecondaryAnswer kept;
    // The whole address is compared above; the slot keeps what a dotted address can need.
    CopyText(kept.address, CutAtCharacter(address, kept.address.size() - 1));
    CopyText(kept.name, name);
    return kept;
}

}  // namespace lanterna
