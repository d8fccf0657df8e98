#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "discovery/FoundRecord.h"
#include "discovery/RemoveDuplicates.h"

namespace lanterna {
namespace {

std::vector<std::string> Rows(const ProjectorList& list) {
    std::vector<std::string> rows;
    list.ForEach([&](std::size_t, const ProjectorRecord& record) {
        rows.push_back(std::string(TextOf(record.address)) + " " +
                       std::string(TextOf(record.projectorName)) + " " +
                       std::to_string(record.imType));
    });
    return rows;
}

TEST(RemoveDuplicates, LaterEntryWithSameAddressAndNameGoesTheFirstStays) {
    ProjectorList list;
    list.Append(MakeFoundRecord("A", "10.0.0.1", 21));
    list.Append(MakeFoundRecord("B", "10.0.0.2", 21));
    list.Append(MakeFoundRecord("A", "10.0.0.1", 30));
    list.Append(MakeFoundRecord("A", "10.0.0.1", 0));
    EXPECT_EQ(RemoveDuplicates(list), 2U);
    EXPECT_EQ(Rows(list), (std::vector<std::string>{"10.0.0.1 A 21", "10.0.0.2 B 21"}));
}

TEST(RemoveDuplicates, SameAddressWithAnotherNameStays) {
    ProjectorList list;
    list.Append(MakeFoundRecord("TWIN-A", "10.0.0.1", 21));
    list.Append(MakeFoundRecord("TWIN-B", "10.0.0.1", 21));
    list.Append(MakeFoundRecord("twin-a", "10.0.0.1", 21));
    list.Append(MakeFoundRecord("TWIN-A", "10.0.0.9", 21));
    EXPECT_EQ(RemoveDuplicates(list), 0U) << "names compare by exact bytes, addresses by octets";
    EXPECT_EQ(list.Size(), 4U);
}

TEST(RemoveDuplicates, AddressesCompareByOctetsNotByText) {
    ProjectorList list;
    ProjectorRecord padded = MakeFoundRecord("A", "10.0.0.1", 21);
    CopyText(padded.address, "010.000.000.001");
    list.Append(padded);
    list.Append(MakeFoundRecord("A", "10.0.0.1", 21));
    EXPECT_EQ(RemoveDuplicates(list), 1U);
    EXPECT_EQ(TextOf(list.At(0)->address), "010.000.000.001");
}

TEST(RemoveDuplicates, SurvivorWithUnknownTypeTakesTheRemovedEntrysType) {
    // The secondary search reports first and knows no module type; the hello search's entry
    // for the same projector follows.
    ProjectorList list;
    list.Append(MakeFoundRecord("W", "10.0.0.7", 0));
    list.Append(MakeFoundRecord("W", "10.0.0.7", 22));
    ProjectorRecord known = MakeFoundRecord("K", "10.0.0.8", 21);
    list.Append(known);
    list.Append(MakeFoundRecord("K", "10.0.0.8", 30));
    RemoveDuplicates(list);
    EXPECT_EQ(Rows(list), (std::vector<std::string>{"10.0.0.7 W 22", "10.0.0.8 K 21"}))
        << "a known type is never overwritten";
}

TEST(RemoveDuplicates, ObserverSeesEachRemovalWithItsSurvivor) {
    ProjectorList list;
    list.Append(MakeFoundRecord("A", "10.0.0.1", 0));
    list.Append(MakeFoundRecord("A", "10.0.0.1", 21));
    list.Append(MakeFoundRecord("A", "10.0.0.1", 22));
    std::vector<std::pair<int, int>> seen;
    RemoveDuplicates(list, [&](const ProjectorRecord& kept, const ProjectorRecord& removed) {
        seen.emplace_back(kept.imType, removed.imType);
    });
    EXPECT_EQ(seen, (std::vector<std::pair<int, int>>{{0, 21}, {21, 22}}));
    EXPECT_TRUE(RemoveDuplicates(list) == 0U && list.Size() == 1U);
}

TEST(RemoveDuplicates, EmptyListIsFine) {
    ProjectorList list;
    EXPECT_EQ(RemoveDuplicates(list), 0U);
}

// A flood of broadcast replies cannot push out what the user named: the projector greeted in
// another subnet (found last) and the address book's entry still to come keep their places.
TEST(MakeRoomFor, BroadcastRepliesFillOnlyWhatIsLeft) {
    const struct {
        std::size_t flood;
        std::size_t removed;
    } cases[] = {{5000, 5000 - 4094 + 1}, {4094, 1}, {10, 0}};
    for (const auto& c : cases) {
        ProjectorList list;
        list.Append(MakeFoundRecord("HALL-1F", "10.9.0.1", 21));  // a book entry already found
        for (std::size_t i = 0; i < c.flood; ++i) {
            list.Append(MakeFoundRecord("X", "10.1." + std::to_string(i / 250) + "." +
                                                 std::to_string(i % 250 + 1),
                                        21));
        }
        list.Append(MakeFoundRecord("ROOM-201", "172.16.5.9", 21));
        const std::vector<Octets> greeted = {{172, 16, 5, 9}};
        const std::vector<Octets> book = {{10, 9, 0, 1}, {10, 9, 0, 2}};
        EXPECT_EQ(MakeRoomFor(list, greeted, book, 4096), c.removed) << c.flood;
        EXPECT_LE(list.Size() + 1, 4096U);
        const auto rows = Rows(list);
        EXPECT_EQ(rows.front(), "10.9.0.1 HALL-1F 21");
        EXPECT_EQ(rows.back(), "172.16.5.9 ROOM-201 21");
    }
}

}  // namespace
}  // namespace lanterna
