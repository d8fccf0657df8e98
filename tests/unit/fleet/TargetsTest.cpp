// Targets from words and targets files: each address once, in the order first given, ranges
// merged with what was taken before, so only new addresses are expanded.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fleet/Targets.h"

namespace lanterna::fleet {
namespace {

std::vector<std::string> AddressesOf(const std::vector<Target>& targets) {
    std::vector<std::string> addresses;
    for (const Target& target : targets) {
        addresses.push_back(target.address);
    }
    return addresses;
}

TEST(TargetList, RangesGivenAgainOrOverlappingAddOnlyTheirNewAddressesInOrder) {
    const struct Case {
        const char* file;
        std::vector<std::string> expected;
    } cases[] = {
        {"10.0.0.1-3\n10.0.0.1-3\n10.0.0.2\n", {"10.0.0.1", "10.0.0.2", "10.0.0.3"}},
        {"10.0.0.3-4\n10.0.0.1-6\n",
         {"10.0.0.3", "10.0.0.4", "10.0.0.1", "10.0.0.2", "10.0.0.5", "10.0.0.6"}},
        {"10.0.0.5\n10.0.0.1-2\n10.0.0.3-4\n10.0.0.1-6 # all\n",
         {"10.0.0.5", "10.0.0.1", "10.0.0.2", "10.0.0.3", "10.0.0.4", "10.0.0.6"}},
        {"10.0.0.255-10.0.1.1\n10.0.0.254-10.0.1.2\n",
         {"10.0.0.255", "10.0.1.0", "10.0.1.1", "10.0.0.254", "10.0.1.2"}},
        {"255.255.255.254-255\n255.255.255.255\n", {"255.255.255.254", "255.255.255.255"}},
        {"0.0.0.0-1\n0.0.0.0\n", {"0.0.0.0", "0.0.0.1"}},
    };
    for (const Case& c : cases) {
        std::vector<Target> targets;
        CTargetList list(targets);
        TargetLine bad;
        EXPECT_EQ(list.AddLines(c.file, bad), TargetProblem::kNone) << c.file;
        EXPECT_EQ(AddressesOf(targets), c.expected) << c.file;
    }
}

TEST(TargetList, ManyCopiesOfAWholeRangeCountOnceAndTheLimitStillHolds) {
    std::string file;
    for (int copy = 0; copy < 2000; ++copy) {
        file += "10.1.0.0-10.1.15.255\n";
    }
    std::vector<Target> targets;
    CTargetList list(targets);
    TargetLine bad;
    ASSERT_EQ(list.AddLines(file, bad), TargetProblem::kNone);
    ASSERT_EQ(targets.size(), kMaxTargets);
    EXPECT_EQ(targets.front().address, "10.1.0.0");
    EXPECT_EQ(targets.back().address, "10.1.15.255");
    // A search's projector inside a range is not added twice; one address more is too many.
    EXPECT_EQ(list.Add({"10.1.3.7", std::nullopt, "ROOM-201"}), TargetProblem::kNone);
    EXPECT_EQ(list.AddWord("10.1.16.0"), TargetProblem::kTooMany);
    EXPECT_EQ(targets.size(), kMaxTargets);
}

}  // namespace
}  // namespace lanterna::fleet
