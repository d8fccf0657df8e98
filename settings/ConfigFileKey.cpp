#include "settings/ConfigFileKey.h"

#include <cstddef>
#include <cstdint>

namespace lanterna {

namespace {

struct ThreeBlocks {
    std::uint64_t left;
    std::uint64_t middle;
    std::uint64_t right;
};

std::uint64_t HighWord(std::uint64_t block) {
    return block >> 32;
}
std::uint64_t LowWord(std::uint64_t block) {
    return block & 0xFFFFFFFFU;
}
std::uint64_t Join(std::uint64_t high, std::uint64_t low) {
    return (high << 32) | low;
}

// The words (L0 L1) (M0 M1) (R0 R1) become (L0 M0) (L1 R0) (M1 R1), so that every block of the
// next pass depends on two blocks of this one.
ThreeBlocks ExchangeWords(const ThreeBlocks& b) {
    return {Join(HighWord(b.left), HighWord(b.middle)), Join(LowWord(b.left), HighWord(b.right)),
            Join(LowWord(b.middle), LowWord(b.right))};
}

ThreeBlocks ApplyToEach(const DesCipher& cipher, const ThreeBlocks& b) {
    return {cipher.Apply(b.left), cipher.Apply(b.middle), cipher.Apply(b.right)};
}

std::span<const std::uint8_t, 8> Part(const TripleDesKey& key, std::size_t index) {
    return std::span<const std::uint8_t, 8>(key.data() + 8 * index, 8);
}

std::span<std::uint8_t, 8> Part(TripleDesKey& key, std::size_t index) {
    return std::span<std::uint8_t, 8>(key.data() + 8 * index, 8);
}

}  // namespace

TripleDesKey DeriveConfigFileKey(std::string_view passPhrase) {
    const DesCipher first(Part(kDefaultTripleDesKey, 0), DesDirection::kEncrypt);
    const DesCipher second(Part(kDefaultTripleDesKey, 1), DesDirection::kDecrypt);
    const DesCipher third(Part(kDefaultTripleDesKey, 2), DesDirection::kEncrypt);

    TripleDesKey key = kDefaultTripleDesKey;
    std::size_t next = 0;
    do {
        for (std::size_t i = 0; i < key.size() && next < passPhrase.size(); ++i, ++next) {
            key[i] ^= static_cast<std::uint8_t>(passPhrase[next]) & 0x7FU;
        }
        ThreeBlocks blocks{LoadBigEndian64(Part(key, 0)), LoadBigEndian64(Part(key, 1)),
                           LoadBigEndian64(Part(key, 2))};
        blocks = ApplyToEach(first, blocks);
        blocks = ApplyToEach(second, ExchangeWords(blocks));
        blocks = ApplyToEach(third, ExchangeWords(blocks));
        StoreBigEndian64(blocks.left, Part(key, 0));
        StoreBigEndian64(blocks.middle, Part(key, 1));
        StoreBigEndian64(blocks.right, Part(key, 2));
    } while (next < passPhrase.size());
    return key;
}

const TripleDesKey& ConfigFileKey() {
    static const TripleDesKey key = DeriveConfigFileKey(kConfigFilePassPhrase);
    return key;
}

}  // namespace lanterna
