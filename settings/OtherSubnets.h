#pragma once
// The other subnets a refresh greets besides its broadcast: addresses and address ranges
// ("10.2.0.1-254", "10.2.0.250-10.2.1.20"), kept in the program's registry key beside the
// window's settings (key "Software\MIRAL VANTA\Lanterna\Subnets"), one string value per entry
// named "1", "2", ... in the order the user gave them. What an entry means is the fleet
// engine's to say (fleet/OtherSubnets.h); here they are only texts.
//
// Results are 1 on success and 0 on failure.

#include <cstddef>
#include <string>
#include <vector>

#include "platform/RegistryKey.h"

namespace lanterna {

// Most entries kept, and the longest entry ("255.255.255.255-255.255.255.255" is 31 bytes).
inline constexpr std::size_t kMaxSubnetEntries = 256;
inline constexpr std::size_t kSubnetEntryMaxBytes = 40;

// "Software\MIRAL VANTA\Lanterna\Subnets".
std::string OtherSubnetsKeyPath();

// The stored entries in order, up to the first one missing, unreadable or too long. An empty
// list when nothing is stored.
int LoadOtherSubnets(std::vector<std::string>& entries,
                     const HiveFile& hive = HiveFile::UserDefault());

// Replaces the stored entries by `entries` in one save. More than kMaxSubnetEntries entries, an
// empty one or one longer than kSubnetEntryMaxBytes is refused and nothing is stored.
int SaveOtherSubnets(const std::vector<std::string>& entries,
                     const HiveFile& hive = HiveFile::UserDefault());

}  // namespace lanterna
