// Which settings the write worker finds due, and which unread ones keep it from writing.

#include <gtest/gtest.h>

#include "record/CutState.h"
#include "workers/DueRules.h"
#include "workers/WriteGroups.h"

namespace lanterna {
namespace {

TEST(DueRules, WriteAllSendsWhatWasReadOtherwiseWhatWasChanged) {
    EXPECT_TRUE(IsDue(1, 1));
    EXPECT_FALSE(IsDue(1, 2));
    EXPECT_TRUE(IsDue(0, 2));
    EXPECT_FALSE(IsDue(0, 1));
    for (const std::int32_t writeAll : {0, 1, 5}) {
        EXPECT_FALSE(IsDue(writeAll, 0));
        EXPECT_FALSE(IsDue(writeAll, 3));
        EXPECT_FALSE(IsDue(writeAll, kStateCut));
    }
    EXPECT_TRUE(IsDue(5, 1));  // any nonzero writeAll
}

TEST(DueRules, GroupsNeedAllReadOrAnyChanged) {
    EXPECT_TRUE(IsGroupDue(1, {1, 1, 1}));
    EXPECT_FALSE(IsGroupDue(1, {1, 0, 1}));
    EXPECT_FALSE(IsGroupDue(1, {1, 2}));
    EXPECT_TRUE(IsGroupDue(0, {3, 2, 1}));
    EXPECT_FALSE(IsGroupDue(0, {1, 3, 0}));
    EXPECT_FALSE(IsGroupDue(1, {}));
    EXPECT_FALSE(IsGroupDue(0, {}));
}

// A command that must carry an unread setting keeps the whole write from sending anything.
TEST(DueRules, UnreadSettingsAreNeverCarriedByAWrite) {
    const auto record = [](auto change) {
        ProjectorRecord r{};
        r.dhcpState = r.ipAddressState = r.subnetMaskState = r.gatewayState = kStateRead;
        r.dns1State = r.dns2State = r.wins1State = r.wins2State = kStateRead;
        change(r);
        return r;
    };
    const struct {
        const char* what;
        ProjectorRecord record;
        std::string_view unread;
    } cases[] = {
        {"nothing changed", record([](ProjectorRecord&) {}), ""},
        {"a new name with an unread gateway", record([](ProjectorRecord& r) {
             r.projectorNameState = kStateChanged;
             r.gatewayState = kStateUnknown;
         }),
         "gateway"},
        {"a written file's name with DHCP unread", record([](ProjectorRecord& r) {
             r.writeAll = 1;
             r.dhcp = 1;
             r.projectorNameState = kStateRead;
             r.dhcpState = kStateUnknown;
         }),
         "dhcp"},
        {"a changed DNS server beside an unread one", record([](ProjectorRecord& r) {
             r.dns1State = kStateChanged;
             r.dns2State = kStateUnknown;
         }),
         "dns2"},
        {"an unread DNS pair under DHCP is never sent", record([](ProjectorRecord& r) {
             r.dhcp = 1;
             r.dns1State = kStateChanged;
             r.dns2State = kStateUnknown;
         }),
         ""},
        {"a changed address with an unread ESSID", record([](ProjectorRecord& r) {
             r.wirelessActive = 1;
             r.ipAddressState = kStateChanged;
         }),
         "essid"},
        {"a changed ad-hoc switch with an unread security code", record([](ProjectorRecord& r) {
             r.wirelessActive = 1;
             r.imType = kImTypeExtendedWireless;
             r.essidState = kStateRead;
             r.adhocState = kStateChanged;
         }),
         "security"},
        {"a changed address beside a key read cut", record([](ProjectorRecord& r) {
             r.wirelessActive = 1;
             r.essidState = r.wepEnabledState = r.adhocState = kStateRead;
             r.wepKeyState = kStateCut;
             r.ipAddressState = kStateChanged;
         }),
         "wepKey"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(UnreadSettingInWrite(c.record), c.unread) << c.what;
    }
}

}  // namespace
}  // namespace lanterna
