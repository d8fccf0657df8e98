#include "settings/Des.h"

#include <cstddef>

namespace lanterna {

namespace {

// The tables of FIPS 46-3. Bit positions count from 1 at the most significant bit.

constexpr std::uint8_t kInitialPermutation[64] = {
    58, 50, 42, 34, 26, 18, 10, 2,  60, 52, 44, 36, 28, 20, 12, 4,  62, 54, 46, 38, 30, 22,
    14, 6,  64, 56, 48, 40, 32, 24, 16, 8,  57, 49, 41, 33, 25, 17, 9,  1,  59, 51, 43, 35,
    27, 19, 11, 3,  61, 53, 45, 37, 29, 21, 13, 5,  63, 55, 47, 39, 31, 23, 15, 7,
};

constexpr std::uint8_t kFinalPermutation[64] = {
    40, 8,  48, 16, 56, 24, 64, 32, 39, 7,  47, 15, 55, 23, 63, 31, 38, 6,  46, 14, 54, 22,
    62, 30, 37, 5,  45, 13, 53, 21, 61, 29, 36, 4,  44, 12, 52, 20, 60, 28, 35, 3,  43, 11,
    51, 19, 59, 27, 34, 2,  42, 10, 50, 18, 58, 26, 33, 1,  41, 9,  49, 17, 57, 25,
};

constexpr std::uint8_t kExpansion[48] = {
    32, 1,  2,  3,  4,  5,  4,  5,  6,  7,  8,  9,  8,  9,  10, 11, 12, 13, 12, 13, 14, 15, 16, 17,
    16, 17, 18, 19, 20, 21, 20, 21, 22, 23, 24, 25, 24, 25, 26, 27, 28, 29, 28, 29, 30, 31, 32, 1,
};

constexpr std::uint8_t kPermutation[32] = {
    16, 7, 20, 21, 29, 12, 28, 17, 1,  15, 23, 26, 5,  18, 31, 10,
    2,  8, 24, 14, 32, 27, 3,  9,  19, 13, 30, 6,  22, 11, 4,  25,
};

constexpr std::uint8_t kPermutedChoice1[56] = {
    57, 49, 41, 33, 25, 17, 9,  1,  58, 50, 42, 34, 26, 18, 10, 2,  59, 51, 43,
    35, 27, 19, 11, 3,  60, 52, 44, 36, 63, 55, 47, 39, 31, 23, 15, 7,  62, 54,
    46, 38, 30, 22, 14, 6,  61, 53, 45, 37, 29, 21, 13, 5,  28, 20, 12, 4,
};

constexpr std::uint8_t kPermutedChoice2[48] = {
    14, 17, 11, 24, 1,  5,  3,  28, 15, 6,  21, 10, 23, 19, 12, 4,  26, 8,  16, 7,  27, 20, 13, 2,
    41, 52, 31, 37, 47, 55, 30, 40, 51, 45, 33, 48, 44, 49, 39, 56, 34, 53, 46, 42, 50, 36, 29, 32,
};

constexpr int kLeftShifts[16] = {1, 1, 2, 2, 2, 2, 2, 2, 1, 2, 2, 2, 2, 2, 2, 1};

// S1 to S8, each as four rows of sixteen.
constexpr std::uint8_t kSboxes[8][64] = {
    {14, 4,  13, 1, 2,  15, 11, 8, 3, 10, 6, 12, 5,  9,  0,  7,  0,  15, 7,  4,  14, 2,
     13, 1,  10, 6, 12, 11, 9,  5, 3, 8,  4, 1,  14, 8,  13, 6,  2,  11, 15, 12, 9,  7,
     3,  10, 5,  0, 15, 12, 8,  2, 4, 9,  1, 7,  5,  11, 3,  14, 10, 0,  6,  13},
    {15, 1,  8,  14, 6,  11, 3,  4, 9,  7,  2, 13, 12, 0,  5,  10, 3,  13, 4,  7, 15, 2,
     8,  14, 12, 0,  1,  10, 6,  9, 11, 5,  0, 14, 7,  11, 10, 4,  13, 1,  5,  8, 12, 6,
     9,  3,  2,  15, 13, 8,  10, 1, 3,  15, 4, 2,  11, 6,  7,  12, 0,  5,  14, 9},
    {10, 0,  9,  14, 6, 3,  15, 5,  1,  13, 12, 7, 11, 4,  2,  8,  13, 7, 0,  9, 3, 4,
     6,  10, 2,  8,  5, 14, 12, 11, 15, 1,  13, 6, 4,  9,  8,  15, 3,  0, 11, 1, 2, 12,
     5,  10, 14, 7,  1, 10, 13, 0,  6,  9,  8,  7, 4,  15, 14, 3,  11, 5, 2,  12},
    {7, 13, 14, 3, 0, 6,  9, 10, 1,  2, 8,  5, 11, 12, 4,  15, 13, 8,  11, 5, 6, 15,
     0, 3,  4,  7, 2, 12, 1, 10, 14, 9, 10, 6, 9,  0,  12, 11, 7,  13, 15, 1, 3, 14,
     5, 2,  8,  4, 3, 15, 0, 6,  10, 1, 13, 8, 9,  4,  5,  11, 12, 7,  2,  14},
    {2,  12, 4, 1,  7,  10, 11, 6, 8, 5,  3, 15, 13, 0,  14, 9,  14, 11, 2,  12, 4,  7,
     13, 1,  5, 0,  15, 10, 3,  9, 8, 6,  4, 2,  1,  11, 10, 13, 7,  8,  15, 9,  12, 5,
     6,  3,  0, 14, 11, 8,  12, 7, 1, 14, 2, 13, 6,  15, 0,  9,  10, 4,  5,  3},
    {12, 1,  10, 15, 9,  2,  6, 8,  0, 13, 3,  4,  14, 7,  5, 11, 10, 15, 4, 2, 7, 12,
     9,  5,  6,  1,  13, 14, 0, 11, 3, 8,  9,  14, 15, 5,  2, 8,  12, 3,  7, 0, 4, 10,
     1,  13, 11, 6,  4,  3,  2, 12, 9, 5,  15, 10, 11, 14, 1, 7,  6,  0,  8, 13},
    {4, 11, 2,  14, 15, 0,  8,  13, 3, 12, 9,  7, 5,  10, 6,  1,  13, 0,  11, 7,  4, 9,
     1, 10, 14, 3,  5,  12, 2,  15, 8, 6,  1,  4, 11, 13, 12, 3,  7,  14, 10, 15, 6, 8,
     0, 5,  9,  2,  6,  11, 13, 8,  1, 4,  10, 7, 9,  5,  0,  15, 14, 2,  3,  12},
    {13, 2, 8,  4, 6, 15, 11, 1,  10, 9,  3, 14, 5,  0,  12, 7,  1,  15, 13, 8, 10, 3,
     7,  4, 12, 5, 6, 11, 0,  14, 9,  2,  7, 11, 4,  1,  9,  12, 14, 2,  0,  6, 10, 13,
     15, 3, 5,  8, 2, 1,  14, 7,  4,  10, 8, 13, 15, 12, 9,  0,  3,  5,  6,  11},
};

// Output bit i (from the most significant) is bit table[i] of the `inputWidth`-bit input.
template <std::size_t N>
constexpr std::uint64_t Permute(std::uint64_t input, int inputWidth,
                                const std::uint8_t (&table)[N]) {
    std::uint64_t output = 0;
    for (const std::uint8_t position : table) {
        output = (output << 1) | ((input >> (inputWidth - position)) & 1U);
    }
    return output;
}

// A fixed bit selection as one look-up per input byte: each entry holds the output bits that
// one byte value at one byte position contributes. Precomputed because the initial and final
// permutations run on every block and the expansion in every round.
template <std::size_t InputBytes>
struct BytewisePermutation {
    std::array<std::array<std::uint64_t, 256>, InputBytes> parts{};

    std::uint64_t operator()(std::uint64_t input) const {
        std::uint64_t output = 0;
        for (std::size_t byte = 0; byte < InputBytes; ++byte) {
            output |= parts[byte][(input >> (8 * (InputBytes - 1 - byte))) & 0xFF];
        }
        return output;
    }
};

template <std::size_t InputBytes, std::size_t N>
BytewisePermutation<InputBytes> MakeBytewise(const std::uint8_t (&table)[N]) {
    constexpr int kInputWidth = 8 * InputBytes;
    BytewisePermutation<InputBytes> permutation;
    for (std::size_t byte = 0; byte < InputBytes; ++byte) {
        for (std::uint64_t value = 0; value < 256; ++value) {
            const std::uint64_t input = value << (8 * (InputBytes - 1 - byte));
            permutation.parts[byte][value] = Permute(input, kInputWidth, table);
        }
    }
    return permutation;
}

// Built on first use, so that no other static initialiser can see them unbuilt.
const BytewisePermutation<8>& InitialPermutation() {
    static const auto permutation = MakeBytewise<8>(kInitialPermutation);
    return permutation;
}

const BytewisePermutation<8>& FinalPermutation() {
    static const auto permutation = MakeBytewise<8>(kFinalPermutation);
    return permutation;
}

const BytewisePermutation<4>& Expansion() {
    static const auto permutation = MakeBytewise<4>(kExpansion);
    return permutation;
}

// S-box b followed by P, for every 6-bit input of box b: the outer bits of the input choose the
// row, the inner four the column, and the box output takes bits 4b+1 to 4b+4 before P.
constexpr auto kSboxThenP = [] {
    std::array<std::array<std::uint32_t, 64>, 8> tables{};
    for (std::size_t box = 0; box < 8; ++box) {
        for (std::uint32_t input = 0; input < 64; ++input) {
            const std::uint32_t row = ((input >> 4) & 2U) | (input & 1U);
            const std::uint32_t column = (input >> 1) & 0xFU;
            const std::uint64_t output = kSboxes[box][row * 16 + column];
            tables[box][input] =
                static_cast<std::uint32_t>(Permute(output << (28 - 4 * box), 32, kPermutation));
        }
    }
    return tables;
}();

// f(R, K) = P(S(E(R) xor K)).
std::uint32_t RoundFunction(std::uint32_t right, std::uint64_t subkey) {
    const std::uint64_t mixed = Expansion()(right) ^ subkey;
    std::uint32_t result = 0;
    for (std::size_t box = 0; box < 8; ++box) {
        result |= kSboxThenP[box][(mixed >> (42 - 6 * box)) & 0x3FU];
    }
    return result;
}

std::uint32_t RotateLeft28(std::uint32_t half, int count) {
    return ((half << count) | (half >> (28 - count))) & 0x0FFFFFFFU;
}

}  // namespace

std::uint64_t LoadBigEndian64(std::span<const std::uint8_t, 8> bytes) {
    std::uint64_t value = 0;
    for (const std::uint8_t byte : bytes) {
        value = (value << 8) | byte;
    }
    return value;
}

void StoreBigEndian64(std::uint64_t value, std::span<std::uint8_t, 8> bytes) {
    for (std::size_t i = 0; i < 8; ++i) {
        bytes[i] = static_cast<std::uint8_t>(value >> (56 - 8 * i));
    }
}

DesCipher::DesCipher(std::span<const std::uint8_t, 8> key, DesDirection direction) {
    const std::uint64_t chosen = Permute(LoadBigEndian64(key), 64, kPermutedChoice1);
    auto c = static_cast<std::uint32_t>(chosen >> 28);
    auto d = static_cast<std::uint32_t>(chosen & 0x0FFFFFFFU);
    for (std::size_t round = 0; round < 16; ++round) {
        c = RotateLeft28(c, kLeftShifts[round]);
        d = RotateLeft28(d, kLeftShifts[round]);
        const std::uint64_t subkey =
            Permute((static_cast<std::uint64_t>(c) << 28) | d, 56, kPermutedChoice2);
        // Deciphering is the same network with the round keys in reverse order.
        subkeys_[direction == DesDirection::kEncrypt ? round : 15 - round] = subkey;
    }
}

std::uint64_t DesCipher::Apply(std::uint64_t block) const {
    const std::uint64_t permuted = InitialPermutation()(block);
    auto left = static_cast<std::uint32_t>(permuted >> 32);
    auto right = static_cast<std::uint32_t>(permuted);
    for (const std::uint64_t subkey : subkeys_) {
        const std::uint32_t next = left ^ RoundFunction(right, subkey);
        left = right;
        right = next;
    }
    // The output of the last round goes to the final permutation with its halves exchanged.
    return FinalPermutation()((static_cast<std::uint64_t>(right) << 32) | left);
}

void DesCipher::Apply(std::span<std::uint8_t, 8> block) const {
    StoreBigEndian64(Apply(LoadBigEndian64(block)), block);
}

namespace {

std::span<const std::uint8_t, 8> KeyPart(const TripleDesKey& key, std::size_t index) {
    return std::span<const std::uint8_t, 8>(key.data() + 8 * index, 8);
}

template <typename Transform>
bool TransformEcb(std::span<std::uint8_t> data, Transform transform) {
    if (data.size() % 8 != 0) {
        return false;
    }
    for (std::size_t offset = 0; offset < data.size(); offset += 8) {
        const std::span<std::uint8_t, 8> block(data.data() + offset, 8);
        StoreBigEndian64(transform(LoadBigEndian64(block)), block);
    }
    return true;
}

}  // namespace

TripleDes::TripleDes(const TripleDesKey& key)
    : encrypt1_(KeyPart(key, 0), DesDirection::kEncrypt),
      decrypt2_(KeyPart(key, 1), DesDirection::kDecrypt),
      encrypt3_(KeyPart(key, 2), DesDirection::kEncrypt),
      decrypt3_(KeyPart(key, 2), DesDirection::kDecrypt),
      encrypt2_(KeyPart(key, 1), DesDirection::kEncrypt),
      decrypt1_(KeyPart(key, 0), DesDirection::kDecrypt) {}

std::uint64_t TripleDes::Encrypt(std::uint64_t block) const {
    return encrypt3_.Apply(decrypt2_.Apply(encrypt1_.Apply(block)));
}

std::uint64_t TripleDes::Decrypt(std::uint64_t block) const {
    return decrypt1_.Apply(encrypt2_.Apply(decrypt3_.Apply(block)));
}

bool TripleDes::EncryptEcb(std::span<std::uint8_t> data) const {
    return TransformEcb(data, [this](std::uint64_t block) { return Encrypt(block); });
}

bool TripleDes::DecryptEcb(std::span<std::uint8_t> data) const {
    return TransformEcb(data, [this](std::uint64_t block) { return Decrypt(block); });
}

}  // namespace lanterna
