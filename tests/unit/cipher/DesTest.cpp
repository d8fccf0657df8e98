#include <gtest/gtest.h>

#include <random>

#include "settings/Des.h"
#include "tests/support/cipher/OpensslTool.h"

namespace lanterna {
namespace {

using test::Bytes;
using test::FromHex;
using test::OpensslTool;
using test::ToHex;

std::uint64_t Hex64(const char* hex) {
    return std::stoull(hex, nullptr, 16);
}

DesKey KeyOf(const char* hex) {
    DesKey key{};
    StoreBigEndian64(Hex64(hex), key);
    return key;
}

std::uint64_t EncryptOne(const char* key, const char* plain) {
    return DesCipher(KeyOf(key), DesDirection::kEncrypt).Apply(Hex64(plain));
}

std::uint64_t DecryptOne(const char* key, const char* cipher) {
    return DesCipher(KeyOf(key), DesDirection::kDecrypt).Apply(Hex64(cipher));
}

struct Vector {
    const char* key;
    const char* plain;
    const char* cipher;
};

void ExpectVectors(const std::vector<Vector>& vectors) {
    for (const Vector& v : vectors) {
        EXPECT_EQ(EncryptOne(v.key, v.plain), Hex64(v.cipher)) << v.key << " " << v.plain;
        EXPECT_EQ(DecryptOne(v.key, v.cipher), Hex64(v.plain)) << v.key << " " << v.cipher;
    }
}

// ---- single DES known answers ------------------------------------------------------------

TEST(Des, ClassicWorkedExample) {
    ExpectVectors({{"133457799BBCDFF1", "0123456789ABCDEF", "85E813540F0AB405"}});
}

TEST(Des, VariablePlaintextKnownAnswers) {
    ExpectVectors({
        {"0101010101010101", "8000000000000000", "95F8A5E5DD31D900"},
        {"0101010101010101", "4000000000000000", "DD7F121CA5015619"},
        {"0101010101010101", "2000000000000000", "2E8653104F3834EA"},
        {"0101010101010101", "1000000000000000", "4BD388FF6CD81D4F"},
        {"0101010101010101", "0800000000000000", "20B9E767B2FB1456"},
        {"0101010101010101", "0000000000000001", "166B40B44ABA4BD6"},
    });
}

TEST(Des, VariableKeyKnownAnswers) {
    ExpectVectors({
        {"8001010101010101", "0000000000000000", "95A8D72813DAA94D"},
        {"4001010101010101", "0000000000000000", "0EEC1487DD8C26D5"},
        {"2001010101010101", "0000000000000000", "7AD16FFB79C45926"},
        {"1001010101010101", "0000000000000000", "D3746294CA6A6CF3"},
        {"0801010101010101", "0000000000000000", "809F5F873C1FD761"},
        {"0101010101010180", "0000000000000000", "9CC62DF43B6EED74"},
        {"0101010101010102", "0000000000000000", "869EFD7F9F265A09"},
    });
}

TEST(Des, SboxKnownAnswers) {
    ExpectVectors({
        {"7CA110454A1A6E57", "01A1D6D039776742", "690F5B0D9A26939B"},
        {"0131D9619DC1376E", "5CD54CA83DEF57DA", "7A389D10354BD271"},
        {"07A1133E4A0B2686", "0248D43806F67172", "868EBB51CAB4599A"},
    });
}

TEST(Des, ParityBitsOfTheKeyDoNotMatter) {
    EXPECT_EQ(EncryptOne("0000000000000000", "8000000000000000"),
              EncryptOne("0101010101010101", "8000000000000000"));
    EXPECT_EQ(EncryptOne("123457799BBCDFF0", "0123456789ABCDEF"), Hex64("85E813540F0AB405"));
}

TEST(Des, ByteFormMatchesNumberForm) {
    DesBlock block{};
    StoreBigEndian64(Hex64("0123456789ABCDEF"), block);
    EXPECT_EQ(block[0], 0x01);
    EXPECT_EQ(block[7], 0xEF);
    DesCipher(KeyOf("133457799BBCDFF1"), DesDirection::kEncrypt).Apply(block);
    EXPECT_EQ(ToHex(block), "85E813540F0AB405");
}

// ---- triple DES ----------------------------------------------------------------------------

TripleDesKey TripleKeyOf(const char* hex) {
    const Bytes bytes = FromHex(hex);
    TripleDesKey key{};
    std::copy(bytes.begin(), bytes.end(), key.begin());
    return key;
}

TEST(TripleDes, ThreeIndependentKeysKnownAnswer) {
    const TripleDes cipher(TripleKeyOf("0123456789ABCDEF23456789ABCDEF01456789ABCDEF0123"));
    // "The qufck brown fox jump"
    Bytes data = FromHex("54686520717566636B2062726F776E20666F78206A756D70");
    ASSERT_TRUE(cipher.EncryptEcb(data));
    EXPECT_EQ(ToHex(data), "A826FD8CE53B855FCCE21C8112256FE668D5C05DD9B6B900");
    ASSERT_TRUE(cipher.DecryptEcb(data));
    EXPECT_EQ(ToHex(data), "54686520717566636B2062726F776E20666F78206A756D70");
}

TEST(TripleDes, EqualKeysGiveSingleDesKnownAnswers) {
    const TripleDes cipher(TripleKeyOf("010101010101010101010101010101010101010101010101"));
    EXPECT_EQ(cipher.Encrypt(Hex64("8000000000000000")), Hex64("95F8A5E5DD31D900"));
    EXPECT_EQ(cipher.Encrypt(Hex64("0000000000000001")), Hex64("166B40B44ABA4BD6"));
    EXPECT_EQ(cipher.Decrypt(Hex64("DD7F121CA5015619")), Hex64("4000000000000000"));
}

TEST(TripleDes, KeyPartsAreUsedInTheirOwnOrder) {
    // E(K3, D(K2, E(K1, P))) written out with single DES.
    const char* k1 = "0123456789ABCDEF";
    const char* k2 = "23456789ABCDEF01";
    const char* k3 = "456789ABCDEF0123";
    const std::uint64_t plain = Hex64("5468652071756663");
    const std::uint64_t expected =
        DesCipher(KeyOf(k3), DesDirection::kEncrypt)
            .Apply(DesCipher(KeyOf(k2), DesDirection::kDecrypt)
                       .Apply(DesCipher(KeyOf(k1), DesDirection::kEncrypt).Apply(plain)));
    const TripleDes cipher(TripleKeyOf("0123456789ABCDEF23456789ABCDEF01456789ABCDEF0123"));
    EXPECT_EQ(cipher.Encrypt(plain), expected);
}

TEST(TripleDes, RefusesPartialBlocksAndLeavesThemAlone) {
    const TripleDes cipher(TripleKeyOf("0123456789ABCDEF23456789ABCDEF01456789ABCDEF0123"));
    Bytes data(9, 0x41);
    EXPECT_FALSE(cipher.EncryptEcb(data));
    EXPECT_EQ(data, Bytes(9, 0x41));
    EXPECT_FALSE(cipher.DecryptEcb(data));
    Bytes empty;
    EXPECT_TRUE(cipher.EncryptEcb(empty));
}

// ---- comparison with openssl -----------------------------------------------------------------

Bytes RandomBytes(std::mt19937& random, std::size_t count) {
    Bytes bytes(count);
    for (auto& byte : bytes) {
        byte = static_cast<std::uint8_t>(random() & 0xFF);
    }
    return bytes;
}

TEST(DesAgainstOpenssl, RandomKeysAndBlocks) {
    const OpensslTool& openssl = OpensslTool::Get();
    if (!openssl.Unavailable().empty()) {
        GTEST_SKIP() << openssl.Unavailable();
    }
    std::mt19937 random(4631);
    for (int round = 0; round < 8; ++round) {
        const Bytes key = RandomBytes(random, 8);
        const Bytes plain = RandomBytes(random, 8 * 64);
        const auto expected = openssl.Enc("des-ecb", ToHex(key), plain);
        ASSERT_TRUE(expected.has_value());
        const DesCipher encrypt(std::span<const std::uint8_t, 8>(key.data(), 8),
                                DesDirection::kEncrypt);
        const DesCipher decrypt(std::span<const std::uint8_t, 8>(key.data(), 8),
                                DesDirection::kDecrypt);
        Bytes data = plain;
        for (std::size_t offset = 0; offset < data.size(); offset += 8) {
            encrypt.Apply(std::span<std::uint8_t, 8>(data.data() + offset, 8));
        }
        ASSERT_EQ(ToHex(data), ToHex(*expected)) << "key " << ToHex(key);
        for (std::size_t offset = 0; offset < data.size(); offset += 8) {
            decrypt.Apply(std::span<std::uint8_t, 8>(data.data() + offset, 8));
        }
        EXPECT_EQ(data, plain);
    }
}

TEST(TripleDesAgainstOpenssl, RandomKeysAndLengths) {
    const OpensslTool& openssl = OpensslTool::Get();
    if (!openssl.Unavailable().empty()) {
        GTEST_SKIP() << openssl.Unavailable();
    }
    std::mt19937 random(977);
    for (const std::size_t blocks : {1U, 2U, 7U, 64U, 129U}) {
        const Bytes keyBytes = RandomBytes(random, 24);
        TripleDesKey key{};
        std::copy(keyBytes.begin(), keyBytes.end(), key.begin());
        const Bytes plain = RandomBytes(random, 8 * blocks);
        const auto expected = openssl.Enc("des-ede3", ToHex(key), plain);
        ASSERT_TRUE(expected.has_value());
        Bytes data = plain;
        ASSERT_TRUE(TripleDes(key).EncryptEcb(data));
        EXPECT_EQ(ToHex(data), ToHex(*expected)) << blocks << " blocks, key " << ToHex(key);
        ASSERT_TRUE(TripleDes(key).DecryptEcb(data));
        EXPECT_EQ(data, plain);
    }
}

}  // namespace
}  // namespace lanterna
