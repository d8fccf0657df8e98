#include <gtest/gtest.h>

#include "settings/ConfigFileText.h"

namespace lanterna {
namespace {

std::string TextOfRecord(const ProjectorRecord& record) {
    const ConfigFileText built = BuildConfigFileText(record);
    EXPECT_TRUE(built.ok()) << built.brokenCommand;
    return built.text;
}

ProjectorRecord WiredRecord() {
    ProjectorRecord record;
    CopyText(record.projectorName, "ROOM-12");
    record.ipAddress = {192, 168, 1, 5};
    record.subnetMask = {255, 255, 255, 0};
    record.gateway = {192, 168, 1, 1};
    return record;
}

ProjectorRecord WirelessRecord() {
    ProjectorRecord record = WiredRecord();
    record.wirelessActive = 1;
    record.primaryInterface = 1;
    record.essidSet = 1;
    CopyText(record.essid, "HALL-NET");
    return record;
}

// The lines that follow the NWPNAME line.
std::string AfterName(const std::string& text) {
    const auto name = text.find("NWPNAME");
    return name == std::string::npos ? std::string() : text.substr(text.find('\n', name) + 1);
}

// ---- wired files and the always-present lines ----------------------------------------------

TEST(ConfigFileText, UntouchedWiredFileHasSixLines) {
    EXPECT_EQ(TextOfRecord(WiredRecord()),
              "[NetConfig]\n"
              "NWSMTPACT OFF\n"
              "NWTRAPIP1 0.0.0.0\n"
              "NWTRAPIP2 0.0.0.0\n"
              "NWPRIMIF 0\n"
              "NWPNAME ROOM-12\n"
              "NWCNF OFF 192.168.1.5 255.255.255.0 192.168.1.1\n");
    ProjectorRecord wirelessPreferred = WiredRecord();
    wirelessPreferred.primaryInterface = 1;
    EXPECT_NE(TextOfRecord(wirelessPreferred).find("\nNWPRIMIF 1\n"), std::string::npos);
}

TEST(ConfigFileText, WiredWithDhcpSendsZeroAddresses) {
    ProjectorRecord record = WiredRecord();
    record.dhcp = 1;
    EXPECT_EQ(AfterName(TextOfRecord(record)), "NWCNF ON 0.0.0.0 0.0.0.0 0.0.0.0\n");
}

TEST(ConfigFileText, CommunityLineOnlyWhenNamed) {
    ProjectorRecord record = WiredRecord();
    record.trapAddress1 = {10, 0, 0, 9};
    EXPECT_EQ(TextOfRecord(record).find("NWCNAME"), std::string::npos);
    CopyText(record.community, "public");
    EXPECT_NE(TextOfRecord(record).find("NWTRAPIP1 10.0.0.9\nNWTRAPIP2 0.0.0.0\nNWCNAME public\n"
                                        "NWPRIMIF 0\n"),
              std::string::npos);
}

TEST(ConfigFileText, EmptyNameKeepsTheBlank) {
    ProjectorRecord record = WiredRecord();
    record.projectorName = {};
    EXPECT_NE(TextOfRecord(record).find("\nNWPNAME \n"), std::string::npos);
}

// ---- mail --------------------------------------------------------------------------------

TEST(ConfigFileText, MailLinesInOrderWhenNotifying) {
    ProjectorRecord record = WiredRecord();
    record.mailNotify = 1;
    record.smtpServer = {192, 168, 1, 20};
    record.smtpPort = 65535;
    CopyText(record.mailTo1, "admin@example.com");
    CopyText(record.mailTo3, "desk@example.com");
    record.mailEvents1 = 0x7FF;
    record.mailEvents2 = 0x004;
    record.mailEvents3 = 0;
    EXPECT_EQ(TextOfRecord(record),
              "[NetConfig]\n"
              "NWSMTPACT ON\n"
              "NWSMTPSRV 192.168.1.20\n"
              "NWSMTPPORT 65535\n"
              "NWSMTPTO1 admin@example.com\n"
              "NWSMTPTO2\n"
              "NWSMTPTO3 desk@example.com\n"
              "NWSMTPEVT1 001b 007f\n"
              "NWSMTPEVT2 0008 0000\n"
              "NWSMTPEVT3 0000 0000\n"
              "NWTRAPIP1 0.0.0.0\n"
              "NWTRAPIP2 0.0.0.0\n"
              "NWPRIMIF 0\n"
              "NWPNAME ROOM-12\n"
              "NWCNF OFF 192.168.1.5 255.255.255.0 192.168.1.1\n");
}

TEST(ConfigFileText, MailOffOrNotExactlyOneWritesOnlyTheSwitch) {
    for (const std::int32_t notify : {0, 2, -1}) {
        ProjectorRecord record = WiredRecord();
        record.mailNotify = notify;
        record.smtpServer = {192, 168, 1, 20};
        CopyText(record.mailTo1, "admin@example.com");
        const std::string text = TextOfRecord(record);
        EXPECT_NE(text.find("NWSMTPACT OFF\nNWTRAPIP1"), std::string::npos) << notify;
        EXPECT_EQ(text.find("NWSMTPSRV"), std::string::npos) << notify;
        EXPECT_EQ(text.find("NWSMTPTO"), std::string::npos) << notify;
        EXPECT_EQ(text.find("NWSMTPEVT"), std::string::npos) << notify;
    }
}

// ---- wireless ----------------------------------------------------------------------------

TEST(ConfigFileText, AdHocWithEssidHasModeThreeAndNoSecurity) {
    ProjectorRecord record = WirelessRecord();
    record.adhoc = 1;
    record.security = {2, 0, 1, 0};
    CopyText(record.securityPsk, "secret-phrase");
    EXPECT_EQ(AfterName(TextOfRecord(record)),
              "NWWLCNFS OFF 192.168.1.5 255.255.255.0 192.168.1.1 03 HALL-NET\n");
}

TEST(ConfigFileText, InfrastructureWithoutEssidAndNoSecurity) {
    ProjectorRecord record = WirelessRecord();
    record.dhcp = 1;
    record.essidSet = 0;
    EXPECT_EQ(AfterName(TextOfRecord(record)),
              "NWWLCNFS ON 0.0.0.0 0.0.0.0 0.0.0.0 00\n"
              "NWWLSEC 000000\n");
}

TEST(ConfigFileText, ModeNumbers) {
    const struct {
        std::int32_t essidSet, adhoc;
        const char* mode;
    } cases[] = {
        {0, 0, " 00\n"}, {0, 1, " 01\n"}, {1, 0, " 02 HALL-NET\n"}, {1, 1, " 03 HALL-NET\n"}};
    for (const auto& c : cases) {
        ProjectorRecord record = WirelessRecord();
        record.essidSet = c.essidSet;
        record.adhoc = c.adhoc;
        const std::string text = AfterName(TextOfRecord(record));
        EXPECT_EQ(text.substr(0, text.find('\n') + 1),
                  std::string("NWWLCNFS OFF 192.168.1.5 255.255.255.0 192.168.1.1") + c.mode);
    }
}

TEST(ConfigFileText, EssidFollowsWheneverTheModeAnnouncesIt) {
    ProjectorRecord record = WirelessRecord();
    record.essidSet = 7;  // any nonzero value gives mode 02, which needs the ESSID
    EXPECT_NE(TextOfRecord(record).find(" 02 HALL-NET\n"), std::string::npos);
    CopyText(record.essid, "");
    record.essidSet = 1;
    EXPECT_NE(TextOfRecord(record).find(" 192.168.1.1 02 \nNWWLSEC"), std::string::npos);
}

TEST(ConfigFileText, WpaPskLine) {
    ProjectorRecord record = WirelessRecord();
    record.security = {2, 0, 1, 0};
    CopyText(record.securityPsk, "secret-phrase");
    EXPECT_NE(TextOfRecord(record).find("\nNWWLSEC 200100\nNWSECPSK secret-phrase\n"),
              std::string::npos);
}

TEST(ConfigFileText, LeapUserThenPassword) {
    ProjectorRecord record = WirelessRecord();
    record.security = {1, 2, 4, 1};
    CopyText(record.securityUser, "operator");
    CopyText(record.securityPassword, "pa$$word");
    const std::string after = AfterName(TextOfRecord(record));
    EXPECT_EQ(after.substr(after.find("NWWLSEC")),
              "NWWLSEC 120401\nNWSECUSER operator\nNWSECPASSWD pa$$word\n");
}

TEST(ConfigFileText, UnlistedSecurityCodeWritesOnlyTheCode) {
    ProjectorRecord record = WirelessRecord();
    record.security = {3, 1, 12, 7};
    CopyText(record.securityPsk, "secret-phrase");
    CopyText(record.wepKey1, "abcde");
    const std::string after = AfterName(TextOfRecord(record));
    EXPECT_EQ(after.substr(after.find("NWWLSEC")), "NWWLSEC 311207\n");
}

TEST(ConfigFileText, Wep64WithOneCharacterKey) {
    ProjectorRecord record = WirelessRecord();
    record.security = {1, 1, 0, 0};
    record.wepKeyId = 1;
    CopyText(record.wepKey1, "abcde");
    const std::string after = AfterName(TextOfRecord(record));
    EXPECT_EQ(after.substr(after.find("NWWLSEC")),
              "NWWLSEC 110000\n"
              "NWWEPID 1\n"
              "NWWEP1 6162636465\n"
              "NWWEP2 INIT\n"
              "NWWEP3 INIT\n"
              "NWWEP4 INIT\n");
}

TEST(ConfigFileText, Wep128KeyForms) {
    ProjectorRecord record = WirelessRecord();
    record.security = {1, 2, 0, 0};
    record.wepKeyId = 4;
    CopyText(record.wepKey1, "ABCDEFGHIJKLM");
    CopyText(record.wepKey2, "0123456789abcdefABCDEF0123");
    CopyText(record.wepKey3, "0123456789abcdefABCDEF012g");
    CopyText(record.wepKey4, "0123ABCDEF");
    const std::string after = AfterName(TextOfRecord(record));
    EXPECT_EQ(after.substr(after.find("NWWLSEC")),
              "NWWLSEC 120000\n"
              "NWWEPID 4\n"
              "NWWEP1 4142434445464748494a4b4c4d\n"
              "NWWEP2 0123456789abcdefABCDEF0123\n"
              "NWWEP3 \n"
              "NWWEP4 0123ABCDEF\n");
}

TEST(ConfigFileWepArgument, EveryKeyForm) {
    EXPECT_EQ(ConfigFileWepArgument(""), "INIT");
    EXPECT_EQ(ConfigFileWepArgument("12345"), "3132333435");
    EXPECT_EQ(ConfigFileWepArgument("A1b2C3d4E5"), "A1b2C3d4E5");  // already hexadecimal
    EXPECT_EQ(ConfigFileWepArgument("A1b2C3d4Eg"), "");            // ten characters, not hex
    EXPECT_EQ(ConfigFileWepArgument("abcdef"), "");                // no key length
    EXPECT_EQ(ConfigFileWepArgument(std::string(27, 'a')), "");
    // Bytes above 0x7F are written as the two digits of the byte.
    EXPECT_EQ(ConfigFileWepArgument("\xC8\xFF"
                                    "abc"),
              "c8ff616263");
}

// ---- the text as a whole ---------------------------------------------------------------------

TEST(ConfigFileText, FullWirelessTextUsesLineFeedsOnlyAndNoZeroByte) {
    ProjectorRecord record = WirelessRecord();
    record.mailNotify = 1;
    CopyText(record.mailTo1, "a@b");
    CopyText(record.community, "public");
    record.security = {1, 1, 0, 0};
    const std::string text = TextOfRecord(record);
    EXPECT_EQ(text.rfind("[NetConfig]\n", 0), 0U);
    EXPECT_EQ(text.back(), '\n');
    EXPECT_EQ(text.find('\r'), std::string::npos);
    EXPECT_EQ(text.find('\0'), std::string::npos);
}

TEST(ConfigFileText, LineBreakInAWrittenTextIsRefused) {
    ProjectorRecord record = WiredRecord();
    CopyText(record.projectorName, "ROOM\nNWRESET");
    ConfigFileText built = BuildConfigFileText(record);
    EXPECT_FALSE(built.ok());
    EXPECT_EQ(built.brokenCommand, "NWPNAME");
    EXPECT_TRUE(built.text.empty());

    record = WirelessRecord();
    record.mailNotify = 1;
    CopyText(record.mailTo2, "a@b\r");
    record.security = {2, 0, 1, 0};
    CopyText(record.securityPsk, "x\ny");
    built = BuildConfigFileText(record);
    EXPECT_EQ(built.brokenCommand, "NWSMTPTO2");  // the first one is named
}

TEST(ConfigFileText, LineBreakInATextThatIsNotWrittenDoesNoHarm) {
    ProjectorRecord record = WiredRecord();
    CopyText(record.mailTo1, "a@b\nNWRESET");  // mail notification is off
    CopyText(record.essid, "x\ny");            // wired file
    EXPECT_TRUE(BuildConfigFileText(record).ok());
}

}  // namespace
}  // namespace lanterna
