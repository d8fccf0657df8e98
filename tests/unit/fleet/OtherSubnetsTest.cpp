// The other subnets: the entries as the window's dialog takes them apart, which are refused and
// named, the addresses they come to, and the list as kept in the hive.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fleet/OtherSubnets.h"
#include "settings/OtherSubnets.h"
#include "tests/support/files/TempFolder.h"

namespace lanterna::fleet {
namespace {

struct SubnetCase {
    std::string text;                 // as typed
    TargetProblem problem;            // of the first entry refused
    std::string refused;              // that entry
    std::size_t addresses;            // how many the entries before it come to
    std::string last;                 // the last of them
};

TEST(OtherSubnets, EntriesAreTakenUpToTheFirstBadOneWhichIsNamed) {
    const std::vector<SubnetCase> cases{
        {"", TargetProblem::kNone, "", 0, ""},
        {"10.2.0.1-254, 10.3.1.20\n10.3.1.20", TargetProblem::kNone, "", 255, "10.3.1.20"},
        {"10.2.0.250-10.2.1.5", TargetProblem::kNone, "", 12, "10.2.1.5"},
        {"10.2.0.1 10.2.0.300 10.2.0.3", TargetProblem::kNotAddressOrRange, "10.2.0.300", 1,
         "10.2.0.1"},
        {"10.2.0.9-3", TargetProblem::kNotAddressOrRange, "10.2.0.9-3", 0, ""},
        {"10.2.0.1 room-201", TargetProblem::kNotAddressOrRange, "room-201", 1, "10.2.0.1"},
        {"10.2.0.0/24", TargetProblem::kNotAddressOrRange, "10.2.0.0/24", 0, ""},
        {"10.4.0.0-10.4.15.255", TargetProblem::kNone, "", 4096, "10.4.15.255"},
        {"10.4.0.0-10.4.16.0", TargetProblem::kTooMany, "10.4.0.0-10.4.16.0", 0, ""},
        {"10.5.0.1 10.4.0.0-10.4.15.255", TargetProblem::kTooMany, "10.4.0.0-10.4.15.255",
         4096, "10.4.15.254"},
    };
    for (const SubnetCase& c : cases) {
        SCOPED_TRACE(c.text);
        const std::vector<std::string> entries = SubnetEntriesOf(c.text);
        std::vector<std::string> addresses;
        const SubnetRefusal refusal = AddressesOfSubnets(entries, addresses);
        EXPECT_EQ(refusal.problem, c.problem);
        EXPECT_EQ(refusal.entry, c.refused);
        EXPECT_EQ(addresses.size(), c.addresses);
        EXPECT_EQ(addresses.empty() ? "" : addresses.back(), c.last);
    }
}

TEST(OtherSubnets, TheListKeptInTheHiveComesBackAsStoredAndBadListsAreNotStored) {
    test::TempFolder folder;
    const HiveFile hive{folder.File("lanterna/registry.reg")};
    std::vector<std::string> loaded{"left over"};
    ASSERT_EQ(LoadOtherSubnets(loaded, hive), 1);
    EXPECT_TRUE(loaded.empty()) << "nothing stored yet";

    const std::vector<std::string> entries{"10.2.0.1-254", "10.3.1.20", "10.2.0.250-10.2.1.5"};
    ASSERT_EQ(SaveOtherSubnets(entries, hive), 1);
    ASSERT_EQ(LoadOtherSubnets(loaded, hive), 1);
    EXPECT_EQ(loaded, entries);
    // The third range overlaps the first: only 10.2.0.255 and 10.2.1.0 to 5 are new.
    EXPECT_EQ(StoredSubnetAddresses(hive).size(), 254U + 1U + 7U);

    const std::vector<std::vector<std::string>> refused{
        {"10.2.0.1", ""},
        {std::string(kSubnetEntryMaxBytes + 1, '1')},
        std::vector<std::string>(kMaxSubnetEntries + 1, "10.2.0.1"),
    };
    for (const std::vector<std::string>& bad : refused) {
        EXPECT_EQ(SaveOtherSubnets(bad, hive), 0);
    }
    ASSERT_EQ(LoadOtherSubnets(loaded, hive), 1);
    EXPECT_EQ(loaded, entries) << "a refused list leaves the stored one";

    ASSERT_EQ(SaveOtherSubnets({"10.9.0.1"}, hive), 1);
    ASSERT_EQ(LoadOtherSubnets(loaded, hive), 1);
    EXPECT_EQ(loaded, std::vector<std::string>{"10.9.0.1"}) << "a shorter list leaves no tail";
}

}  // namespace
}  // namespace lanterna::fleet
