#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "discovery/FoundRecord.h"
#include "discovery/PjlinkSide.h"

namespace lanterna {
namespace {

ProjectorRecord Found(const char* name, const char* address, std::uint8_t foundBy,
                      const char* moduleMac = "", const char* pjlinkMac = "") {
    ProjectorRecord record = MakeFoundRecord(name, address, foundBy == kFinderPjlink ? 0 : 21);
    record.foundBy = foundBy;
    CopyText(record.macAddress, moduleMac);
    CopyText(record.pjlinkMacAddress, pjlinkMac);
    return record;
}

// An answer is the record's PJLink side by the module's hardware address where a read told it,
// wherever the answer came from; by address only while the module's is unknown.
TEST(PjlinkSide, AnswersJoinByTheModulesHardwareAddressElseByAddress) {
    struct Case {
        const char* moduleMac;
        const char* answerAddress;
        const char* answerMac;
        bool joins;
        const char* pjlinkAddress;  // as kept after joining
    };
    const Case cases[] = {
        {"", "10.0.0.5", "02:00:0A:00:00:05", true, "10.0.0.5"},
        {"", "10.0.0.6", "02:00:0A:00:00:05", false, ""},
        {"02000a000005", "10.0.9.9", "02:00:0A:00:00:05", true, "10.0.9.9"},
        {"02-00-0A-00-00-05", "10.0.0.5", "02:00:0A:00:00:05", true, "10.0.0.5"},
        {"02000A000005", "10.0.0.5", "02:00:0A:00:00:99", false, ""},
    };
    for (const Case& c : cases) {
        ProjectorRecord record = Found("HALL-1F", "10.0.0.5", kFinderHello, c.moduleMac);
        const pjlink::SearchAnswer answer{c.answerAddress, c.answerMac};
        ASSERT_EQ(IsPjlinkSideOf(record, answer), c.joins) << c.moduleMac << " " << c.answerAddress;
        if (c.joins) {
            JoinPjlinkSide(record, answer);
            EXPECT_EQ(record.foundBy, kFinderHello | kFinderPjlink);
            EXPECT_EQ(TextOf(record.pjlinkMacAddress), c.answerMac);
            EXPECT_EQ(PjlinkAddressOf(record), c.pjlinkAddress);
            EXPECT_EQ(TextOf(record.address), "10.0.0.5") << "the module is still asked there";
        }
    }
}

// Once a read tells the module's hardware address, the row only PJLink found with that
// hardware address is the same projector: it joins the read one and goes.
TEST(PjlinkSide, AReadJoinsTheRowOnlyPjlinkFoundForTheSameProjector) {
    ProjectorList list;
    list.Append(Found("HALL-1F", "10.0.0.5", kFinderHello, "02000A000005"));
    list.Append(Found("", "10.0.8.5", kFinderPjlink, "", "02:00:0A:00:00:05"));
    list.Append(Found("", "10.0.8.6", kFinderPjlink, "", "02:00:0A:00:00:06"));
    list.Append(Found("ROOM-201", "10.0.0.7", kFinderHello, "", "02:00:0A:00:00:05"));
    ProjectorRecord& read = *list.At(0);
    std::vector<std::string> removed;
    EXPECT_EQ(JoinPjlinkTwins(list, read, TextOf(read.macAddress),
                              [&](const ProjectorRecord& twin) {
                                  removed.emplace_back(TextOf(twin.address));
                              }),
              1U);
    EXPECT_EQ(removed, std::vector<std::string>{"10.0.8.5"})
        << "another projector's PJLink row and a module's row stay";
    EXPECT_EQ(list.Size(), 3U);
    EXPECT_EQ(read.foundBy, kFinderHello | kFinderPjlink);
    EXPECT_EQ(PjlinkAddressOf(read), "10.0.8.5");

    ProjectorRecord unread = Found("LAB-1", "10.0.0.9", kFinderHello);
    EXPECT_EQ(JoinPjlinkTwins(list, unread, TextOf(unread.macAddress)), 0U) << "no hardware address read: nothing joins";
}

}  // namespace
}  // namespace lanterna
