#include <gtest/gtest.h>

#include "settings/ConfigFileKey.h"
#include "tests/support/cipher/OpensslTool.h"

namespace lanterna {
namespace {

using test::Bytes;
using test::OpensslTool;
using test::ToHex;

// The 32-bit words (L0 L1 M0 M1 R0 R1) of the 24 bytes reordered to (L0 M0 L1 R0 M1 R1).
Bytes ExchangeWords(const Bytes& bytes) {
    constexpr int kWordOrder[6] = {0, 2, 1, 4, 3, 5};
    Bytes exchanged;
    for (const int word : kWordOrder) {
        exchanged.insert(exchanged.end(), bytes.begin() + 4 * word, bytes.begin() + 4 * word + 4);
    }
    return exchanged;
}

// The derivation carried out step by step with openssl's single DES: three blocks per call
// (ECB), one call per pass of the three-stage transform.
std::optional<Bytes> DeriveWithOpenssl(const OpensslTool& openssl, std::string_view phrase) {
    Bytes key(kDefaultTripleDesKey.begin(), kDefaultTripleDesKey.end());
    std::size_t next = 0;
    do {
        for (std::size_t i = 0; i < 24 && next < phrase.size(); ++i, ++next) {
            key[i] ^= static_cast<std::uint8_t>(phrase[next]) & 0x7F;
        }
        auto step = openssl.Enc("des-ecb", "0123456789ABCDEF", key);
        if (!step) {
            return std::nullopt;
        }
        step = openssl.Enc("des-ecb", "FEDCBA9876543210", ExchangeWords(*step), true);
        if (!step) {
            return std::nullopt;
        }
        step = openssl.Enc("des-ecb", "89ABCDEF01234567", ExchangeWords(*step));
        if (!step) {
            return std::nullopt;
        }
        key = *step;
    } while (next < phrase.size());
    return key;
}

TEST(ConfigFileKey, DefaultKeyIsTheFixedStartingKey) {
    EXPECT_EQ(ToHex(kDefaultTripleDesKey),
              "0123456789ABCDEFFEDCBA9876543210"
              "89ABCDEF01234567");
    EXPECT_EQ(kConfigFilePassPhrase, "VANTAQuorixNCF");
}

TEST(ConfigFileKey, MatchesStepByStepDerivationWithOpenssl) {
    const OpensslTool& openssl = OpensslTool::Get();
    if (!openssl.Unavailable().empty()) {
        GTEST_SKIP() << openssl.Unavailable();
    }
    const std::string phrases[] = {
        std::string(kConfigFilePassPhrase),
        "",                                // still one pass over the starting key
        std::string(24, 'x'),              // exactly one full pass
        "abcdefghijklmnopqrstuvwxyz0123",  // two passes, the second starting at byte 0
        std::string(49, 'Q'),              // three passes
    };
    for (const std::string& phrase : phrases) {
        const auto expected = DeriveWithOpenssl(openssl, phrase);
        ASSERT_TRUE(expected.has_value()) << phrase;
        EXPECT_EQ(ToHex(DeriveConfigFileKey(phrase)), ToHex(*expected)) << "'" << phrase << "'";
    }
}

TEST(ConfigFileKey, FixedPhraseKeyIsStable) {
    // Computed with the openssl procedure above; kept so that the key is checked on machines
    // without openssl too. Changing it would make every existing file unreadable.
    EXPECT_EQ(ToHex(ConfigFileKey()),
              "B2EFFDE08B97E15A"
              "082FFB1333015608"
              "CC2E87AD7A53D372");
    EXPECT_EQ(ConfigFileKey(), DeriveConfigFileKey(kConfigFilePassPhrase));
}

TEST(ConfigFileKey, OnlySevenBitsOfEachCharacterCount) {
    EXPECT_EQ(DeriveConfigFileKey("\xC1\xE2"), DeriveConfigFileKey("Ab"));
    EXPECT_NE(DeriveConfigFileKey("Ab"), DeriveConfigFileKey("Ac"));
}

TEST(ConfigFileKey, EveryPassDependsOnAllOfTheBuffer) {
    // A change in the first character reaches all three parts of the key.
    const TripleDesKey a = DeriveConfigFileKey("VANTAQuorixNCF");
    const TripleDesKey b = DeriveConfigFileKey("WANTAQuorixNCF");
    for (std::size_t part = 0; part < 3; ++part) {
        EXPECT_FALSE(
            std::equal(a.begin() + 8 * part, a.begin() + 8 * part + 8, b.begin() + 8 * part))
            << "part " << part;
    }
}

}  // namespace
}  // namespace lanterna
