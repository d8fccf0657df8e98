#pragma once
// The DES block cipher (FIPS 46-3) and three-key triple DES in electronic code book mode, as
// used to encipher network configuration files. Blocks and keys are bytes in the order DES
// defines: the first byte holds bits 1 to 8, most significant bit first.

#include <array>
#include <cstdint>
#include <span>

namespace lanterna {

using DesBlock = std::array<std::uint8_t, 8>;
using DesKey = std::array<std::uint8_t, 8>;
using TripleDesKey = std::array<std::uint8_t, 24>;

enum class DesDirection { kEncrypt, kDecrypt };

// A DES key schedule for one direction. The parity bits of the key are ignored.
class DesCipher {
  public:
    DesCipher(std::span<const std::uint8_t, 8> key, DesDirection direction);

    // The block as a 64-bit number, bit 1 of DES being the most significant bit.
    std::uint64_t Apply(std::uint64_t block) const;
    void Apply(std::span<std::uint8_t, 8> block) const;

  private:
    std::array<std::uint64_t, 16> subkeys_{};  // 48-bit round keys, in the order they are used
};

// E(K3, D(K2, E(K1, P))) with K1 = key bytes 0-7, K2 = bytes 8-15, K3 = bytes 16-23; deciphers
// with the inverse. Each 8-byte block on its own, in place.
class TripleDes {
  public:
    explicit TripleDes(const TripleDesKey& key);

    std::uint64_t Encrypt(std::uint64_t block) const;
    std::uint64_t Decrypt(std::uint64_t block) const;

    // `data` must be a whole number of blocks; returns false (and leaves it as it was)
    // otherwise.
    bool EncryptEcb(std::span<std::uint8_t> data) const;
    bool DecryptEcb(std::span<std::uint8_t> data) const;

  private:
    DesCipher encrypt1_, decrypt2_, encrypt3_;
    DesCipher decrypt3_, encrypt2_, decrypt1_;
};

std::uint64_t LoadBigEndian64(std::span<const std::uint8_t, 8> bytes);
void StoreBigEndian64(std::uint64_t value, std::span<std::uint8_t, 8> bytes);

}  // namespace lanterna
