#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

#include "platform/ProfileFile.h"
#include "record/CutState.h"
#include "settings/SettingsFile.h"
#include "settings/SettingsFileCheck.h"
#include "tests/support/files/TempFolder.h"

namespace lanterna {
namespace {

using test::ReadFile;
using test::TempFolder;
using test::WriteFile;

struct Loaded {
    int result = -1;
    ProjectorRecord record;
};

Loaded Load(const std::string& content) {
    Loaded loaded;
    loaded.result = ReadSettingsDocument(loaded.record, ProfileDocument(content));
    return loaded;
}

const std::string kCurrent = "[FILE]\r\nNM_INIVER=200\r\n";

// A wired projector with mail on and a basic wireless module, as the dialog leaves it.
ProjectorRecord SampleRecord() {
    ProjectorRecord r;
    CopyText(r.projectorName, "ROOM-1");
    CopyText(r.macAddress, "0000480A1B2C");
    r.imType = 30;
    r.primaryInterfaceState = kStateChanged;
    r.primaryInterface = 0;
    r.ipAddress = {192, 168, 1, 5};
    r.subnetMask = {255, 255, 255, 0};
    r.gateway = {192, 168, 1, 1};
    r.dns1State = kStateRead;
    r.dns1 = {192, 168, 1, 2};
    r.dnsDomainState = kStateUnchanged;
    CopyText(r.dnsDomain, "example.local");
    r.wins2State = kStateRead;
    r.wins2 = {192, 168, 1, 3};
    r.mailNotify = 1;
    r.smtpServer = {192, 168, 1, 4};
    r.smtpPort = 25;
    CopyText(r.mailTo1, "a@b");
    r.mailEvents1 = (1U << 0) | (1U << 10);
    r.mailEvents3 = 0x7FF;
    r.trapAddress1 = {192, 168, 1, 9};
    CopyText(r.community, "public");
    r.wirelessActive = 1;
    r.essidSet = 1;
    CopyText(r.essid, "LAB");
    r.wepEnabled = 1;
    CopyText(r.wepKey, "0123456789");
    return r;
}

const char* const kSampleFile =
    "[COMMON]\r\nNM_PROJECTORNAME=ROOM-1\r\nNM_MACADDR=0000480A1B2C\r\nNM_IMTYPE=30\r\n"
    "NM_PRIMIF=0\r\n"
    "[FILE]\r\nNM_INIVER=200\r\n"
    "[NETWORK]\r\nNM_DHCP=0\r\nNM_IP=192.168.1.5\r\nNM_SUBNET=255.255.255.0\r\n"
    "NM_GATEWAY=192.168.1.1\r\nNM_DNS1=192.168.1.2\r\nNM_DNSDOMAIN=example.local\r\n"
    "NM_WINS2=192.168.1.3\r\n"
    "[SMTP]\r\nNM_SMTPALART=1\r\nNM_SMTPSERVER=192.168.1.4\r\nNM_SMTPPORT=25\r\nNM_TO1=a@b\r\n"
    "NM_TO2=\r\nNM_TO3=\r\nNM_TO1EVENT=1025\r\nNM_TO2EVENT=0\r\nNM_TO3EVENT=2047\r\n"
    "[SNMP]\r\nNM_TRAP1=192.168.1.9\r\nNM_TRAP2=0.0.0.0\r\nNM_COMMUNITY=public\r\n"
    "[WLAN]\r\nNM_ESSID=LAB\r\nNM_WEP=1\r\nNM_WEPKEY=0123456789\r\nNM_ADHOC=0\r\n";

FileSeam FreeSpace(std::optional<std::uint64_t> bytes) {
    FileSeam seam = RealFileSeam();
    seam.freeBytes = [bytes](const std::string&) { return bytes; };
    return seam;
}

// ---- choosing the key set ----------------------------------------------------------------------

TEST(SettingsFileRead, VersionDefaultEmptyOrMissingSelectsTheOlderKeySet) {
    for (const std::string version : {"NM_INIVER=DEFAULT\r\n", "NM_INIVER=\r\n", ""}) {
        const Loaded loaded = Load("[FILE]\r\n" + version +
                                   "[COMMON]\r\nNM_PROJECTORNAME=NEW\r\nPROJECTORNAME=OLD\r\n"
                                   "[NETWORK]\r\nNM_DHCP=1\r\n");
        EXPECT_EQ(loaded.result, 1) << version;
        EXPECT_EQ(TextOf(loaded.record.projectorName), "OLD");
        EXPECT_EQ(loaded.record.dhcpState, kStateUnknown);
        EXPECT_TRUE(IsEmptyText(loaded.record.iniVersion));
        EXPECT_EQ(loaded.record.writeAll, 1);
    }
}

TEST(SettingsFileRead, AnyOtherVersionSelectsTheCurrentKeySetAndIsKeptCut) {
    const Loaded loaded =
        Load("[FILE]\r\nNM_INIVER=300.12345\r\n[COMMON]\r\nNM_PROJECTORNAME=NEW\r\n");
    EXPECT_EQ(loaded.result, 1);
    EXPECT_EQ(TextOf(loaded.record.projectorName), "NEW");
    EXPECT_EQ(TextOf(loaded.record.iniVersion), "300.12");
}

// ---- reading rules -----------------------------------------------------------------------------

TEST(SettingsFileRead, DefaultTextCountsAsMissing) {
    const Loaded loaded =
        Load(kCurrent +
             "[COMMON]\r\nNM_PROJECTORNAME=DEFAULT\r\n[NETWORK]\r\nNM_IP=DEFAULT\r\n"
             "[SMTP]\r\nNM_TO1=DEFAULT\r\n");
    EXPECT_EQ(loaded.result, 0);
    EXPECT_EQ(loaded.record.projectorNameState, kStateUnknown);
    EXPECT_EQ(loaded.record.ipAddressState, kStateUnknown);
    EXPECT_EQ(loaded.record.mailTo1State, kStateUnknown);
}

TEST(SettingsFileRead, NumberMinusOneIsMissing) {
    const Loaded loaded = Load(kCurrent + "[NETWORK]\r\nNM_DHCP=-1\r\n");
    EXPECT_EQ(loaded.result, 0);
    EXPECT_EQ(loaded.record.dhcpState, kStateUnknown);
}

// A value is taken only in exactly its key's form; anything else refuses the whole file, naming
// the key, the value and the rule. Nothing is cut, wrapped round or read as its leading digits.
TEST(SettingsFileRead, EveryValueIsTakenOnlyInItsExactForm) {
    const struct {
        std::string lines;   // after the version, or a whole file of the older key set
        std::string refusal;  // empty: taken
    } cases[] = {
        {"[NETWORK]\r\nNM_DHCP=2", "[NETWORK] NM_DHCP=2: 0 or 1"},
        {"[NETWORK]\r\nNM_DHCP=ON", "[NETWORK] NM_DHCP=ON: 0 or 1"},
        {"[NETWORK]\r\nNM_DHCP=1", ""},
        {"[SMTP]\r\nNM_SMTPALART=3", "[SMTP] NM_SMTPALART=3: 0 or 1"},
        {"[SMTP]\r\nNM_TO1EVENT=4096", "[SMTP] NM_TO1EVENT=4096: a whole number from 0 to 2047"},
        {"[SMTP]\r\nNM_TO2EVENT=99999", "[SMTP] NM_TO2EVENT=99999: a whole number from 0 to 2047"},
        {"[SMTP]\r\nNM_TO3EVENT=3abc", "[SMTP] NM_TO3EVENT=3abc: a whole number from 0 to 2047"},
        {"[SMTP]\r\nNM_TO1EVENT=2047", ""},
        {"[SMTP]\r\nNM_SMTPPORT=70000", "[SMTP] NM_SMTPPORT=70000: a whole number from 0 to 65535"},
        {"[SMTP]\r\nNM_SMTPPORT=+25", "[SMTP] NM_SMTPPORT=+25: a whole number from 0 to 65535"},
        {"[SMTP]\r\nNM_SMTPPORT=65535", ""},
        {"[NETWORK]\r\nNM_IP=10.1", "[NETWORK] NM_IP=10.1: four numbers from 0 to 255 joined by points"},
        {"[NETWORK]\r\nNM_GATEWAY=1.2.3.4.5",
         "[NETWORK] NM_GATEWAY=1.2.3.4.5: four numbers from 0 to 255 joined by points"},
        {"[NETWORK]\r\nNM_WINS1=10.0.0.256",
         "[NETWORK] NM_WINS1=10.0.0.256: four numbers from 0 to 255 joined by points"},
        {"[NETWORK]\r\nNM_DNS1=10.0.0.2", ""},
        {"[COMMON]\r\nNM_PROJECTORNAME=ROOM-201-EAST-WN",
         "[COMMON] NM_PROJECTORNAME=ROOM-201-EAST-WN: at most 15 bytes"},
        {"[COMMON]\r\nNM_MACADDR=0000480A1B2C99",
         "[COMMON] NM_MACADDR=0000480A1B2C99: 12 hexadecimal digits"},
        {"[COMMON]\r\nNM_IMTYPE=278", "[COMMON] NM_IMTYPE=278: a whole number from 0 to 255"},
        {"[COMMON]\r\nNM_PRIMIF=2", "[COMMON] NM_PRIMIF=2: 0 or 1"},
        {"[SNMP]\r\nNM_COMMUNITY=verylongname",
         "[SNMP] NM_COMMUNITY=verylongname: at most 8 bytes"},
        {"[WLAN]\r\nNM_ESSID=Lab Net", ""},
        {"[WLAN]\r\nNM_ESSID=LAB:NET",
         "[WLAN] NM_ESSID=LAB:NET: at most 32 characters from space to '~', without ':'"},
        {"[WLAN]\r\nNM_ESSID=" + std::string(33, 'E'),
         "[WLAN] NM_ESSID=" + std::string(33, 'E') +
             ": at most 32 characters from space to '~', without ':'"},
        {"[COMMON]\r\nNM_IMTYPE=22\r\n[WLAN]\r\nNM_SEC2=100",
         "[WLAN] NM_SEC2=100: a whole number from 0 to 99"},
        {"[COMMON]\r\nNM_IMTYPE=22\r\n[WLAN]\r\nNM_WEPID=0",
         "[WLAN] NM_WEPID=0: a whole number from 1 to 4"},
        {"[WLAN]\r\nNM_WEPID=0\r\nNM_ADHOC=0", ""},  // WEPID is read for type 22 alone
        {"[WLAN]\r\nNM_WEPKEY=" + std::string(27, 'a'),
         "[WLAN] NM_WEPKEY=" + std::string(27, 'a') + ": at most 26 bytes"},
    };
    for (const auto& c : cases) {
        ProjectorRecord record{};
        const SettingsFileProblem problem =
            ReadCheckedSettings(ProfileDocument(kCurrent + c.lines + "\r\n"), record);
        EXPECT_EQ(SettingsFileProblemText(problem, Language::English), c.refusal) << c.lines;
        EXPECT_EQ(ReadSettingsDocument(record, ProfileDocument(kCurrent + c.lines + "\r\n")),
                  c.refusal.empty() ? 1 : 0)
            << c.lines;
    }
    ProjectorRecord older{};
    EXPECT_EQ(SettingsFileProblemText(
                  ReadCheckedSettings(ProfileDocument("[NETWORK]\r\nDHCP=2\r\n"), older),
                  Language::English),
              "[NETWORK] DHCP=2: 0 or 1");
}

TEST(SettingsFileRead, EmptyRecipientIsKnownButEmptyCommunityIsMissing) {
    const Loaded loaded = Load(kCurrent + "[SMTP]\r\nNM_TO2=\r\n[SNMP]\r\nNM_COMMUNITY=\r\n");
    EXPECT_EQ(loaded.result, 0);
    EXPECT_EQ(loaded.record.mailTo2State, kStateRead);
    EXPECT_TRUE(IsEmptyText(loaded.record.mailTo2));
    EXPECT_EQ(loaded.record.communityState, kStateUnknown);
}

TEST(SettingsFileRead, PreferredInterfaceAloneIsUsableModuleTypeAloneIsNot) {
    Loaded loaded = Load(kCurrent + "[COMMON]\r\nNM_PRIMIF=1\r\n");
    EXPECT_EQ(loaded.result, 1);
    EXPECT_EQ(loaded.record.primaryInterface, 1U);
    EXPECT_EQ(loaded.record.primaryInterfaceState, kStateRead);
    EXPECT_EQ(loaded.record.writeAll, 1);

    loaded = Load(kCurrent + "[COMMON]\r\nNM_IMTYPE=22\r\n");
    EXPECT_EQ(loaded.result, 0);
    EXPECT_EQ(loaded.record.imType, 22);
    EXPECT_EQ(loaded.record.primaryInterfaceState, kStateUnknown);
    EXPECT_EQ(loaded.record.writeAll, 1);
}

TEST(SettingsFileRead, SecurityDigitsCountOnlyAllFourTogether) {
    Loaded loaded = Load(
        kCurrent + "[COMMON]\r\nNM_IMTYPE=22\r\n[WLAN]\r\nNM_SEC0=1\r\nNM_SEC1=2\r\nNM_SEC2=4\r\n");
    EXPECT_EQ(loaded.result, 0);
    EXPECT_EQ(loaded.record.security, (std::array<std::int32_t, 4>{1, 2, 4, 0}));
    EXPECT_EQ(loaded.record.securityState, kStateUnknown);
    EXPECT_EQ(loaded.record.wirelessActive, 0);

    loaded = Load(kCurrent +
                  "[COMMON]\r\nNM_IMTYPE=22\r\n[WLAN]\r\nNM_SEC0=1\r\nNM_SEC1=2\r\n"
                  "NM_SEC2=4\r\nNM_SEC3=1\r\nNM_WEPID=2\r\nNM_WEPKEY3=abcde\r\n"
                  "NM_WEP=1\r\nNM_WEPKEY=ignored\r\n");
    EXPECT_EQ(loaded.result, 1);
    EXPECT_EQ(loaded.record.securityState, kStateRead);
    EXPECT_EQ(loaded.record.wirelessActive, 1);
    EXPECT_EQ(loaded.record.wepKeyId, 2);
    EXPECT_EQ(TextOf(loaded.record.wepKey3), "abcde");
    EXPECT_EQ(loaded.record.wepKey3State, kStateRead);
    EXPECT_EQ(loaded.record.wepKey1State, kStateUnknown);
    EXPECT_EQ(loaded.record.wepEnabledState, kStateUnknown);
    EXPECT_TRUE(IsEmptyText(loaded.record.wepKey));
}

TEST(SettingsFileRead, WirelessOnlyFromTakenWlanKeys) {
    Loaded loaded = Load(kCurrent + "[WLAN]\r\nNM_ESSID=\r\nNM_WEPKEY=\r\n");
    EXPECT_EQ(loaded.record.wirelessActive, 0);
    EXPECT_EQ(loaded.record.essidSet, 0);
    EXPECT_EQ(loaded.record.essidState, kStateRead);
    EXPECT_EQ(loaded.record.wepKeyState, kStateRead);

    loaded = Load(kCurrent + "[WLAN]\r\nNM_ESSID=Lab Net\r\n");
    EXPECT_EQ(loaded.record.wirelessActive, 1);
    EXPECT_EQ(loaded.record.essidSet, 1);
    EXPECT_EQ(TextOf(loaded.record.essid), "Lab Net");

    loaded = Load(kCurrent + "[WLAN]\r\nNM_ADHOC=0\r\n");
    EXPECT_EQ(loaded.record.wirelessActive, 1);
    EXPECT_EQ(loaded.record.adhocState, kStateRead);
}

TEST(SettingsFileRead, OlderKeySetMapsToTheSameFields) {
    const Loaded loaded = Load(
        "[COMMON]\r\nPROJECTORNAME=OLD-1\r\nMACADDR=00004801ABCD\r\n[NETWORK]\r\nIP=10.0.0.5\r\n"
        "DHCP=0\r\n[SMTP]\r\nSMTPALART=1\r\nTO1EVENT=1025\r\n[SNMP]\r\nCOMMUNITY=public\r\n"
        "[WLAN]\r\nESSID=LAB\r\nWEP=1\r\nWEPKEY=abcde\r\nADHOC=1\r\nNM_SEC0=1\r\n");
    EXPECT_EQ(loaded.result, 1);
    EXPECT_EQ(TextOf(loaded.record.projectorName), "OLD-1");
    EXPECT_EQ(TextOf(loaded.record.macAddress), "00004801ABCD");
    EXPECT_EQ(loaded.record.ipAddress, (Octets{10, 0, 0, 5}));
    EXPECT_EQ(loaded.record.mailEvents1, 1025U);
    EXPECT_EQ(loaded.record.wirelessActive, 1);
    EXPECT_EQ(loaded.record.adhoc, 1);
    EXPECT_EQ(TextOf(loaded.record.wepKey), "abcde");
    EXPECT_EQ(loaded.record.securityState, kStateUnknown);
    EXPECT_EQ(loaded.record.imType, 0);
}

TEST(SettingsFileRead, MissingArgumentsAndFilesAreUnusable) {
    TempFolder folder;
    ProjectorRecord record;
    EXPECT_EQ(ReadSettingsFile(record, ""), 0);
    EXPECT_EQ(ReadSettingsFile(record, folder.File("none.ini")), 0);
    EXPECT_EQ(ReadSettingsFile(record, folder.Path()), 0);
}

TEST(SettingsFileRead, FileThatWindowsWroteIsReadWithItsDoubleByteName) {
    TempFolder folder;
    const std::string path = folder.File("saved.INI");
    std::string content = kSampleFile;
    content.replace(content.find("ROOM-1"), 6, "\xB1\xB3\xBD\xC7\xA1\xA1");
    WriteFile(path, content);
    ProjectorRecord record;
    EXPECT_EQ(ReadSettingsFile(record, path), 1);
    EXPECT_EQ(TextOf(record.projectorName), "\xB1\xB3\xBD\xC7\xA1\xA1");
    EXPECT_EQ(record.mailEvents1, 1025U);
}

// ---- writing -----------------------------------------------------------------------------------

TEST(SettingsFileWrite, NewFileHoldsTheKeysInOrderUnderTheirConditions) {
    TempFolder folder;
    const std::string path = folder.File("new.ini");
    ASSERT_EQ(WriteSettingsFile(SampleRecord(), path), 1);
    EXPECT_EQ(ReadFile(path), kSampleFile);
}

TEST(SettingsFileWrite, WhatIsWrittenReadsBackWithStateOne) {
    TempFolder folder;
    const std::string path = folder.File("round.ini");
    ASSERT_EQ(WriteSettingsFile(SampleRecord(), path), 1);
    ProjectorRecord r;
    ASSERT_EQ(ReadSettingsFile(r, path), 1);
    EXPECT_EQ(TextOf(r.projectorName), "ROOM-1");
    EXPECT_EQ(r.gateway, (Octets{192, 168, 1, 1}));
    EXPECT_EQ(r.dns2State, kStateUnknown);
    EXPECT_EQ(r.wins1State, kStateUnknown);
    EXPECT_EQ(r.wins2State, kStateRead);
    EXPECT_EQ(r.mailEvents1, 1025U);
    EXPECT_EQ(r.mailTo2State, kStateRead);
    EXPECT_EQ(r.primaryInterfaceState, kStateRead);
    EXPECT_EQ(r.wepEnabled, 1);
    EXPECT_EQ(r.wirelessActive, 1);
    EXPECT_EQ(TextOf(r.iniVersion), "200");
    EXPECT_EQ(r.writeAll, 1);
}

// Every setting a save writes, compared field by field.
void ExpectSameSettings(const ProjectorRecord& a, const ProjectorRecord& b) {
    EXPECT_EQ(TextOf(a.projectorName), TextOf(b.projectorName));
    EXPECT_EQ(TextOf(a.macAddress), TextOf(b.macAddress));
    EXPECT_EQ(a.imType, b.imType);
    EXPECT_EQ(a.primaryInterface, b.primaryInterface);
    EXPECT_EQ(a.dhcp, b.dhcp);
    for (const auto field :
         {&ProjectorRecord::ipAddress, &ProjectorRecord::subnetMask, &ProjectorRecord::gateway,
          &ProjectorRecord::dns1, &ProjectorRecord::dns2, &ProjectorRecord::wins1,
          &ProjectorRecord::wins2, &ProjectorRecord::smtpServer, &ProjectorRecord::trapAddress1,
          &ProjectorRecord::trapAddress2}) {
        EXPECT_EQ(a.*field, b.*field);
    }
    EXPECT_EQ(TextOf(a.dnsDomain), TextOf(b.dnsDomain));
    EXPECT_EQ(a.mailNotify, b.mailNotify);
    EXPECT_EQ(a.smtpPort, b.smtpPort);
    EXPECT_EQ(TextOf(a.mailTo1), TextOf(b.mailTo1));
    EXPECT_EQ(TextOf(a.mailTo2), TextOf(b.mailTo2));
    EXPECT_EQ(TextOf(a.mailTo3), TextOf(b.mailTo3));
    EXPECT_EQ(a.mailEvents1, b.mailEvents1);
    EXPECT_EQ(a.mailEvents2, b.mailEvents2);
    EXPECT_EQ(a.mailEvents3, b.mailEvents3);
    EXPECT_EQ(TextOf(a.community), TextOf(b.community));
    EXPECT_EQ(a.wirelessActive, b.wirelessActive);
    EXPECT_EQ(a.essidSet, b.essidSet);
    EXPECT_EQ(TextOf(a.essid), TextOf(b.essid));
    EXPECT_EQ(a.wepEnabled, b.wepEnabled);
    EXPECT_EQ(TextOf(a.wepKey), TextOf(b.wepKey));
    EXPECT_EQ(a.adhoc, b.adhoc);
    EXPECT_EQ(a.security, b.security);
    EXPECT_EQ(a.wepKeyId, b.wepKeyId);
    EXPECT_EQ(TextOf(a.wepKey1), TextOf(b.wepKey1));
    EXPECT_EQ(TextOf(a.wepKey2), TextOf(b.wepKey2));
    EXPECT_EQ(TextOf(a.wepKey3), TextOf(b.wepKey3));
    EXPECT_EQ(TextOf(a.wepKey4), TextOf(b.wepKey4));
}

// An extended wireless module with every optional key written and every field set.
ProjectorRecord FullExtendedRecord() {
    ProjectorRecord r = SampleRecord();
    r.imType = 22;
    r.primaryInterface = 1;
    r.dns2State = kStateRead;
    r.dns2 = {8, 8, 4, 4};
    r.wins1State = kStateRead;
    r.wins1 = {10, 1, 1, 1};
    CopyText(r.mailTo2, "second@example.local");
    CopyText(r.mailTo3, "third@example.local");
    r.mailEvents2 = 0x155;
    r.trapAddress2 = {172, 16, 0, 9};
    r.wepEnabled = 0;
    CopyText(r.wepKey, "");
    r.adhoc = 1;
    r.security = {1, 1, 0, 0};
    r.wepKeyId = 4;
    CopyText(r.wepKey1, "0123456789");
    CopyText(r.wepKey2, "abcde");
    CopyText(r.wepKey3, "0123456789abcdef0123456789");
    CopyText(r.wepKey4, "abcdefghijklm");
    return r;
}

TEST(SettingsFileWrite, SavedRecordReadsBackTheSameAndSavesToTheSameBytes) {
    TempFolder folder;
    for (const ProjectorRecord& saved : {SampleRecord(), FullExtendedRecord()}) {
        const std::string first = folder.File("first.ini");
        const std::string second = folder.File("second.ini");
        std::filesystem::remove(first);
        std::filesystem::remove(second);
        ASSERT_EQ(WriteSettingsFile(saved, first), 1);
        ProjectorRecord back;
        ASSERT_EQ(ReadSettingsFile(back, first), 1);
        ExpectSameSettings(back, saved);
        ASSERT_EQ(WriteSettingsFile(back, second), 1);
        const std::string bytes = *ReadFile(first);
        EXPECT_EQ(ReadFile(second), bytes);
        // Every line ends with CR LF, none with a bare LF or CR.
        std::size_t crlf = 0;
        for (std::size_t at = bytes.find_first_of("\r\n"); at != std::string::npos;
             at = bytes.find_first_of("\r\n", at + 2)) {
            ASSERT_EQ(bytes.compare(at, 2, "\r\n"), 0) << "bare line end at " << at;
            ++crlf;
        }
        EXPECT_TRUE(bytes.ends_with("\r\n"));
        EXPECT_GT(crlf, 20U);
    }
}

TEST(SettingsFileWrite, DhcpOnLeavesOutTheAddressesAndZeroesWins) {
    ProjectorRecord record = SampleRecord();
    record.dhcp = 1;
    record.wins1State = kStateRead;
    record.wins1 = {10, 0, 0, 1};
    ProfileDocument document;
    ASSERT_TRUE(StoreSettings(record, document));
    for (const char* key :
         {"NM_IP", "NM_SUBNET", "NM_GATEWAY", "NM_DNS1", "NM_DNS2", "NM_DNSDOMAIN"}) {
        EXPECT_FALSE(document.Find("NETWORK", key).has_value()) << key;
    }
    EXPECT_EQ(document.Find("NETWORK", "NM_DHCP"), "1");
    EXPECT_EQ(document.Find("NETWORK", "NM_WINS1"), "0.0.0.0");
    EXPECT_EQ(document.Find("NETWORK", "NM_WINS2"), "0.0.0.0");
}

// A value the projector reported longer than its field would go back to it cut.
TEST(SettingsFileWrite, ValuesReadCutAreLeftOut) {
    ProjectorRecord record = SampleRecord();
    record.mailNotify = 1;
    record.projectorNameState = record.mailTo2State = record.communityState = kStateCut;
    ProfileDocument document;
    ASSERT_TRUE(StoreSettings(record, document));
    EXPECT_FALSE(document.Find("COMMON", "NM_PROJECTORNAME").has_value());
    EXPECT_FALSE(document.Find("SMTP", "NM_TO2").has_value());
    EXPECT_FALSE(document.Find("SNMP", "NM_COMMUNITY").has_value());
    EXPECT_TRUE(document.Find("SMTP", "NM_TO1").has_value());
}

TEST(SettingsFileWrite, MailOffWritesOnlyTheSwitch) {
    ProjectorRecord record = SampleRecord();
    record.mailNotify = 0;
    ProfileDocument document;
    ASSERT_TRUE(StoreSettings(record, document));
    EXPECT_NE(document.Serialize().find("[SMTP]\r\nNM_SMTPALART=0\r\n[SNMP]"), std::string::npos);
    ProjectorRecord back;
    ReadSettingsDocument(back, ProfileDocument(document.Serialize()));
    EXPECT_EQ(back.mailNotifyState, kStateRead);
    EXPECT_EQ(back.smtpServerState, kStateUnknown);
    EXPECT_EQ(back.mailTo1State, kStateUnknown);
    EXPECT_EQ(back.mailEvents1State, kStateUnknown);
}

TEST(SettingsFileWrite, ExtendedModuleWritesSecurityAndFourKeysWiredWritesNoWlan) {
    ProjectorRecord record = SampleRecord();
    record.imType = 22;
    record.security = {1, 1, 0, 0};
    record.wepKeyId = 3;
    CopyText(record.wepKey4, "abcdefghijklm");
    ProfileDocument document;
    ASSERT_TRUE(StoreSettings(record, document));
    EXPECT_NE(document.Serialize().find("[WLAN]\r\nNM_ESSID=LAB\r\nNM_SEC0=1\r\nNM_SEC1=1\r\n"
                                        "NM_SEC2=0\r\nNM_SEC3=0\r\nNM_WEPID=3\r\nNM_WEPKEY1=\r\n"
                                        "NM_WEPKEY2=\r\nNM_WEPKEY3=\r\nNM_WEPKEY4=abcdefghijklm\r\n"
                                        "NM_ADHOC=0\r\n"),
              std::string::npos);
    EXPECT_FALSE(document.Find("WLAN", "NM_WEP").has_value());

    record.wirelessActive = 0;
    ProfileDocument wired;
    ASSERT_TRUE(StoreSettings(record, wired));
    EXPECT_EQ(wired.Serialize().find("[WLAN]"), std::string::npos);
}

TEST(SettingsFileWrite, SavingOverAnOldFileKeepsWhatThisSaveDoesNotWrite) {
    TempFolder folder;
    const std::string path = folder.File("over.ini");
    WriteFile(
        path,
        "; notes\r\n[NETWORK]\r\nNM_DHCP=0\r\nNM_IP=10.9.9.9\r\nCUSTOM=x\r\n[OTHER]\r\nA=b\r\n");
    ProjectorRecord record = SampleRecord();
    record.dhcp = 1;
    ASSERT_EQ(WriteSettingsFile(record, path), 1);
    const std::string content = *ReadFile(path);
    EXPECT_TRUE(
        content.starts_with("; notes\r\n[NETWORK]\r\nNM_DHCP=1\r\nNM_IP=10.9.9.9\r\nCUSTOM=x\r\n"
                            "NM_WINS2=0.0.0.0\r\n[OTHER]\r\nA=b\r\n[COMMON]\r\n"))
        << content;
    ProjectorRecord back;
    ReadSettingsFile(back, path);
    EXPECT_EQ(back.ipAddress, (Octets{10, 9, 9, 9}));
}

// ---- saving never destroys an existing file ----------------------------------------------------

TEST(SettingsFileWrite, ShortDiskSpaceLeavesTheExistingFileAndCreatesNone) {
    TempFolder folder;
    const std::string path = folder.File("keep.ini");
    WriteFile(path, "[COMMON]\r\nNM_PROJECTORNAME=KEEP\r\n");
    EXPECT_EQ(WriteSettingsFile(SampleRecord(), path, FreeSpace(1023)), 0);
    EXPECT_EQ(WriteSettingsFile(SampleRecord(), path, FreeSpace(std::nullopt)), 0);
    EXPECT_EQ(ReadFile(path), "[COMMON]\r\nNM_PROJECTORNAME=KEEP\r\n");
    EXPECT_EQ(WriteSettingsFile(SampleRecord(), folder.File("new.ini"), FreeSpace(0)), 0);
    EXPECT_FALSE(std::filesystem::exists(folder.File("new.ini")));
    EXPECT_EQ(WriteSettingsFile(SampleRecord(), path, FreeSpace(1024)), 1);
}

TEST(SettingsFileWrite, FailedWriteLeavesTheExistingFileExactly) {
    TempFolder folder;
    const std::string path = folder.File("keep.ini");
    const std::string old = "[COMMON]\nNM_PROJECTORNAME=KEEP\n";
    WriteFile(path, old);
    FileSeam broken = RealFileSeam();
    broken.writeBytes = [](int, const char*, std::size_t) -> long {
        errno = EIO;
        return -1;
    };
    EXPECT_EQ(WriteSettingsFile(SampleRecord(), path, broken), 0);
    EXPECT_EQ(ReadFile(path), old);

    ProjectorRecord unstorable = SampleRecord();
    CopyText(unstorable.mailTo2, "x@y\r\nNM_IP=6.6.6.6");
    EXPECT_EQ(WriteSettingsFile(unstorable, path), 0);
    EXPECT_EQ(ReadFile(path), old);
    EXPECT_EQ(folder.Entries(), std::vector<std::string>{"keep.ini"});
    EXPECT_EQ(WriteSettingsFile(SampleRecord(), ""), 0);
}

}  // namespace
}  // namespace lanterna
