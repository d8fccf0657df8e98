#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "discovery/SecondaryAnswer.h"

namespace lanterna {
namespace {

using Bytes = std::vector<std::uint8_t>;

void PutUtf16(Bytes& bytes, std::size_t offset, std::u16string_view text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        bytes.at(offset + 2 * i) = static_cast<std::uint8_t>(text[i] & 0xFF);
        bytes.at(offset + 2 * i + 1) = static_cast<std::uint8_t>(text[i] >> 8);
    }
}

Bytes Answer(std::u16string_view name, std::u16string_view address, std::uint16_t kind = 3) {
    Bytes bytes(kSecondaryAnswerSize, 0);
    bytes[0] = 0x02;
    bytes[2] = static_cast<std::uint8_t>(kind & 0xFF);
    bytes[3] = static_cast<std::uint8_t>(kind >> 8);
    PutUtf16(bytes, kSecondaryNameOffset, name);
    PutUtf16(bytes, kSecondaryAddressOffset, address);
    return bytes;
}

// ---- accepted and rejected answers --------------------------------------------------------------

TEST(SecondaryAnswer, NameAndAddressAreConvertedFromUtf16) {
    const auto answer = DecodeSecondaryAnswer(Answer(u"ROOM-12", u"10.0.0.5"));
    ASSERT_TRUE(answer);
    EXPECT_EQ(TextOf(answer->name), "ROOM-12");
    EXPECT_EQ(TextOf(answer->address), "10.0.0.5");
}

TEST(SecondaryAnswer, OnlyKindThreeCounts) {
    EXPECT_FALSE(DecodeSecondaryAnswer(Answer(u"A", u"10.0.0.5", 2)));
    EXPECT_FALSE(DecodeSecondaryAnswer(Answer(u"A", u"10.0.0.5", 0x0103)))
        << "both bytes of the little-endian value count";
}

TEST(SecondaryAnswer, EmptyNameOrAllOnesAddressIsIgnored) {
    EXPECT_FALSE(DecodeSecondaryAnswer(Answer(u"", u"10.0.0.5")));
    EXPECT_FALSE(DecodeSecondaryAnswer(Answer(u"A", u"255.255.255.255")));
    EXPECT_TRUE(DecodeSecondaryAnswer(Answer(u"A", u"")))
        << "an empty address is not among the reasons to ignore an answer";
}

TEST(SecondaryAnswer, ShortDatagramReadsMissingBytesAsZero) {
    Bytes bytes = Answer(u"SHORT", u"10.0.0.5");
    bytes.resize(kSecondaryNameOffset + 2 * 5);
    const auto answer = DecodeSecondaryAnswer(bytes);
    ASSERT_TRUE(answer);
    EXPECT_EQ(TextOf(answer->name), "SHORT");
    EXPECT_EQ(TextOf(answer->address), "");
    EXPECT_FALSE(DecodeSecondaryAnswer(Bytes{0x02, 0x00, 0x03}));
}

// ---- limits -------------------------------------------------------------------------------------

TEST(SecondaryAnswer, NameWithoutTerminatorStopsAtTheAddressField) {
    // 41 characters fill bytes 4 to 85 with no terminator; the address begins right after.
    const auto answer = DecodeSecondaryAnswer(Answer(std::u16string(41, u'N'), u"10.0.0.5"));
    ASSERT_TRUE(answer);
    EXPECT_EQ(TextOf(answer->name), std::string(40, 'N')) << "40 bytes at most";
    EXPECT_EQ(TextOf(answer->address), "10.0.0.5");
}

TEST(SecondaryAnswer, OverlongAddressTextStaysInItsOwnField) {
    // 17 characters fill the address field to the end of the answer, with no terminator.
    const auto answer = DecodeSecondaryAnswer(Answer(u"NAME", u"12345678901234567"));
    ASSERT_TRUE(answer);
    EXPECT_EQ(TextOf(answer->address), "123456789012345");
    EXPECT_EQ(TextOf(answer->name), "NAME") << "the address never runs into the name";
}

TEST(SecondaryAnswer, MultibyteCharactersAreNeverSplitAtTheLimit) {
    // 14 Hangul syllables are 42 bytes of UTF-8: only 13 whole ones fit in 40.
    const auto answer = DecodeSecondaryAnswer(Answer(std::u16string(14, u'\uAC00'), u"10.0.0.5"));
    ASSERT_TRUE(answer);
    EXPECT_EQ(TextOf(answer->name).size(), 39U);
    EXPECT_EQ(TextOf(answer->name).substr(0, 3), "\xEA\xB0\x80");
}

TEST(Utf16LeToUtf8, SurrogatePairsAndLoneSurrogates) {
    Bytes bytes(12, 0);
    PutUtf16(bytes, 0, u"A\U0001F600\xD800");
    EXPECT_EQ(Utf16LeToUtf8(bytes, 40), "A\xF0\x9F\x98\x80?");
    EXPECT_EQ(Utf16LeToUtf8(bytes, 4), "A") << "a 4-byte character that does not fit is left out";
    Bytes lowFirst(4, 0);
    PutUtf16(lowFirst, 0, u"\xDC00");
    EXPECT_EQ(Utf16LeToUtf8(lowFirst, 40), "?");
    EXPECT_EQ(Utf16LeToUtf8(Bytes{0x41}, 40), "") << "an odd byte is no character";
}

TEST(CutAtCharacter, StepsBackToACharacterStart) {
    EXPECT_EQ(CutAtCharacter("ABC", 5), "ABC");
    EXPECT_EQ(CutAtCharacter("AB\xEA\xB0\x80", 4), "AB");
    EXPECT_EQ(CutAtCharacter("AB\xEA\xB0\x80Z", 5), "AB\xEA\xB0\x80");
    EXPECT_EQ(CutAtCharacter("\xEA\xB0\x80", 0), "");
}

}  // namespace
}  // namespace lanterna
