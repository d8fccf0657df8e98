// A provisioning list read from CSV and its rows matched to projectors read, as tables.

#include <gtest/gtest.h>

#include "fleet/CsvRows.h"
#include "fleet/InventoryRows.h"
#include "fleet/Provision.h"
#include "record/DottedAddress.h"

namespace lanterna::fleet {
namespace {

using Kind = ProvisionProblemKind;

SiteReading Reading(const std::string& address, const std::string& wired,
                    const std::string& wireless) {
    SiteReading reading;
    reading.target.address = address;
    reading.record = ProjectorRecord{};
    reading.wiredMac = wired;
    reading.wirelessMac = wireless;
    return reading;
}

TEST(ProvisionList, ColumnsRowsAndTheirProblems) {
    struct Case {
        std::string_view text;
        std::size_t rows;
        std::vector<ProvisionProblem> problems;
        bool usable;
    };
    const Case cases[] = {
        {"hardwareAddress,projectorName\n02:00:0a:4e:01:01,ROOM-1\n", 1, {}, true},
        // The formula guard comes off; an empty cell is no assignment.
        {"address,projectorName,community\n10.0.0.1,'=ROOM,\n", 1, {}, true},
        // A site's own spreadsheet: its aliases taken, its other columns left out.
        {"Room,MAC,name,Ip Address,Notes\nA1,02:00:0a:4e:01:01,ROOM-1,10.0.0.9,new\n", 1, {}, true},
        {"address,projectorName\n\"10.0.0.1,x\n", 0, {{2, Kind::kBadFile, "", 0}}, false},
        {"hardwareAddress,address,projectorName\n,,ROOM-1\n", 0, {{2, Kind::kNoKey, "", 0}}, true},
        {"hardwareAddress\n02:00:0A\n", 0, {{2, Kind::kBadHardwareAddress, "02:00:0A", 0}}, true},
        // The same projector twice, written two ways.
        {"hardwareAddress\n02:00:0A:4E:01:01\n02000a4e0101\n", 1,
         {{3, Kind::kDuplicateRow, "", 2}}, true},
        // Addresses compare as addresses: 10.0.9.09 is 10.0.9.9.
        {"address,ipAddress\n10.0.0.1,10.0.9.9\n10.0.0.2,10.0.9.09\n", 1,
         {{3, Kind::kDuplicateAddress, "10.0.9.9", 2}}, true},
        {"", 0, {}, true},
    };
    for (const Case& c : cases) {
        const ProvisionList list = ParseProvisionList(c.text);
        EXPECT_EQ(list.rows.size(), c.rows) << c.text;
        EXPECT_EQ(list.problems, c.problems) << c.text;
        EXPECT_EQ(list.Usable(), c.usable) << c.text;
    }
    const ProvisionList site = ParseProvisionList(
        "Room,MAC,name,IP,comunity\nA1,02:00:0a:4e:01:01,"
        "ROOM-1,10.0.0.9,x\n");
    EXPECT_EQ(site.ignoredColumns, (std::vector<std::string>{"Room", "comunity"}));
    ASSERT_EQ(site.rows.size(), 1U);
    EXPECT_EQ(site.rows[0].mac, "02000A4E0101");
    std::vector<std::string> given;
    for (const FieldAssignment& assignment : site.rows[0].assignments) {
        given.push_back(assignment.field + "=" + assignment.value);
    }
    EXPECT_EQ(given, (std::vector<std::string>{"projectorName=ROOM-1", "ipAddress=10.0.0.9"}));

    const ProvisionList guarded = ParseProvisionList(
        "address,projectorName,community\n"
        "10.0.0.1,'=ROOM,\n");
    ASSERT_EQ(guarded.rows.size(), 1U);
    ASSERT_EQ(guarded.rows[0].assignments.size(), 1U);
    EXPECT_EQ(guarded.rows[0].assignments[0].field, "projectorName");
    EXPECT_EQ(guarded.rows[0].assignments[0].value, "=ROOM");
}

TEST(ProvisionList, RowsFindTheirProjectorByEitherInterfaceOrByAddress) {
    std::vector<SiteReading> readings = {
        Reading("10.0.0.1", "020000000001", "020000000101"),
        Reading("10.0.0.2", "020000000002", ""),
        Reading("10.0.0.3", "020000000003", ""),
    };
    readings[2].record.reset();  // it could not be read
    const ProvisionList list = ParseProvisionList(
        "hardwareAddress,address,projectorName\n"
        "02:00:00:00:01:01,,LAB-WL1\n"  // the wireless interface of .1
        ",10.0.0.2,ROOM-2\n"
        "02:00:00:00:00:03,,ROOM-3\n"  // not read
        "02:00:00:00:00:09,,ROOM-9\n"  // nowhere
        "02:00:00:00:00:02,,HALL-1F\n"  // .2 again, by its hardware address
        "02:00:00:00:00:01,10.0.0.2,ROOM-1\n");  // a hardware address wins over the address
    std::vector<ProvisionProblem> problems;
    const std::vector<ProvisionMatch> matches = MatchProvisionRows(list, readings, problems);
    ASSERT_EQ(matches.size(), 2U);
    EXPECT_EQ(matches[0].reading, 0U);
    EXPECT_EQ(matches[1].reading, 1U);
    EXPECT_EQ(problems, (std::vector<ProvisionProblem>{
                            {4, Kind::kNotFound, "020000000003", 0},
                            {5, Kind::kNotFound, "020000000009", 0},
                            {6, Kind::kDuplicateRow, "", 3},
                            {7, Kind::kDuplicateRow, "", 2},
                        }));
}

TEST(ProvisionList, AMistypedColumnSuggestsTheNearestField) {
    struct Case {
        std::string_view typed;
        std::optional<std::string_view> meant;
    };
    const Case cases[] = {
        {"comunity", "community"},  {"ProjectorName", "projectorName"}, {"ipadres", "ipAddress"},
        {"dns3", "dns1"},           {"location", std::nullopt},         {"", std::nullopt},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(NearestRecordField(c.typed), c.meant) << c.typed;
    }
}

// What inventory --settable writes reads back as a list that changes nothing, escapes
// included: a right-to-left override, a backslash and a control byte never stand raw in the file;
// the row of a projector that was not read gives nothing at all.
TEST(ProvisionList, ASettableRowAppliedToItsOwnRecordChangesNothing) {
    ProjectorRecord record{};
    CopyText(record.projectorName, "ROOM\xe2\x80\xae" "1\\\x07");
    CopyText(record.macAddress, "02000A4E0101");
    ScanDottedInto("10.1.2.3", record.ipAddress);
    ScanDottedInto("255.255.0.0", record.subnetMask);
    CopyText(record.community, "site1");
    record.mailEvents1 = 3;
    record.smtpPort = 25;
    record.projectorNameState = record.ipAddressState = record.subnetMaskState = kStateRead;
    record.communityState = record.mailEvents1State = record.smtpPortState = kStateRead;
    const std::string text = CsvLine(SettableColumns()) + CsvLine(SettableRow("10.1.2.3", record)) +
                             CsvLine(SettableRowNotRead("10.1.2.4", Outcome::kNeedsPassword));
    EXPECT_NE(text.find("ROOM\\u202e1\\\\\\x07"), std::string::npos) << text;
    EXPECT_NE(text.find(",10.1.2.4,,"), std::string::npos) << text;
    EXPECT_TRUE(text.ends_with(",needs a password\n")) << text;
    const ProvisionList list = ParseProvisionList(text);
    ASSERT_TRUE(list.problems.empty()) << text;
    ASSERT_EQ(list.rows.size(), 2U);
    EXPECT_EQ(list.rows[1].address, "10.1.2.4");
    EXPECT_TRUE(list.rows[1].assignments.empty());
    EXPECT_EQ(list.rows[0].mac, "02000A4E0101");
    EXPECT_EQ(list.rows[0].assignments.size(), 6U) << text;  // only the settings read
    ProjectorRecord applied = record;
    const ApplyOutcome outcome = ApplyAssignments(list.rows[0].assignments, applied);
    EXPECT_TRUE(outcome.ok) << outcome.field << "=" << outcome.value;
    EXPECT_TRUE(outcome.changed.empty());
}

}  // namespace
}  // namespace lanterna::fleet
