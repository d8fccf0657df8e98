// The text command language of the simulated projector over a raw TCP session.

#include <cstdio>
#include <fstream>
#include <sstream>

#include "RawPeer.h"
#include "tests/support/sim/SessionsEnded.h"

namespace lanterna::sim::test {
namespace {

struct RoundTrip {
    std::string command;
    std::string argument;  // empty: the bare command name
    std::string expected;  // what the query gives afterwards
};

void ExpectRoundTrips(RawTcp& session, const std::vector<RoundTrip>& trips) {
    for (const RoundTrip& trip : trips) {
        const std::string line =
            trip.argument.empty() ? trip.command : trip.command + " " + trip.argument;
        EXPECT_EQ(session.Command(line), "\r:") << line;
        EXPECT_EQ(session.Query(trip.command), trip.expected) << line;
    }
}

void ExpectRefused(SimulatedProjector& projector, RawTcp& session,
                   const std::vector<std::string>& lines) {
    const ProjectorSettings before = projector.Settings();
    for (const std::string& line : lines) {
        EXPECT_EQ(session.Command(line), "ERR\r:") << line;
    }
    EXPECT_EQ(projector.Settings(), before) << "a refused command changed a setting";
}

// ---- defaults --------------------------------------------------------------------------------

TEST(Commands, WiredModuleStartsWithItsIdentityAndAddress) {
    SimulatorConfig config = TestConfig("127.77.2.3");
    config.name = "ROOM-12";
    config.mac = "00A0B1C2D3E4";
    auto projector = StartProjector(config);
    auto session = OpenSession(*projector);

    EXPECT_EQ(session->Query("NWPNAME"), "ROOM-12");
    EXPECT_EQ(session->Query("NWIF"), "0");
    EXPECT_EQ(session->Query("NWMAC"), "00A0B1C2D3E4");
    EXPECT_EQ(session->Query("NWWLMAC"), "00A0B1C2D3E4");
    EXPECT_EQ(session->Query("NWCNF"), "OFF 127.77.2.3 255.255.255.0 127.77.2.1");
    EXPECT_EQ(session->Query("NWWLCNF"), "ON 0.0.0.0 0.0.0.0 0.0.0.0 0");
    EXPECT_EQ(session->Query("NWDNS"), "0.0.0.0 0.0.0.0");
    EXPECT_EQ(session->Query("NWWINS"), "0.0.0.0 0.0.0.0");
    EXPECT_EQ(session->Query("NWDNSDMN"), "");
    EXPECT_EQ(session->Query("NWSMTPACT"), "OFF");
    EXPECT_EQ(session->Query("NWSMTPSRV"), "0.0.0.0");
    EXPECT_EQ(session->Query("NWSMTPPORT"), "25");
    EXPECT_EQ(session->Query("NWSMTPTO1"), "");
    EXPECT_EQ(session->Query("NWSMTPEVT3"), "0000 0000");
    EXPECT_EQ(session->Query("NWTRAPIP2"), "0.0.0.0");
    EXPECT_EQ(session->Query("NWCNAME"), "public");
    EXPECT_EQ(session->Query("NWPRIMIF"), "0");
}

TEST(Commands, WirelessType22ModuleStartsOnItsWirelessInterface) {
    SimulatorConfig config = TestConfig("127.77.2.1");
    config.imType = 22;
    config.wireless = true;
    auto projector = StartProjector(config);
    auto session = OpenSession(*projector);

    EXPECT_EQ(session->Query("NWIF"), "1");
    EXPECT_EQ(session->Query("NWWLMAC"), "02007F4D0201") << "derived from the address";
    EXPECT_EQ(session->Query("NWWLCNFS"), "OFF 127.77.2.1 255.255.255.0 127.77.2.254 02 PROJ-LAN");
    EXPECT_EQ(session->Query("NWCNF"), "ON 0.0.0.0 0.0.0.0 0.0.0.0");
    EXPECT_EQ(session->Query("NWWLSEC"), "000000");
    EXPECT_EQ(session->Query("NWWEPID"), "1");
    EXPECT_EQ(session->Query("NWWEP1"), "");
    EXPECT_EQ(session->Query("NWPRIMIF"), "1");
}

// ---- query / set / query ---------------------------------------------------------------------

TEST(Commands, EveryCommandOfABasicModuleRoundTrips) {
    auto projector = StartProjector(TestConfig("127.77.2.4"));
    auto session = OpenSession(*projector);
    const std::string base = "OFF 10.0.0.5 255.0.0.0 10.0.0.1";
    ExpectRoundTrips(*session,
                     {
                         {"NWPNAME", "ROOM-12", "ROOM-12"},
                         {"NWCNF", "OFF 192.168.1.5 255.255.255.0 192.168.1.1",
                          "OFF 192.168.1.5 255.255.255.0 192.168.1.1"},
                         {"NWCNF", "ON 0.0.0.0 0.0.0.0 0.0.0.0", "ON 0.0.0.0 0.0.0.0 0.0.0.0"},
                         {"NWWLCNF", base + " 7 MYNET 0123456789", base + " 7 MYNET 0123456789"},
                         {"NWWLCNF", base + " 4 MYNET ", base + " 4 MYNET"},
                         {"NWWLCNF", base + " 2  0123456789abcdef0123456789",
                          base + " 2 0123456789abcdef0123456789"},
                         {"NWWLCNF", base + " 3  ABCDEF0123", base + " 3 ABCDEF0123"},
                         {"NWWLCNF", base + " 0  ", base + " 0"},
                         {"NWWLCNF", base + " 1  ", base + " 1"},
                         {"NWDNS", "192.168.1.2 192.168.1.3", "192.168.1.2 192.168.1.3"},
                         {"NWWLDNS", "10.0.0.2 10.0.0.3", "10.0.0.2 10.0.0.3"},
                         {"NWWINS", "192.168.1.4 0.0.0.0", "192.168.1.4 0.0.0.0"},
                         {"NWWLWINS", "10.0.0.4 10.0.0.6", "10.0.0.4 10.0.0.6"},
                         {"NWDNSDMN", "example.com", "example.com"},
                         {"NWWLDNSDMN", "wl.example-lan.org", "wl.example-lan.org"},
                         {"NWSMTPACT", "ON", "ON"},
                         {"NWSMTPSRV", "192.168.1.25", "192.168.1.25"},
                         {"NWSMTPPORT", "587", "587"},
                         {"NWSMTPPORT", "65535", "65535"},
                         {"NWSMTPTO1", "admin@example.com", "admin@example.com"},
                         {"NWSMTPTO2", "ops@example.com", "ops@example.com"},
                         {"NWSMTPTO3", "desk@example.com", "desk@example.com"},
                         {"NWSMTPEVT1", "001b 007f", "001b 007f"},
                         {"NWSMTPEVT2", "1 2", "0001 0002"},
                         {"NWSMTPEVT3", "ABCD ffff", "abcd ffff"},
                         {"NWTRAPIP1", "192.168.1.9", "192.168.1.9"},
                         {"NWTRAPIP2", "192.168.1.10", "192.168.1.10"},
                         {"NWCNAME", "private", "private"},
                         {"NWPRIMIF", "1", "1"},
                         {"NWSMTPACT", "OFF", "OFF"},
                     });
    // The two interfaces keep their own settings.
    EXPECT_EQ(session->Query("NWDNS"), "192.168.1.2 192.168.1.3");
    EXPECT_EQ(session->Query("NWDNSDMN"), "example.com");
    // The typed view agrees with the wire.
    const ProjectorSettings settings = projector->Settings();
    EXPECT_EQ(settings.name, "ROOM-12");
    EXPECT_TRUE(settings.wired.dhcp);
    EXPECT_EQ(settings.wirelessLan.dns2, (Octets{10, 0, 0, 3}));
    EXPECT_EQ(settings.mailEvents[0], (std::array<std::uint16_t, 2>{0x1b, 0x7f}));
    EXPECT_EQ(settings.smtpPort, 65535);
}

TEST(Commands, EveryCommandOfAType22ModuleRoundTrips) {
    SimulatorConfig config = TestConfig("127.77.2.5");
    config.imType = 22;
    config.wireless = true;
    auto projector = StartProjector(config);
    auto session = OpenSession(*projector);
    const std::string base = "OFF 10.0.0.5 255.0.0.0 10.0.0.1";
    ExpectRoundTrips(
        *session,
        {
            {"NWWLCNFS", base + " 02 MYNET", base + " 02 MYNET"},
            {"NWWLCNFS", "ON 0.0.0.0 0.0.0.0 0.0.0.0 01", "ON 0.0.0.0 0.0.0.0 0.0.0.0 01"},
            {"NWWLCNFS", base + " 03 Ad~Hoc!Net", base + " 03 Ad~Hoc!Net"},
            {"NWWLCNFS", base + " 00", base + " 00"},
            {"NWWLSEC", "110000", "110000"},
            {"NWWLSEC", "120401", "120401"},
            {"NWWEPID", "3", "3"},
            {"NWWEP1", "0123456789", "0123456789"},
            {"NWWEP2", "0123456789abcdefABCDEF0123", "0123456789abcdefABCDEF0123"},
            {"NWWEP3", "INIT", ""},
            {"NWWEP4", "fedcba9876", "fedcba9876"},
            {"NWWEP4", "INIT", ""},
        });
}

TEST(Commands, BareTextCommandClearsTheText) {
    auto projector = StartProjector(TestConfig("127.77.2.6"));
    auto session = OpenSession(*projector);
    ExpectRoundTrips(*session, {
                                   {"NWDNSDMN", "example.com", "example.com"},
                                   {"NWDNSDMN", "", ""},
                                   {"NWSMTPTO2", "a@b", "a@b"},
                                   {"NWSMTPTO2", "", ""},
                                   {"NWCNAME", "", ""},
                               });
}

// ---- refused arguments -----------------------------------------------------------------------

TEST(Commands, MalformedArgumentsAreRefused) {
    auto projector = StartProjector(TestConfig("127.77.2.7"));
    auto session = OpenSession(*projector);
    const std::string base = "NWWLCNF OFF 10.0.0.5 255.0.0.0 10.0.0.1";
    ExpectRefused(*projector, *session,
                  {
                      "NWCNF",
                      "NWCNF OFF 192.168.1.5 255.255.255.0",
                      "NWCNF OFF 192.168.1.5 255.255.255.0 192.168.1.1 192.168.1.2",
                      "NWCNF MAYBE 192.168.1.5 255.255.255.0 192.168.1.1",
                      "NWCNF on 192.168.1.5 255.255.255.0 192.168.1.1",
                      "NWCNF OFF 192.168.1 255.255.255.0 192.168.1.1",
                      "NWCNF OFF 192.168.1.256 255.255.255.0 192.168.1.1",
                      "NWCNF OFF 192.168.1.5. 255.255.255.0 192.168.1.1",
                      "NWCNF OFF 192.168..5 255.255.255.0 192.168.1.1",
                      "NWCNF OFF -1.168.1.5 255.255.255.0 192.168.1.1",
                      "NWCNF OFF 0192.168.1.5 255.255.255.0 192.168.1.1",
                      "NWCNF OFF host.example 255.255.255.0 192.168.1.1",
                      base + " 8 NET 0123456789",
                      base + " x",
                      base,
                      base + " 4",
                      base + " 2 XYZ",
                      base + " 2 012345678",
                      base + " 6 NET",
                      base + " 0 EXTRA",
                      base + " 4 a:b",
                      base + " 4 NET 0123456789",
                      "NWDNS 1.2.3.4",
                      "NWDNS 1.2.3.4 5.6.7.8 9.9.9.9",
                      "NWDNS 1.2.3.4 x",
                      "NWWLWINS 1.2.3.4,5.6.7.8",
                      "NWDNSDMN bad_domain",
                      "NWDNSDMN " + std::string(97, 'a'),
                      "NWSMTPACT YES",
                      "NWSMTPACT on",
                      "NWSMTPACT",
                      "NWSMTPSRV mail.example.com",
                      "NWSMTPSRV 1.2.3.4 5.6.7.8",
                      "NWSMTPPORT 25a",
                      "NWSMTPPORT 0",
                      "NWSMTPPORT 65536",
                      "NWSMTPPORT",
                      "NWSMTPTO1 no-at-sign",
                      "NWSMTPTO1 a b@c",
                      "NWSMTPTO1 a;b@c",
                      "NWSMTPTO1 " + std::string(60, 'a') + "@b.cd",
                      "NWSMTPEVT1 001b",
                      "NWSMTPEVT1 001g 0000",
                      "NWSMTPEVT1 10000 0000",
                      "NWSMTPEVT1 001b 007f 0000",
                      "NWSMTPTEST now",
                      "NWTRAPIP1 1.2.3",
                      "NWCNAME toolongname",
                      "NWCNAME pub-lic",
                      "NWPRIMIF -1",
                      "NWPRIMIF 65536",
                      "NWPRIMIF one",
                      "NWPNAME",
                      "NWPNAME ROOM 12",
                      "NWPNAME 0123456789ABCDEF",
                      "NWPNAME ROOM_12",
                      "NWPNAME  ROOM",
                  });
}

TEST(Commands, WrongFormsAndUnknownNamesAreRefused) {
    auto projector = StartProjector(TestConfig("127.77.2.8"));
    auto session = OpenSession(*projector);
    ExpectRefused(*projector, *session,
                  {
                      "NWIF 1",
                      "NWMAC 001122334455",
                      "NWWLMAC",  // query only
                      "NWSMTPTEST?",
                      "NWRESET?",
                      "IMSTAT?",         // no query form
                      "NWPNAME? extra",  // query with an argument
                      "nwpname?",
                      "UNKNOWN?",
                      "UNKNOWN 1",
                      "?",
                      " NWPNAME?",
                      "NWPNAME?X",
                  });
}

// ---- module types and interfaces ---------------------------------------------------------------

TEST(Commands, ExtendedWirelessCommandsExistOnlyOnType22) {
    auto basic = StartProjector(TestConfig("127.77.2.9"));
    auto basicSession = OpenSession(*basic);
    ExpectRefused(*basic, *basicSession,
                  {
                      "NWWLCNFS?",
                      "NWWLCNFS OFF 10.0.0.5 255.0.0.0 10.0.0.1 00",
                      "NWWLSEC?",
                      "NWWLSEC 110000",
                      "NWWEPID?",
                      "NWWEPID 1",
                      "NWWEP1?",
                      "NWWEP4 INIT",
                  });

    SimulatorConfig config = TestConfig("127.77.2.10");
    config.imType = 22;
    auto extended = StartProjector(config);
    auto session = OpenSession(*extended);
    const std::string base = "NWWLCNFS OFF 10.0.0.5 255.0.0.0 10.0.0.1";
    ExpectRefused(*extended, *session,
                  {
                      "NWWLCNF?",
                      "NWWLCNF OFF 10.0.0.5 255.0.0.0 10.0.0.1 0",
                      base + " 2 NET",
                      base + " 04 NET",
                      base + " 02",
                      base + " 00 NET",
                      base + " 002 NET",
                      "NWWLSEC 11000",
                      "NWWLSEC 11000a",
                      "NWWLSEC 1100000",
                      "NWWEPID 0",
                      "NWWEPID 5",
                      "NWWEP1 12345",
                      "NWWEP1 ",
                      "NWWEP1 0123456789g",
                      "NWWEP1 init",
                  });
}

TEST(Commands, Type20ModuleTakesTheBasicSet) {
    SimulatorConfig config = TestConfig("127.77.2.11");
    config.imType = 20;
    config.wireless = true;
    auto projector = StartProjector(config);
    auto session = OpenSession(*projector);
    EXPECT_EQ(session->Query("NWWLCNF"), "OFF 127.77.2.11 255.255.255.0 127.77.2.1 4 PROJ-LAN");
    EXPECT_EQ(session->Query("NWWLCNFS"), "ERR");
}

TEST(Commands, BothInterfacesAnswerWhicheverIsInUse) {
    for (const bool wireless : {false, true}) {
        SimulatorConfig config = TestConfig(wireless ? "127.77.2.12" : "127.77.2.13");
        config.wireless = wireless;
        auto projector = StartProjector(config);
        auto session = OpenSession(*projector);
        EXPECT_EQ(session->Query("NWIF"), wireless ? "1" : "0");
        EXPECT_EQ(session->Command("NWDNS 1.1.1.1 2.2.2.2"), "\r:");
        EXPECT_EQ(session->Command("NWWLDNS 3.3.3.3 4.4.4.4"), "\r:");
        EXPECT_EQ(session->Query("NWDNS"), "1.1.1.1 2.2.2.2");
        EXPECT_EQ(session->Query("NWWLDNS"), "3.3.3.3 4.4.4.4");
        // The static address belongs to the interface in use; the other one asks DHCP.
        EXPECT_EQ(session->Query(wireless ? "NWCNF" : "NWWLCNF").substr(0, 2), "ON");
        EXPECT_EQ(session->Query(wireless ? "NWWLCNF" : "NWCNF").substr(0, 3), "OFF");
    }
}

// ---- the session itself ----------------------------------------------------------------------

TEST(Commands, BareCarriageReturnGetsThePrompt) {
    auto projector = StartProjector(TestConfig("127.77.2.14"));
    auto session = OpenSession(*projector);
    EXPECT_EQ(session->Command(""), ":");
    EXPECT_EQ(session->Query("NWIF"), "0") << "the stream stays in step";
}

TEST(Commands, PipelinedLinesAreAnsweredInOrder) {
    auto projector = StartProjector(TestConfig("127.77.2.15"));
    auto session = OpenSession(*projector);
    ASSERT_TRUE(session->Send("NWPNAME?\rNWIF?\rBOGUS\rNWCNAME public\r"));
    const std::string expected = "NWPNAME=SIMPROJ\r:NWIF=0\r:ERR\r:\r:";
    EXPECT_EQ(session->ReadExact(expected.size()), expected);
}

TEST(Commands, SendOnlyCommandsGetNoReplyByDefault) {
    auto projector = StartProjector(TestConfig("127.77.2.16"));
    auto session = OpenSession(*projector);
    ASSERT_TRUE(session->Send("IMSTAT 31\r"));
    // Replies come in order: had IMSTAT one, it would be read before the query's.
    EXPECT_EQ(session->Command("NWIF?"), "NWIF=0\r:");

    FaultConfig faults = projector->Faults();
    faults.answerSendOnlyCommands = true;
    projector->SetFaults(faults);
    EXPECT_EQ(session->Command("IMSTAT 31"), "\r:");
    EXPECT_EQ(session->Command("IMSTAT"), "ERR\r:");
}

TEST(Commands, ResetRestartsTheModule) {
    auto projector = StartProjector(TestConfig("127.77.2.17"));
    auto session = OpenSession(*projector);
    EXPECT_EQ(session->Command("NWPNAME NEW-NAME"), "\r:");
    ASSERT_TRUE(session->Send("NWRESET\r"));
    EXPECT_TRUE(session->WaitClosed());
    EXPECT_EQ(projector->Counters().resets, 1U);

    auto next = OpenSession(*projector);
    EXPECT_EQ(next->Query("NWPNAME"), "NEW-NAME") << "settings survive the restart";

    SimulatorConfig config = TestConfig("127.77.2.18");
    config.closeOnReset = false;
    auto keeping = StartProjector(config);
    auto kept = OpenSession(*keeping);
    ASSERT_TRUE(kept->Send("NWRESET\r"));
    EXPECT_EQ(kept->Query("NWIF"), "0");
}

TEST(Commands, TestMailIsAcceptedAndCounted) {
    auto projector = StartProjector(TestConfig("127.77.2.19"));
    auto session = OpenSession(*projector);
    EXPECT_EQ(session->Command("NWSMTPACT ON"), "\r:");
    EXPECT_EQ(session->Command("NWSMTPSRV 10.0.0.25"), "\r:");
    EXPECT_EQ(session->Command("NWSMTPTO1 ops@example.org"), "\r:");
    EXPECT_EQ(session->Command("NWSMTPTEST"), "\r:");
    EXPECT_EQ(projector->Counters().testMails, 1U);
}

TEST(Commands, TestMailNeedsNotificationServerAndRecipient) {
    auto projector = StartProjector(TestConfig("127.77.2.24"));
    auto session = OpenSession(*projector);
    EXPECT_EQ(session->Command("NWSMTPTEST"), "ERR\r:");  // notification off
    EXPECT_EQ(session->Command("NWSMTPACT ON"), "\r:");
    EXPECT_EQ(session->Command("NWSMTPTO1 ops@example.org"), "\r:");
    EXPECT_EQ(session->Command("NWSMTPTEST"), "ERR\r:");  // no server
    EXPECT_EQ(session->Command("NWSMTPSRV 10.0.0.25"), "\r:");
    EXPECT_EQ(session->Command("NWSMTPTO1"), "\r:");
    EXPECT_EQ(session->Command("NWSMTPTEST"), "ERR\r:");  // no recipient
    EXPECT_EQ(projector->Counters().testMails, 0U);
}

// ---- command log -----------------------------------------------------------------------------

TEST(Commands, LogHoldsEveryLineExactlyAsReceived) {
    SimulatorConfig config = TestConfig("127.77.2.20");
    const std::string logPath =
        ::testing::TempDir() + "sim-command-log-" + std::to_string(::getpid()) + ".txt";
    std::remove(logPath.c_str());
    config.logFile = logPath;
    auto projector = StartProjector(config);
    auto session = OpenSession(*projector);

    const std::string binary("a\0b\x01\xff", 5);
    ASSERT_TRUE(session->Send("NWPNAME?\r\rNWCNF? \r" + binary + "\r"));
    const std::string replies = "NWPNAME=SIMPROJ\r::ERR\r:ERR\r:";
    EXPECT_EQ(session->ReadExact(replies.size()), replies);
    // An overlong line is answered once, when it ends, and logged cut to the limit.
    ASSERT_TRUE(session->Send(std::string(5000, 'A') + "\rNWIF?\r"));
    EXPECT_EQ(session->ReadExact(13), "ERR\r:NWIF=0\r:");
    // A line the client never finished is not logged.
    ASSERT_TRUE(session->Send("NWPNAME"));
    session.reset();

    const std::vector<std::string> expected{
        "NWPNAME?", "", "NWCNF? ", binary, std::string(4096, 'A'), "NWIF?"};
    ASSERT_TRUE(lanterna::test::WaitUntilSessionsEnd(*projector));
    EXPECT_EQ(projector->CommandLog(), expected);

    std::ifstream file(logPath, std::ios::binary);
    std::stringstream content;
    content << file.rdbuf();
    std::string joined;
    for (const std::string& line : expected) {
        joined += line + "\n";
    }
    EXPECT_EQ(content.str(), joined);
    std::remove(logPath.c_str());

    projector->ClearCommandLog();
    EXPECT_TRUE(projector->CommandLog().empty());
}

TEST(Commands, HandshakeBytesAreNotCommandLines) {
    auto projector = StartProjector(TestConfig("127.77.2.21"));
    auto session = OpenSession(*projector);
    EXPECT_EQ(session->Command("NWIF?"), "NWIF=0\r:");
    EXPECT_EQ(projector->CommandLog(), std::vector<std::string>{"NWIF?"});
}

TEST(Commands, ApiReadsAndWritesTheSameValues) {
    auto projector = StartProjector(TestConfig("127.77.2.22"));
    EXPECT_TRUE(projector->ApplySet("NWSMTPEVT2", "0010 0040"));
    EXPECT_FALSE(projector->ApplySet("NWSMTPEVT2", "bad"));
    EXPECT_FALSE(projector->ApplySet("NWWLSEC", "110000")) << "not on this module type";
    EXPECT_EQ(projector->QueryValue("NWSMTPEVT2"), std::optional<std::string>("0010 0040"));
    EXPECT_EQ(projector->QueryValue("NWWLSEC"), std::nullopt);

    ProjectorSettings settings = projector->Settings();
    settings.community = "SNMP1";
    settings.wired.dns1 = {9, 8, 7, 6};
    projector->SetSettings(settings);
    auto session = OpenSession(*projector);
    EXPECT_EQ(session->Query("NWCNAME"), "SNMP1");
    EXPECT_EQ(session->Query("NWDNS"), "9.8.7.6 0.0.0.0");
    EXPECT_EQ(session->Query("NWSMTPEVT2"), "0010 0040");
}

}  // namespace
}  // namespace lanterna::sim::test
