// The network entry checks on values taken from a record (as the command line uses them), and
// storing against the reference, which puts the reference's value back for an equal entry.
#include <gtest/gtest.h>

#include "platform/FixedText.h"
#include "record/ProjectorList.h"
#include "settings/NetworkEntries.h"

namespace lanterna {
namespace {

ProjectorRecord Read() {
    ProjectorRecord r{};
    CopyText(r.projectorName, "ROOM-201");
    r.ipAddress = {192, 168, 10, 21};
    r.subnetMask = {255, 255, 255, 0};
    r.gateway = {192, 168, 10, 1};
    r.dns1 = {192, 168, 10, 5};
    r.dhcpState = r.projectorNameState = r.ipAddressState = r.subnetMaskState = kStateRead;
    r.gatewayState = r.dns1State = r.dns2State = kStateRead;
    return r;
}

TEST(NetworkEntries, RecordValuesAreJudgedAsTheDialogShowsThem) {
    ProjectorList list;
    list.Append(Read());
    ProjectorRecord record = Read();
    record.ipAddress = {192, 168, 10, 99};
    list.Append(record);
    NetworkEntryScope scope = ScopeOf(Read());
    scope.uniqueAmong = &list;
    scope.skipIndex = 0;
    EXPECT_TRUE(CheckNetworkEntries(EntriesOf(Read()), scope).Accepted());
    EXPECT_EQ(CheckNetworkEntries(EntriesOf(record), scope).stringId, 129) << "not unique";
    record = Read();
    record.ipAddress = {};  // shown blank
    EXPECT_EQ(CheckNetworkEntries(EntriesOf(record), scope).field, EntryField::kIpAddress);
    record = Read();
    record.dns2 = {127, 0, 0, 1};
    EXPECT_EQ(CheckNetworkEntries(EntriesOf(record), scope).stringId, 142);
    record.dns2State = kStateUnknown;  // never reported: not judged
    EXPECT_TRUE(CheckNetworkEntries(EntriesOf(record), ScopeOf(record)).Accepted());
    record.dhcp = 1;
    record.gateway = {10, 0, 0, 1};  // DHCP on: addresses not judged
    EXPECT_TRUE(CheckNetworkEntries(EntriesOf(record), ScopeOf(record)).Accepted());
}

// A Save stores entries without states; an OK whose entries equal the reference again must
// not leave those saved values behind under state 3.
TEST(NetworkEntries, EntryEqualToTheReferenceTakesTheReferencesValue) {
    const ProjectorRecord reference = Read();
    ProjectorRecord record = reference;
    CopyText(record.projectorName, "LAB-WL1");
    record.gateway = {192, 168, 10, 254};
    NetworkEntries entries = EntriesOf(reference);
    entries.name = "room-201";
    entries.dns1 = EntryOfAddress({192, 168, 10, 7});
    StoreNetworkEntries(entries, ScopeOf(reference), EntryStore::kAgainstReference, reference,
                        record);
    EXPECT_EQ(TextOf(record.projectorName), "ROOM-201");
    EXPECT_EQ(record.projectorNameState, kStateUnchanged);
    EXPECT_EQ(record.gateway, reference.gateway);
    EXPECT_EQ(record.gatewayState, kStateUnchanged);
    EXPECT_EQ(record.dns1, (Octets{192, 168, 10, 7}));
    EXPECT_EQ(record.dns1State, kStateChanged);
}

}  // namespace
}  // namespace lanterna
