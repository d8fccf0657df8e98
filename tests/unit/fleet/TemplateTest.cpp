// Settings files used as templates: what a template takes into each projector and what it
// leaves as the projector has it, and why a file cannot be used, named by its key.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fleet/RecordFields.h"
#include "platform/ProfileDocument.h"

namespace lanterna::fleet {
namespace {

constexpr std::string_view kVersion = "[FILE]\nNM_INIVER=200\n";

// A basic wireless projector as read, preferring its wireless interface.
ProjectorRecord WirelessProjector() {
    ProjectorRecord r{};
    r.imType = 21;
    r.wirelessActive = 1;
    r.essidSet = 1;
    CopyText(r.essid, "PROJ-LAN");
    CopyText(r.projectorName, "LAB-WL1");
    CopyText(r.community, "public");
    r.primaryInterface = 1;
    r.ipAddress = {10, 1, 2, 31};
    for (std::int32_t* state : {&r.essidState, &r.projectorNameState, &r.communityState,
                                &r.primaryInterfaceState, &r.ipAddressState, &r.dhcpState}) {
        *state = kStateRead;
    }
    return r;
}

TEST(Templates, InterfaceSetUpGoesOnlyToProjectorsOfTheFilesKind) {
    using Left = std::vector<LeftAloneSetting>;
    constexpr auto kOwn = LeftAloneReason::kOwnIdentity;
    constexpr auto kOther = LeftAloneReason::kOtherInterface;
    const struct Case {
        const char* what;
        std::string keys;  // after the version key
        std::vector<std::string> changed;
        Left leftAlone;
    } cases[] = {
        {"saved from a wired projector", "[COMMON]\nNM_IMTYPE=21\nNM_PRIMIF=0\n",
         {"community"}, {{"primaryInterface", kOther}}},
        {"saved from a wireless one of the same type",
         "[COMMON]\nNM_IMTYPE=21\nNM_PRIMIF=0\n[WLAN]\nNM_ESSID=SITE-LAN\n",
         {"primaryInterface", "community", "essid"}, {}},
        {"saved from a type-22 wireless one", "[COMMON]\nNM_IMTYPE=22\n[WLAN]\nNM_ESSID=SITE-LAN\n",
         {"community"}, {{"essid", kOther}}},
        {"written by hand, no module type", "[WLAN]\nNM_ESSID=SITE-LAN\nNM_ADHOC=1\n",
         {"community"}, {{"essid", kOther}, {"adhoc", kOther}}},
        {"name and addresses", "[COMMON]\nNM_PROJECTORNAME=HALL-1F\n[NETWORK]\nNM_IP=10.1.2.9\n",
         {"community"}, {{"projectorName", kOwn}, {"ipAddress", kOwn}}},
    };
    for (const Case& c : cases) {
        const ProfileDocument document(std::string(kVersion) + c.keys +
                                       "[SNMP]\nNM_COMMUNITY=site\n");
        ProjectorRecord file{};
        ASSERT_FALSE(ReadCheckedSettings(document, file)) << c.what;
        ProjectorRecord record = WirelessProjector();
        const TemplateMerge merge = MergeTemplate(file, record);
        EXPECT_EQ(merge.changed, c.changed) << c.what;
        EXPECT_EQ(merge.leftAlone, c.leftAlone) << c.what;
        EXPECT_EQ(TextOf(record.projectorName), "LAB-WL1") << c.what;
        EXPECT_EQ(record.wirelessActive, 1) << c.what;
    }
}

TEST(Templates, AFileThatCannotBeUsedNamesItsKey) {
    const struct Case {
        std::string content;
        std::string problem;  // empty: usable
    } cases[] = {
        {std::string(kVersion) + "[SNMP]\nNM_COMMUNITY=lab\n", ""},
        {"[SNMP]\nNM_COMMUNITY=lab\n",
         "[FILE] NM_INIVER is missing: the file does not say which key set it uses"},
        {"[SNMP]\nCOMMUNITY=lab\n", ""},  // the older key set
        // Saved over a file of the older key set: its keys stay and are passed over.
        {std::string(kVersion) + "[COMMON]\nMACADDR=0000480A1B2C\n[SNMP]\nNM_COMMUNITY=lab\n"
                                 "COMMUNITY=old\n",
         ""},
        {std::string(kVersion) + "[SNMP]\nNM_TRAP1=300.1.1.1\nNM_COMMUNITY=lab\n",
         "[SNMP] NM_TRAP1=300.1.1.1: four numbers from 0 to 255 joined by points"},
        {std::string(kVersion) + "[SNMP]\nNM_COMUNITY=lab\n",
         "[SNMP] NM_COMUNITY: not a key of a settings file"},
        {std::string(kVersion) + "[SMTP]\nNM_SMTPPORT\n",
         "[SMTP] NM_SMTPPORT: the line has no '=' and no value"},
        {std::string(kVersion), "it holds no setting"},
    };
    for (const Case& c : cases) {
        ProjectorRecord file{};
        const SettingsFileProblem problem = ReadCheckedSettings(ProfileDocument(c.content), file);
        EXPECT_EQ(SettingsFileProblemText(problem, Language::English), c.problem) << c.content;
    }
}

TEST(Templates, AnOlderKeySetTemplateNamesTheKeysItApplies) {
    ProjectorRecord file{};
    ASSERT_FALSE(ReadCheckedSettings(
        ProfileDocument("[COMMON]\nPROJECTORNAME=HALL-1F\n[SNMP]\nTRAP1=10.1.2.3\n"
                        "COMMUNITY=site\n[WLAN]\nESSID=SITE-LAN\n"),
        file));
    EXPECT_EQ(OlderTemplateKeys(file), (std::vector<std::string>{"TRAP1", "COMMUNITY"}));
    ProjectorRecord current{};
    ASSERT_FALSE(
        ReadCheckedSettings(ProfileDocument(std::string(kVersion) + "[SNMP]\nNM_COMMUNITY=a\n"),
                            current));
    EXPECT_FALSE(OlderTemplateKeys(current));
}

}  // namespace
}  // namespace lanterna::fleet
