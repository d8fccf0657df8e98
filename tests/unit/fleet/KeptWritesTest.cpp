// What history and undo take from the history: their TARGET word, the entries of both interfaces
// numbered newest first, the N of undo, and the change log's columns.
#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "fleet/KeptWrites.h"
#include "tests/support/files/TempFolder.h"

namespace lanterna::fleet {
namespace {

TEST(KeptWrites, TargetWordsAreAddressesOrHardwareAddresses) {
    const struct Case {
        const char* word;
        const char* address;  // null: not an address
        const char* mac;      // null: not a hardware address
    } cases[] = {
        {"10.1.2.10", "10.1.2.10", nullptr},
        // Twelve digits between three dots are still an address.
        {"192.168.100.200", "192.168.100.200", nullptr},
        {"02:00:0a:4e:01:01", nullptr, "02000A4E0101"},
        {"02000A4E0101", nullptr, "02000A4E0101"},
        {"02-00-0A-4E-01-01", nullptr, "02000A4E0101"},
        {"10.1.2.10-40", nullptr, nullptr},
        {"02:00:0a:4e:01", nullptr, nullptr},
        {"ROOM-201", nullptr, nullptr},
        {"", nullptr, nullptr},
    };
    const auto text = [](const char* value) {
        return value == nullptr ? std::nullopt : std::optional<std::string>(value);
    };
    for (const Case& c : cases) {
        const auto target = HistoryTargetOf(c.word);
        const auto* address = target ? std::get_if<AddressTarget>(&*target) : nullptr;
        const auto* mac = target ? std::get_if<HardwareTarget>(&*target) : nullptr;
        EXPECT_EQ(address ? std::optional(address->address) : std::nullopt, text(c.address))
            << c.word;
        EXPECT_EQ(mac ? std::optional(mac->mac) : std::nullopt, text(c.mac)) << c.word;
    }
}

TEST(KeptWrites, BothInterfacesEntriesAreNumberedNewestFirst) {
    test::TempFolder folder;
    const CHistory history(folder.Path());
    const auto keep = [&history](const char* mac, std::int64_t millis) {
        ProjectorRecord record{};
        CopyText(record.macAddress, mac);
        CopyText(record.projectorName, "LAB-WL1");
        record.projectorNameState = kStateRead;
        ASSERT_EQ(history.Keep(record, std::chrono::system_clock::time_point(
                                           std::chrono::milliseconds(millis))),
                  OutputStatus::kOk);
    };
    // Kept while wired, then while wireless, then wired again.
    keep("0200AABBCC01", 1765188000100);
    keep("0200AABBCC02", 1765188000200);
    keep("0200AABBCC01", 1765188000300);
    const auto kept =
        KeptWrites(history, {"0200aabbcc01", "", "02:00:AA:BB:CC:02", "0200AABBCC01"});
    ASSERT_EQ(kept.size(), 3U);
    const char* macs[] = {"0200AABBCC01", "0200AABBCC02", "0200AABBCC01"};
    const char* times[] = {"20251208T100000.300Z", "20251208T100000.200Z",
                           "20251208T100000.100Z"};
    for (std::size_t i = 0; i < kept.size(); ++i) {
        EXPECT_EQ(kept[i].number, static_cast<int>(i + 1));
        EXPECT_EQ(kept[i].mac, macs[i]);
        EXPECT_EQ(kept[i].entry.time, times[i]);
    }
    ProjectorRecord record{};
    ASSERT_TRUE(ReadHistoryEntry(kept[1].entry, record));
    EXPECT_EQ(TextOf(record.projectorName), "LAB-WL1");
    EXPECT_TRUE(KeptWrites(history, {"0200AABBCC03"}).empty());
}

TEST(KeptWrites, UndoTakesANumberFromOneToTheWritesKept) {
    const struct Case {
        std::optional<std::string_view> word;
        std::size_t count;
        std::optional<std::size_t> index;
    } cases[] = {
        {std::nullopt, 3, 0}, {"1", 3, 0}, {"3", 3, 2},
        {"4", 3, std::nullopt}, {"0", 3, std::nullopt}, {"-1", 3, std::nullopt},
        {"2x", 3, std::nullopt}, {"", 3, std::nullopt}, {" 2", 3, std::nullopt},
        {"99999999999999999999999", 3, std::nullopt}, {std::nullopt, 0, std::nullopt},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(UndoIndex(c.word, c.count), c.index) << c.word.value_or("(none)");
    }
}

TEST(KeptWrites, ChangeLogLinesAreTakenApartByTheirTabs) {
    const ChangeLine whole = ChangeLineOf(
        "20261208T100512.123Z\t10.1.2.10\tROOM-201\tNWCNAME avops1; NWSMTPSV 10.1.0.25\tset");
    EXPECT_EQ(whole.time, "20261208T100512.123Z");
    EXPECT_EQ(whole.address, "10.1.2.10");
    EXPECT_EQ(whole.name, "ROOM-201");
    EXPECT_EQ(whole.sent, (std::vector<std::string>{"NWCNAME avops1", "NWSMTPSV 10.1.0.25"}));
    EXPECT_EQ(whole.outcome, "set");
    // A line cut short keeps what it has.
    const ChangeLine cut = ChangeLineOf("20261208T100512.123Z\t10.1.2.10");
    EXPECT_EQ(cut.address, "10.1.2.10");
    EXPECT_TRUE(cut.sent.empty());
    EXPECT_EQ(cut.outcome, "");
}

}  // namespace
}  // namespace lanterna::fleet
