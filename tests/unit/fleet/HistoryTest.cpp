// The history kept before writes: entries named by time and number, the newest kept, newest
// first, and a setting that was never read left out of the entry.
#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "fleet/History.h"
#include "tests/support/files/TempFolder.h"

namespace lanterna::fleet {
namespace {

TEST(History, KeepsTheNewestEntriesAndOnlyWhatWasRead) {
    test::TempFolder folder;
    const CHistory history(folder.Path());
    ProjectorRecord record{};
    CopyText(record.macAddress, "0200aabbcc01");
    CopyText(record.projectorName, "ROOM-201");
    record.projectorNameState = kStateRead;
    CopyText(record.community, "made-up");  // never read: state 0
    const auto start = std::chrono::system_clock::time_point(std::chrono::milliseconds(1765188000123));
    for (std::size_t n = 0; n < kHistoryEntriesKept + 2; ++n) {
        // Two entries share each millisecond.
        ASSERT_EQ(history.Keep(record, start + std::chrono::milliseconds(n / 2)), OutputStatus::kOk);
    }
    const auto entries = history.Entries("0200AABBCC01");
    ASSERT_EQ(entries.size(), kHistoryEntriesKept);
    EXPECT_EQ(entries.front().time, "20251208T100000.148Z");
    EXPECT_EQ(entries.front().number, 2);
    EXPECT_EQ(entries.back().time, "20251208T100000.124Z");
    EXPECT_EQ(entries.back().number, 1);
    EXPECT_EQ(entries.front().path,
              folder.Path() + "/0200AABBCC01/20251208T100000.148Z-2.ini");

    ProjectorRecord kept{};
    ASSERT_TRUE(history.ReadEntry("0200aabbcc01", 0, kept));
    EXPECT_EQ(TextOf(kept.projectorName), "ROOM-201");
    EXPECT_EQ(kept.communityState, kStateUnknown);
    EXPECT_EQ(test::ReadFile(entries.front().path).value_or("COMMUNITY").find("COMMUNITY"),
              std::string::npos);

    // A projector without a usable hardware address has no folder to keep it in.
    CopyText(record.macAddress, "../../etc");
    EXPECT_EQ(history.Keep(record, start), OutputStatus::kNotWritable);
}

}  // namespace
}  // namespace lanterna::fleet
