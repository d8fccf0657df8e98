#include "fleet/OtherSubnets.h"

#include <algorithm>

#include "settings/OtherSubnets.h"

namespace lanterna::fleet {

std::vector<std::string> SubnetEntriesOf(std::string_view text) {
    constexpr std::string_view kSeparators = " \t\r\n,";
    std::vector<std::string> entries;
    std::size_t start = text.find_first_not_of(kSeparators);
    while (start != std::string_view::npos) {
        const std::size_t end = std::min(text.find_first_of(kSeparators, start), text.size());
        entries.emplace_back(text.substr(start, end - start));
        start = text.find_first_not_of(kSeparators, end);
    }
    return entries;
}

SubnetRefusal AddressesOfSubnets(std::span<const std::string> entries,
                                 std::vector<std::string>& addresses) {
    std::vector<Target> targets;
    CTargetList list(targets);
    SubnetRefusal refusal;
    for (const std::string& entry : entries) {
        if (const TargetProblem problem = list.AddWord(entry); problem != TargetProblem::kNone) {
            refusal = {problem, entry};
            break;
        }
    }
    addresses.clear();
    addresses.reserve(targets.size());
    for (Target& target : targets) {
        addresses.push_back(std::move(target.address));
    }
    return refusal;
}

std::vector<std::string> StoredSubnetAddresses(const HiveFile& hive) {
    std::vector<std::string> entries;
    std::vector<std::string> addresses;
    if (LoadOtherSubnets(entries, hive) == 1) {
        AddressesOfSubnets(entries, addresses);
    }
    return addresses;
}

}  // namespace lanterna::fleet
