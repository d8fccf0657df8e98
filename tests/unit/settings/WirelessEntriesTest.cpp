// The wireless entry checks on values taken from a record (as the command line will use them),
// and the letter-case rule of wireless texts: a case-only change of an ESSID or of a character
// key is a change on the air, of a hex key it is not.
#include <gtest/gtest.h>

#include "platform/FixedText.h"
#include "settings/WirelessSecurityEntries.h"

namespace lanterna {
namespace {

ProjectorRecord Wireless() {
    ProjectorRecord r{};
    CopyText(r.essid, "Campus-WL");
    r.essidSet = 1;
    r.security = {1, 2, 0, 0};
    r.wepKeyId = 1;
    CopyText(r.wepKey1, "labwl1key0001");
    CopyText(r.wepKey2, "0a1b2c3d4e5f60718293a4b5c6");
    for (std::int32_t* state : {&r.essidState, &r.securityState, &r.wepKeyIdState, &r.wepKey1State,
                                &r.wepKey2State, &r.wepKey3State, &r.wepKey4State, &r.adhocState}) {
        *state = kStateRead;
    }
    return r;
}

TEST(WirelessEntries, RecordValuesAreJudgedAsTheDialogShowsThem) {
    ProjectorRecord record = Wireless();
    const auto verdict = [&record] {
        return CheckWirelessSecurityEntries(WirelessSecurityEntriesOf(record, false), record,
                                            false);
    };
    EXPECT_TRUE(verdict().Accepted());
    record.security = {1, 1, 0, 0};  // 64-bit: the stored 13-character key no longer fits
    EXPECT_EQ(verdict().field, EntryField::kWepKey1);
}

TEST(WirelessEntries, LetterCaseCountsForEssidsAndCharacterKeysOnly) {
    const struct {
        const char* essid;
        const char* key1;
        const char* key2;
        std::int32_t essidState;
        std::int32_t key1State;
        std::int32_t key2State;
    } cases[] = {
        {"Campus-WL", "labwl1key0001", "0a1b2c3d4e5f60718293a4b5c6", kStateUnchanged,
         kStateUnchanged, kStateUnchanged},
        {"CAMPUS-WL", "LABWL1KEY0001", "0A1B2C3D4E5F60718293A4B5C6", kStateChanged, kStateChanged,
         kStateUnchanged},
    };
    for (const auto& c : cases) {
        const ProjectorRecord reference = Wireless();
        ProjectorRecord record = reference;
        WirelessSecurityEntries entries = WirelessSecurityEntriesOf(record, false);
        entries.essid = c.essid;
        entries.wepKeys[0] = KeyEntry{c.key1};
        entries.wepKeys[1] = KeyEntry{c.key2};
        const WirelessSecuritySettings settings = WirelessSecuritySettingsOf(reference);
        ASSERT_TRUE(StoreWirelessSecurityEntries(entries, settings, settings, record).Accepted());
        EXPECT_EQ(record.essidState, c.essidState) << c.essid;
        EXPECT_EQ(TextOf(record.essid), c.essid);
        EXPECT_EQ(record.wepKey1State, c.key1State) << c.key1;
        EXPECT_EQ(TextOf(record.wepKey1), c.key1);
        EXPECT_EQ(record.wepKey2State, c.key2State) << c.key2;
        EXPECT_EQ(TextOf(record.wepKey2), "0a1b2c3d4e5f60718293a4b5c6")
            << "the record's text stays";
    }
}

// The ESSID rules judge what the user types: one read from the projector and left as it was
// goes back as read, whatever it holds; the same text typed anew is refused.
TEST(WirelessEntries, EssidLeftAsReadIsNotJudged) {
    const struct {
        const char* reported;
        bool read;
        const char* entered;
        bool accepted;
    } cases[] = {{"Lab Net", true, "Lab Net", true},
                 {"Lab Net", true, "Lab Net2", false},
                 {"Lab Net", false, "Lab Net", false}};
    for (const auto& c : cases) {
        ProjectorRecord record = Wireless();
        CopyText(record.essid, c.reported);
        record.essidState = c.read ? kStateRead : kStateUnknown;
        const WirelessSecuritySettings extended = WirelessSecuritySettingsOf(record);
        WirelessSecurityEntries entries = WirelessSecurityEntriesOf(record, false);
        entries.essid = c.entered;
        EXPECT_EQ(StoreWirelessSecurityEntries(entries, extended, extended, record).Accepted(),
                  c.accepted)
            << c.entered << c.read;
        const WirelessSettings basic = WirelessSettingsOf(record);
        WirelessEntries typed;
        typed.essid = c.entered;
        EXPECT_EQ(StoreWirelessEntries(typed, basic, basic, record).Accepted(), c.accepted)
            << "basic: " << c.entered << c.read;
    }
}

}  // namespace
}  // namespace lanterna
