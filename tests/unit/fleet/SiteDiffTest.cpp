// Two sets of settings compared, and the sides of a comparison paired, as tables.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "fleet/SiteDiff.h"
#include "settings/SettingsFile.h"
#include "platform/ProfileDocument.h"
#include "record/DottedAddress.h"

namespace lanterna::fleet {
namespace {

ProjectorRecord Wired(const std::string& name, const std::string& community) {
    ProjectorRecord record{};
    CopyText(record.projectorName, name);
    CopyText(record.community, community);
    ScanDottedInto("10.1.2.3", record.ipAddress);
    record.projectorNameState = record.communityState = record.ipAddressState = kStateRead;
    return record;
}

TEST(SiteDiff, SettingsOfBothSidesAreCompared) {
    ProjectorRecord lessRead = Wired("ROOM-1", "site1");
    lessRead.communityState = kStateUnknown;  // not reported
    ProjectorRecord wireless = Wired("ROOM-1", "site1");
    wireless.wirelessActive = 1;
    CopyText(wireless.essid, "PROJ-LAN");
    wireless.essidState = kStateRead;
    ProjectorRecord otherAddress = Wired("ROOM-1", "site1");
    ScanDottedInto("10.1.2.4", otherAddress.ipAddress);
    struct Case {
        ProjectorRecord here;
        ProjectorRecord there;
        std::vector<SettingDifference> differences;
    };
    const Case cases[] = {
        {Wired("ROOM-1", "site1"), Wired("ROOM-1", "site1"), {}},
        {Wired("ROOM-1", "legacy1"), Wired("ROOM-1", "avops1"),
         {{"community", "legacy1", "avops1"}}},
        {Wired("ROOM-1", "legacy1"), lessRead, {{"community", "legacy1", "", false, true}}},
        {lessRead, Wired("ROOM-1", "legacy1"), {}},
        // The ESSID of a wired projector is no setting of it.
        {Wired("ROOM-1", "site1"), wireless, {}},
        {Wired("room-1", "site1"), otherAddress,
         {{"projectorName", "room-1", "ROOM-1"}, {"ipAddress", "10.1.2.3", "10.1.2.4"}}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(DiffSettings(c.here, c.there), c.differences);
    }
    // Restoring a file sends every setting it holds, and nothing it does not.
    const auto assignments = RestoringAssignments(lessRead);
    ASSERT_EQ(assignments.size(), 2U);
    EXPECT_EQ(assignments[0].field, "projectorName");
    EXPECT_EQ(assignments[1].field, "ipAddress");
}

TEST(SiteDiff, AgainstATemplateOnlyWhatItWouldWriteIsCompared) {
    ProjectorRecord mailUnread = Wired("ROOM-2", "site1");
    struct Case {
        const char* what;
        std::string keys;  // of the template, after its version key
        ProjectorRecord projector;
        std::vector<SettingDifference> differences;
    };
    const Case cases[] = {
        {"the same", "[SNMP]\nNM_COMMUNITY=site1\n", Wired("ROOM-1", "site1"), {}},
        {"another community", "[SNMP]\nNM_COMMUNITY=site1\n", Wired("ROOM-1", "legacy1"),
         {{"community", "legacy1", "site1"}}},
        // The name and the addresses are each projector's own: never drift from a template.
        {"its own name and address",
         "[COMMON]\nNM_PROJECTORNAME=TEMPLATE\n[NETWORK]\nNM_IP=10.9.9.9\n"
         "[SNMP]\nNM_COMMUNITY=site1\n",
         Wired("ROOM-1", "site1"), {}},
        // A wireless set-up saved from a projector of no known kind is not written to this one.
        {"an interface set-up of another kind", "[WLAN]\nNM_ESSID=SITE-LAN\n",
         Wired("ROOM-1", "site1"), {}},
        {"a setting never read", "[SMTP]\nNM_SMTPSERVER=10.1.0.25\n", mailUnread,
         {{"smtpServer", "", "10.1.0.25", true}}},
    };
    for (const Case& c : cases) {
        const ProfileDocument document("[FILE]\nNM_INIVER=200\n" + c.keys);
        ProjectorRecord file{};
        ASSERT_FALSE(ReadCheckedSettings(document, file)) << c.what;
        EXPECT_EQ(DiffTemplate(c.projector, file), c.differences) << c.what;
    }
}

TEST(SiteDiff, SidesArePairedByAnyHardwareAddressTheyShare) {
    const auto source = [](std::string wired, std::string wireless) {
        SettingsSource s;
        s.wiredMac = std::move(wired);
        s.wirelessMac = std::move(wireless);
        return s;
    };
    const std::vector<SettingsSource> here = {source("A1", "A2"), source("B1", ""),
                                              source("C1", "")};
    const std::vector<SettingsSource> there = {source("", "B1"), source("A2", ""),
                                               source("D1", "")};
    const std::vector<SourcePair> pairs = PairSources(here, there);
    ASSERT_EQ(pairs.size(), 4U);
    EXPECT_EQ(pairs[0].here, 0U);
    EXPECT_EQ(pairs[0].there, 1U);
    EXPECT_EQ(pairs[1].here, 1U);
    EXPECT_EQ(pairs[1].there, 0U);
    EXPECT_EQ(pairs[2].here, 2U);
    EXPECT_FALSE(pairs[2].there);
    EXPECT_FALSE(pairs[3].here);
    EXPECT_EQ(pairs[3].there, 2U);
    // One on each side is a pair whatever its addresses (a file against a projector).
    const std::vector<SourcePair> one = PairSources({source("A1", "")}, {source("D1", "")});
    ASSERT_EQ(one.size(), 1U);
    EXPECT_EQ(one[0].here, 0U);
    EXPECT_EQ(one[0].there, 0U);
}

// A backup's file is known by its own hardware address; an index (a spreadsheet someone may have
// sorted) that names another for it is told, never taken.
TEST(SiteDiff, ABackupFileKeepsItsOwnIdentityAgainstItsIndex) {
    const std::filesystem::path folder = ::testing::TempDir() + "site-diff-index";
    std::filesystem::create_directories(folder);
    for (const auto& [name, mac] : {std::pair{"a.ini", "02000A000001"}, {"b.ini", "02000A000002"}}) {
        ProjectorRecord record = Wired(name, "public");
        CopyText(record.macAddress, mac);
        ASSERT_EQ(WriteSettingsFile(record, (folder / name).string()), 1);
    }
    std::ofstream(folder / "index.csv")
        << "file,name,wiredHardwareAddress,wirelessHardwareAddress\n"
           "a.ini,A,02:00:0A:00:00:01,02:00:0A:00:00:11\n"
           "b.ini,B,02:00:0A:00:00:03,\n";
    const SourceLoad load = LoadSettingsSources(folder.string());
    std::filesystem::remove_all(folder);
    ASSERT_EQ(load.sources.size(), 2U);
    EXPECT_EQ(load.sources[0].wiredMac, "02000A000001");
    EXPECT_EQ(load.sources[0].wirelessMac, "02000A000011");
    EXPECT_EQ(load.sources[0].indexMac, "");
    EXPECT_EQ(load.sources[1].wiredMac, "02000A000002");
    EXPECT_EQ(load.sources[1].indexMac, "02000A000003");
}

}  // namespace
}  // namespace lanterna::fleet
