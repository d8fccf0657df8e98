#pragma once
// The other subnets a refresh greets: entries in the forms of lanternactl's targets (an address
// or a range, "10.2.0.1-254", "10.2.0.250-10.2.1.20"), read by the same parser, and the
// addresses they come to, each once and at most kMaxTargets in all.

#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "fleet/Targets.h"
#include "platform/RegistryKey.h"

namespace lanterna::fleet {

// The words of `text`, split at blanks, commas and line ends, in order.
std::vector<std::string> SubnetEntriesOf(std::string_view text);

// The first entry that cannot be taken, and why (kNone: all were taken).
struct SubnetRefusal {
    TargetProblem problem = TargetProblem::kNone;
    std::string entry;
};

// Every address of `entries` in order, each once, into `addresses`. Stops at the first entry
// that is no address or range, or that takes the addresses beyond kMaxTargets; the addresses of
// the entries before it are kept.
SubnetRefusal AddressesOfSubnets(std::span<const std::string> entries,
                                 std::vector<std::string>& addresses);

// The addresses of the other subnets stored in `hive`, as AddressesOfSubnets gives them (an
// entry spoilt in the hive ends the list there). Empty when nothing is stored or readable.
std::vector<std::string> StoredSubnetAddresses(const HiveFile& hive);

}  // namespace lanterna::fleet
