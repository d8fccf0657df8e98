#pragma once
// The key with which network configuration files are enciphered: derived from a pass phrase by
// three chained triple-DES passes over a fixed starting key.

#include <string_view>

#include "settings/Des.h"

namespace lanterna {

// The starting key of the derivation; its three parts also key the three passes.
inline constexpr TripleDesKey kDefaultTripleDesKey = {
    0x01, 0x23, 0x45, 0x67, 0x89, 0xAB, 0xCD, 0xEF,  //
    0xFE, 0xDC, 0xBA, 0x98, 0x76, 0x54, 0x32, 0x10,  //
    0x89, 0xAB, 0xCD, 0xEF, 0x01, 0x23, 0x45, 0x67,
};

// The fixed pass phrase of every network configuration file.
inline constexpr std::string_view kConfigFilePassPhrase = "VANTAQuorixNCF";

// Starts from kDefaultTripleDesKey and, for each run of up to 24 pass-phrase characters (at
// least once), mixes the characters (7 bits each) into the key and transforms it in place.
TripleDesKey DeriveConfigFileKey(std::string_view passPhrase);

// DeriveConfigFileKey(kConfigFilePassPhrase), computed once.
const TripleDesKey& ConfigFileKey();

}  // namespace lanterna
