#pragma once
// The secondary search's datagrams: the fixed 4-byte request and the 120-byte answer, whose
// name and address are UTF-16LE texts. Pure functions, safe on any thread.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "platform/FixedText.h"

namespace lanterna {

inline constexpr std::array<std::uint8_t, 4> kSecondaryRequest{0x02, 0x00, 0x00, 0x0F};

// Layout of an answer. Only the first 120 bytes of a datagram are read; missing bytes of a
// shorter one read as zero.
inline constexpr std::size_t kSecondaryAnswerSize = 120;
inline constexpr std::size_t kSecondaryKindOffset = 2;  // 16-bit little-endian, must be 3
inline constexpr std::uint16_t kSecondaryAnswerKind = 3;
inline constexpr std::size_t kSecondaryNameOffset = 4;
inline constexpr std::size_t kSecondaryAddressOffset = 86;
// Converted texts keep at most this many bytes (the terminator not counted).
inline constexpr std::size_t kSecondaryTextLimit = 40;

// An address text that stands for no projector.
inline constexpr std::string_view kAllOnesAddress = "255.255.255.255";

// One kept answer: the texts as the search stores them in its slot table. A dotted address
// has at most 15 bytes, so that is all the slot keeps of it.
struct SecondaryAnswer {
    FixedText<16> address{};
    FixedText<kSecondaryTextLimit + 1> name{};
};

// Converts the UTF-16LE text in `bytes` (up to its first zero unit, or the end of `bytes`) to
// UTF-8 of at most `limit` bytes, cut only between characters. A lone surrogate becomes '?'.
std::string Utf16LeToUtf8(std::span<const std::uint8_t> bytes, std::size_t limit);

// The UTF-8 prefix of `text` of at most `limit` bytes that does not split a character.
std::string_view CutAtCharacter(std::string_view text, std::size_t limit);

// Decodes one datagram. Empty when its kind is not 3, its name is empty or its address text is
// "255.255.255.255".
std::optional<SecondaryAnswer> DecodeSecondaryAnswer(std::span<const std::uint8_t> datagram);

}  // namespace lanterna
