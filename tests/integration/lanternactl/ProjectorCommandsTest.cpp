// lanternactl read, set and passwd against simulated projectors.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>
#include <thread>

#include "fleet/History.h"
#include "link/Ports.h"
#include "resources/StringTable.h"
#include "settings/SettingsFile.h"
#include "tests/integration/lanternactl/ProjectorOnLoopback.h"
#include "tests/support/cli/CliHarness.h"
#include "tests/support/files/TempFolder.h"
#include "tools/projector-sim/SimulatedProjector.h"

namespace lanterna::test {
namespace {

const Lines kWiredRead = {"NWIF?",       "NWMAC?",     "NWPNAME?",   "NWCNF?",      "NWDNSDMN?",
                          "NWDNS?",      "NWWINS?",    "NWSMTPACT?", "NWSMTPSRV?",  "NWSMTPPORT?",
                          "NWSMTPTO1?",  "NWSMTPTO2?", "NWSMTPTO3?", "NWSMTPEVT1?", "NWSMTPEVT2?",
                          "NWSMTPEVT3?", "NWTRAPIP1?", "NWTRAPIP2?", "NWCNAME?",    "NWPRIMIF?"};

Lines Concat(Lines head, const Lines& tail) {
    head.insert(head.end(), tail.begin(), tail.end());
    return head;
}

// ---- read -------------------------------------------------------------------------------------

// The refusals' sentences are read in English.
CliRun RunInEnglish(const std::vector<std::string>& args, CliSetup english = {}) {
    english.environment["LANTERNA_LANG"] = "en";
    return RunCli(args, english);
}

TEST(ReadCommand, PrintsTheRecordAsJson) {
    CProjectorOnPort sim("127.87.1.1");
    const auto run = RunCli({"read", "127.87.1.1", "--json"});
    ASSERT_EQ(run.status, 0) << run.err;
    const auto json = nlohmann::json::parse(run.out);
    EXPECT_EQ(json["projectorName"], "SIMPROJ");
    EXPECT_EQ(json["ipAddress"], "127.87.1.1");
    EXPECT_EQ(json["macAddress"], "02007F570101");
    EXPECT_FALSE(json.contains("password"));
    EXPECT_EQ(sim.Log(), kWiredRead);
}

TEST(ReadCommand, ListingWithPasswordFromTheEnvironment) {
    CProjectorOnPort sim("127.87.1.2", "pw");
    CliSetup setup;
    setup.environment["LANTERNA_PASSWORD"] = "pw";
    const auto run = RunCli({"read", "127.87.1.2"}, setup);
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(Contains(run.out, "  Name: SIMPROJ\n")) << run.out;
    EXPECT_TRUE(Contains(run.out, "  Subnet mask: 255.255.255.0\n")) << run.out;
}

// One projector's settings as a person reads them: grouped, in words, nothing of the list's
// bookkeeping, a setting never reported said to be so, keys masked unless asked for.
TEST(ReadCommand, ListingForAPerson) {
    sim::SimulatorConfig config = CProjectorOnPort::ConfigFor("127.87.1.4");
    config.name = "LAB-WL1";
    config.imType = kImTypeExtendedWireless;
    config.wireless = true;
    config.faults.refusedCommands = {"NWWLDNS"};
    config.faults.replyFaults = {{"NWCNAME", {sim::ReplyFaultKind::kRawValue, 0, "public-lab"}}};
    CProjectorOnPort sim(config);
    ASSERT_TRUE(sim.projector->ApplySet("NWWLSEC", "110000"));
    ASSERT_TRUE(sim.projector->ApplySet("NWWEP1", "6162636465"));
    const auto masked = RunCli({"read", "127.87.1.4"});
    ASSERT_EQ(masked.status, 0) << masked.err;
    const std::string groups = "Projector\n  Name: LAB-WL1\n";
    EXPECT_TRUE(masked.out.starts_with(groups)) << masked.out;
    for (const char* line :
         {"Wireless LAN\n  DHCP: off\n", "  DNS server 1: (not reported)\n",
          "  DNS server 2: (not reported)\n", "  WINS server 1: (none)\n",
          "Mail notification\n  Notification: off\nSNMP\n", "  Community: public-l (cut)\n",
          "Wireless security\n  ESSID: PROJ-LAN\n", "  Security: wep64\n",
          "  WEP key 1: ********\n", "  WEP key 2: (none)\n"}) {
        EXPECT_TRUE(Contains(masked.out, line)) << line << "\n" << masked.out;
    }
    for (const char* word : {"State", "origin", "writeAll", "writeErrors", "6162636465"}) {
        EXPECT_FALSE(Contains(masked.out, word)) << word;
    }
    const auto shown = RunCli({"read", "127.87.1.4", "--show-secrets"});
    EXPECT_TRUE(Contains(shown.out, "  WEP key 1: 6162636465\n")) << shown.out;
    // The JSON record keeps everything.
    const auto json = nlohmann::json::parse(RunCli({"read", "127.87.1.4", "--json"}).out);
    EXPECT_EQ(json["dns1State"], 0);
    EXPECT_EQ(json["wepKey1"], "6162636465");
}

TEST(ReadCommand, ValuesFromTheProjectorReachTheTerminalEscaped) {
    CProjectorOnPort sim("127.87.1.9");
    sim::ProjectorSettings settings = sim.projector->Settings();
    settings.name = "\x1b]0;owned\x07";  // would retitle the terminal
    settings.community = "a\x1b[2Jb";    // would clear the screen
    sim.projector->SetSettings(settings);
    const auto listing = RunCli({"read", "127.87.1.9"});
    ASSERT_EQ(listing.status, 0) << listing.err;
    EXPECT_TRUE(Contains(listing.out, "  Name: \\x1b]0;owned\\x07\n")) << listing.out;
    EXPECT_TRUE(Contains(listing.out, "  Community: a\\x1b[2Jb\n")) << listing.out;
    EXPECT_FALSE(Contains(listing.out, "\x1b"));
    const auto json = RunCli({"read", "127.87.1.9", "--json"});
    EXPECT_FALSE(Contains(json.out, "\x1b"));
    EXPECT_EQ(nlohmann::json::parse(json.out)["projectorName"], settings.name);
}

TEST(ReadCommand, PasswordFromFileOrTerminal) {
    CProjectorOnPort sim("127.87.1.3", "pw");
    const std::string path = ::testing::TempDir() + "lanternactl-password-87-1-3";
    std::ofstream(path) << "pw\n";
    ::chmod(path.c_str(), 0600);  // a password file is its owner's alone
    CliSetup setup;
    setup.environment["LANTERNA_PASSWORD"] = "wrong";  // the file wins
    EXPECT_EQ(RunCli({"read", "127.87.1.3", "--password-file", path}, setup).status, 0);
    std::remove(path.c_str());

    CliSetup asked;
    asked.hiddenAnswers = {"pw"};
    EXPECT_EQ(RunCli({"read", "127.87.1.3"}, asked).status, 0);
}

// The percentages of the bars drawn on `err`, one list per worker run (each run ends its bar
// with a line feed). Fails the test on anything else in `err`.
std::vector<std::vector<int>> ProgressBars(const std::string& err) {
    std::vector<std::vector<int>> runs;
    std::istringstream lines(err);
    for (std::string line; std::getline(lines, line);) {
        std::vector<int>& percents = runs.emplace_back();
        std::istringstream draws(line);
        std::string draw;
        std::getline(draws, draw, '\r');
        EXPECT_EQ(draw, "") << "every draw starts at the beginning of the line";
        while (std::getline(draws, draw, '\r')) {
            const std::size_t close = draw.find("] ");
            if (!draw.starts_with("[") || close != 31 || !draw.ends_with("%")) {
                ADD_FAILURE() << "not a bar: " << draw;
                continue;
            }
            const int percent = std::stoi(draw.substr(close + 2));
            const auto filled = static_cast<std::size_t>(percent * 30 / 100);
            EXPECT_EQ(draw.substr(1, 30), std::string(filled, '#') + std::string(30 - filled, '.'))
                << draw;
            percents.push_back(percent);
        }
    }
    return runs;
}

TEST(ReadCommand, ProgressBarOnlyOnATerminal) {
    CProjectorOnPort sim("127.87.1.7");
    CliSetup terminal;
    terminal.errIsTerminal = true;
    terminal.environment = {{"LANG", "ko_KR.UTF-8"}};  // a locale: no note on the language
    const auto shown = RunCli({"read", "127.87.1.7", "--json"}, terminal);
    ASSERT_EQ(shown.status, 0) << shown.err;
    EXPECT_EQ(nlohmann::json::parse(shown.out)["projectorName"], "SIMPROJ");
    ASSERT_TRUE(shown.err.ends_with("\n")) << shown.err;
    // The probe worker, then the read worker: each bar starts empty, only grows and ends full.
    const auto runs = ProgressBars(shown.err);
    ASSERT_EQ(runs.size(), 2U) << shown.err;
    for (const std::vector<int>& percents : runs) {
        ASSERT_GE(percents.size(), 3U);
        EXPECT_EQ(percents.front(), 0);
        EXPECT_TRUE(std::is_sorted(percents.begin(), percents.end())) << shown.err;
        EXPECT_EQ(percents.back(), 100) << shown.err;
    }

    const auto quiet = RunCli({"read", "127.87.1.7", "--json"});
    ASSERT_EQ(quiet.status, 0) << quiet.err;
    EXPECT_EQ(quiet.err, "") << "no bar when standard error is not a terminal";
}

TEST(ReadCommand, WrongOrMissingPasswordFails) {
    CProjectorOnPort sim("127.87.1.4", "pw");
    CliSetup setup;
    setup.environment["LANTERNA_PASSWORD"] = "nope";
    const auto refused = RunCli({"read", "127.87.1.4"}, setup);
    EXPECT_EQ(refused.status, 1);
    EXPECT_TRUE(Contains(refused.err, LoadString(131))) << refused.err;
    EXPECT_EQ(refused.out, "");

    const auto missing = RunCli({"read", "127.87.1.4"});
    EXPECT_EQ(missing.status, 1);
    EXPECT_TRUE(Contains(missing.err, "LANTERNA_PASSWORD")) << missing.err;
    EXPECT_TRUE(sim.Log().empty());
}

TEST(ReadCommand, NobodyThereGivesTheConnectionMessage) {
    const auto run = RunCli({"read", "127.87.1.5"});
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(Contains(run.err, LoadString(121))) << run.err;
}

TEST(ReadCommand, BadAddressIsAUsageError) {
    EXPECT_EQ(RunCli({"read", "127.87.1"}).status, 2);
    EXPECT_EQ(RunCli({"read", "projector"}).status, 2);
    EXPECT_EQ(RunCli({"read"}).status, 2);
}

// ---- set --------------------------------------------------------------------------------------

TEST(SetCommand, ChangedNameIsSentWithTheAddressLine) {
    CProjectorOnPort sim("127.87.2.1");
    const auto run = RunCli({"set", "127.87.2.1", "projectorName=LAB-7", "community=public"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, std::string(LoadString(133)) + "\n");
    // community=public equals the value read: state 3, not sent.
    EXPECT_EQ(sim.Log(),
              Concat(kWiredRead, {"NWPNAME LAB-7",
                                  "NWCNF OFF 127.87.2.1 255.255.255.0 127.87.2.254", "IMSTAT 31"}));
}

TEST(SetCommand, NameChangedOnlyInLetterCaseIsNotSent) {
    CProjectorOnPort sim("127.87.2.2");
    const auto run = RunCli({"set", "127.87.2.2", "projectorName=simproj"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(sim.Log(), kWiredRead);
}

TEST(SetCommand, ValueRefusedByTheRulesSendsNothing) {
    CProjectorOnPort sim("127.87.2.3");
    const auto run = RunInEnglish({"set", "127.87.2.3", "projectorName=12345"});
    EXPECT_EQ(run.status, 1);
    EXPECT_FALSE(run.err.empty());
    EXPECT_EQ(sim.Log(), kWiredRead);

    const auto port = RunCli({"set", "127.87.2.3", "smtpPort=0"});
    EXPECT_EQ(port.status, 1);
    EXPECT_TRUE(Contains(port.err, LoadString(135))) << port.err;
}

TEST(SetCommand, UnknownFieldOrUnreadableValueIsAUsageError) {
    EXPECT_EQ(RunCli({"set", "127.87.2.4", "colour=red"}).status, 2);
    EXPECT_EQ(RunCli({"set", "127.87.2.4", "projectorName"}).status, 2);
    CProjectorOnPort sim("127.87.2.4");
    EXPECT_EQ(RunCli({"set", "127.87.2.4", "dhcp=maybe"}).status, 1);
    EXPECT_EQ(sim.Log(), kWiredRead);
}

TEST(SetCommand, RefusedCommandsAreNamed) {
    CProjectorOnPort sim("127.87.2.5");
    auto faults = sim.projector->Faults();
    faults.refusedCommands = {"NWTRAPIP2"};
    sim.projector->SetFaults(faults);
    const auto run = RunInEnglish({"set", "127.87.2.5", "trapAddress2=10.0.0.9", "dns1=10.0.0.53"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "the projector refused: trap address 2\n");
    EXPECT_TRUE(Contains(run.err, LoadString(132))) << run.err;
    const Lines log = sim.Log();
    EXPECT_EQ((Lines(log.end() - 2, log.end())),
              (Lines{"NWTRAPIP2 10.0.0.9", "NWDNS 10.0.0.53 0.0.0.0"}));
    // The worker's result and the refused groups' bits stay --json's.
    const auto json = RunCli({"set", "127.87.2.5", "trapAddress2=10.0.0.8", "--json"});
    const auto report = nlohmann::json::parse(json.out);
    EXPECT_EQ(report[0]["result"], -1) << json.out;
    EXPECT_EQ(report[0]["writeErrors"], 0x4000) << json.out;
}

// Before the write the settings as read go into the history (only what was read), the write
// into the change log; show reads the entry, and it restores what the projector had.
TEST(SetCommand, KeepsTheSettingsAsReadBeforeTheWrite) {
    CProjectorOnPort sim("127.87.2.9");
    TempFolder state;
    CliSetup setup;
    setup.environment["XDG_STATE_HOME"] = state.Path();
    const auto run = RunCli({"set", "127.87.2.9", "community=lab"}, setup);
    ASSERT_EQ(run.status, 0) << run.err;

    const fleet::CHistory history(state.Path() + "/lanterna/history");
    const std::string mac = "02007F570209";
    const auto entries = history.Entries(mac);
    ASSERT_EQ(entries.size(), 1U);
    struct stat info {};
    ASSERT_EQ(::stat(entries[0].path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600U);
    ProjectorRecord before{};
    ASSERT_TRUE(history.ReadEntry(mac, 0, before));
    EXPECT_EQ(TextOf(before.community), "public");
    EXPECT_EQ(TextOf(before.projectorName), "SIMPROJ");
    const auto lines = history.ChangeLogLines(mac);
    ASSERT_EQ(lines.size(), 1U);
    EXPECT_TRUE(Contains(lines[0], "\t127.87.2.9\tSIMPROJ\tNWCNAME lab\tset\t")) << lines[0];
    EXPECT_TRUE(Contains(lines[0], "@")) << lines[0];

    const auto shown = RunCli({"show", entries[0].path});
    EXPECT_EQ(shown.status, 0) << shown.err;
    EXPECT_TRUE(Contains(shown.out, "public")) << shown.out;
    // (Whole, the entry would give the projector its loopback address, which the checks refuse.)
    const auto undo = RunCli({"apply", "--template", entries[0].path, "127.87.2.9"}, setup);
    EXPECT_EQ(undo.status, 0) << undo.err;
    EXPECT_EQ(sim.projector->Settings().community, "public");
    EXPECT_EQ(history.Entries(mac).size(), 2U);

    // A write that changes nothing takes no place in the history.
    ASSERT_EQ(RunCli({"set", "127.87.2.9", "community=public"}, setup).status, 0);
    EXPECT_EQ(history.Entries(mac).size(), 2U);
    // A log line that cannot be kept: the write is done, the user told, the status 3.
    const std::string log = state.Path() + "/lanterna/history/" + mac + "/changes.log";
    ASSERT_EQ(std::remove(log.c_str()), 0);
    ASSERT_EQ(::mkfifo(log.c_str(), 0600), 0);
    const auto unlogged = RunInEnglish({"set", "127.87.2.9", "community=lab2"}, setup);
    EXPECT_EQ(unlogged.status, 3) << unlogged.err;
    EXPECT_TRUE(Contains(unlogged.err, "could not be added to the change log")) << unlogged.err;
    EXPECT_EQ(sim.projector->Settings().community, "lab2");
}

// A link lost during the write is told as such, with what was accepted and what was not sent;
// never as a refusal the projector did not make.
TEST(SetCommand, ALinkLostIsToldAsSuch) {
    sim::SimulatorConfig config = CProjectorOnPort::ConfigFor("127.87.2.12");
    config.faults.dropAfterSets = 1;
    CProjectorOnPort sim(config);
    const auto run = RunInEnglish({"set", "127.87.2.12", "community=lab", "trapAddress2=10.0.0.8"});
    EXPECT_EQ(run.status, 1);
    EXPECT_FALSE(Contains(run.out + run.err, "refused")) << run.out << run.err;
    EXPECT_TRUE(Contains(run.err, "link lost after")) << run.err;
}

TEST(SetCommand, TestMailIsSentOnlyWhenAnsweredYes) {
    CProjectorOnPort sim("127.87.2.6");
    const auto yes = RunCli({"set", "127.87.2.6", "mailNotify=on", "smtpServer=10.0.0.25",
                             "mailTo1=ops@example.org", "--test-mail", "yes"});
    ASSERT_EQ(yes.status, 0) << yes.err;
    EXPECT_TRUE(Contains(yes.err, LoadString(152))) << yes.err;
    EXPECT_TRUE(Contains(yes.err, LoadString(105))) << yes.err;
    EXPECT_EQ(sim.projector->Counters().testMails, 1U);
    const Lines log = sim.Log();
    EXPECT_EQ(
        (Lines(log.begin() + 20, log.end())),
        (Lines{"NWSMTPACT ON", "NWSMTPSRV 10.0.0.25", "NWSMTPTO1 ops@example.org", "NWSMTPTEST"}));

    // Without the option and without a terminal the answer is no.
    const auto no = RunCli({"set", "127.87.2.6", "mailTo2=desk@example.org"});
    ASSERT_EQ(no.status, 0) << no.err;
    EXPECT_EQ(sim.projector->Counters().testMails, 1U);

    CliSetup terminal;
    terminal.lineAnswers = {"y"};
    const auto asked = RunCli({"set", "127.87.2.6", "mailTo3=desk@example.org"}, terminal);
    ASSERT_EQ(asked.status, 0) << asked.err;
    EXPECT_EQ(sim.projector->Counters().testMails, 2U);

    // A whole settings file sends the mail settings as the projector has them: the test mail
    // goes out all the same when the user asks for it.
    const auto read = RunCli({"read", "127.87.2.6", "--json"});
    ASSERT_EQ(read.status, 0) << read.err;
    nlohmann::json record = nlohmann::json::parse(read.out);
    record["ipAddress"] = "10.0.0.50";
    record["gateway"] = "0.0.0.0";
    const std::string json = ::testing::TempDir() + "lanternactl-mail-87-2-6.json";
    const std::string file = ::testing::TempDir() + "lanternactl-mail-87-2-6.ini";
    std::ofstream(json) << record.dump();
    ASSERT_EQ(RunCli({"save", "--from", json, "-o", file}).status, 0);
    const auto whole = RunCli({"apply", file, "127.87.2.6", "--test-mail", "yes", "--no-verify"});
    std::remove(json.c_str());
    std::remove(file.c_str());
    ASSERT_EQ(whole.status, 0) << whole.err << whole.out;
    const Lines written = sim.Log();
    EXPECT_NE(std::find(written.begin(), written.end(), "NWSMTPTO1 ops@example.org"),
              written.end());
    EXPECT_TRUE(Contains(whole.err, LoadString(152))) << whole.err;
    EXPECT_EQ(sim.projector->Counters().testMails, 3U);

    // Asked for, it goes out too when no mail setting does.
    const auto alone =
        RunCli({"set", "127.87.2.6", "community=lab9", "--test-mail", "yes", "--no-verify"});
    ASSERT_EQ(alone.status, 0) << alone.err << alone.out;
    EXPECT_EQ(sim.projector->Counters().testMails, 4U);
}

TEST(SetCommand, SwitchingDhcpOffSendsTheCheckedAddresses) {
    CProjectorOnPort sim("127.87.2.7");
    auto settings = sim.projector->Settings();
    settings.wired.dhcp = true;
    sim.projector->SetSettings(settings);

    // The address entered for the projector is a loopback one, which no host may use.
    const auto loopback = RunInEnglish({"set", "127.87.2.7", "dhcp=off"});
    EXPECT_EQ(loopback.status, 1);
    EXPECT_FALSE(loopback.err.empty());
    // Under DHCP the projector reported the addresses it was given; the gateway it has goes
    // with the address line unless another is named, and it is not in the new subnet.
    const auto leased = RunInEnglish({"set", "127.87.2.7", "dhcp=off", "ipAddress=10.1.2.3"});
    EXPECT_EQ(leased.status, 1);
    EXPECT_FALSE(leased.err.empty());

    sim.projector->ClearCommandLog();
    const auto run = RunCli({"set", "127.87.2.7", "dhcp=off", "ipAddress=10.1.2.3",
                             "subnetMask=255.255.0.0", "gateway=0.0.0.0"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(sim.Log().back(), "NWCNF OFF 10.1.2.3 255.255.0.0 0.0.0.0");
    EXPECT_FALSE(sim.projector->Settings().wired.dhcp);
}

// ---- apply ------------------------------------------------------------------------------------

// A settings file saved from the projector at `address` (its derived hardware address), wired,
// with a fixed address, DNS and WINS read, mail off.
std::string SavedSettingsFile(const std::string& name, const std::string& address) {
    ProjectorRecord r{};
    CopyText(r.projectorName, "FILE-NAME");
    Octets octets{};
    ScanDottedInto(address, octets);
    char mac[13];
    std::snprintf(mac, sizeof mac, "0200%02X%02X%02X%02X", octets[0], octets[1], octets[2],
                  octets[3]);
    CopyText(r.macAddress, mac);
    r.imType = 21;
    r.ipAddress = {10, 0, 0, 50};
    r.subnetMask = {255, 255, 255, 0};
    r.gateway = {10, 0, 0, 1};
    r.dns1 = {10, 0, 0, 53};
    r.dns1State = r.dns2State = r.dnsDomainState = r.wins1State = r.wins2State = kStateRead;
    CopyText(r.community, "lab");
    const std::string path = ::testing::TempDir() + name;
    EXPECT_EQ(WriteSettingsFile(r, path), 1);
    return path;
}

TEST(ApplyCommand, SettingsFileIsSentWithWriteAll) {
    CProjectorOnPort sim("127.87.4.1");
    const std::string path = SavedSettingsFile("apply-87-4-1.ini", "127.87.4.1");
    const auto run = RunCli({"apply", path, "127.87.4.1"});
    std::remove(path.c_str());
    ASSERT_EQ(run.status, 0) << run.err << run.out;
    EXPECT_TRUE(Contains(run.out, LoadString(133))) << run.out;
    const Lines log = sim.Log();
    ASSERT_GE(log.size(), kWiredRead.size());
    EXPECT_EQ((Lines(log.begin(), log.begin() + kWiredRead.size())), kWiredRead);
    // A whole read (the settings kept before a write), then everything the file holds, in the
    // write order.
    EXPECT_EQ(
        (Lines(log.begin() + kWiredRead.size(), log.end())),
        (Lines{"NWSMTPACT OFF", "NWTRAPIP1 0.0.0.0", "NWTRAPIP2 0.0.0.0", "NWCNAME lab",
               "NWPNAME FILE-NAME", "NWDNSDMN", "NWDNS 10.0.0.53 0.0.0.0", "NWWINS 0.0.0.0 0.0.0.0",
               "NWCNF OFF 10.0.0.50 255.255.255.0 10.0.0.1", "IMSTAT 31"}));
    EXPECT_EQ(sim.projector->Settings().name, "FILE-NAME");
    EXPECT_EQ(sim.projector->Settings().wired.ipAddress, (Octets{10, 0, 0, 50}));
}

TEST(ApplyCommand, FileFromAnotherProjectorIsRefusedByTheRead) {
    CProjectorOnPort sim("127.87.4.2");
    const std::string path = SavedSettingsFile("apply-87-4-2.ini", "127.87.4.99");
    const auto run = RunInEnglish({"apply", path, "127.87.4.2"});
    std::remove(path.c_str());
    EXPECT_EQ(run.status, 1);
    // Not "connection failed": the file names the projector it belongs to.
    EXPECT_TRUE(Contains(run.err,
                         "the settings file belongs to the projector with hardware address "
                         "02:00:7F:57:04:63 (the projector at 127.87.4.2 has hardware address "
                         "02:00:7F:57:04:02"))
        << run.err;
    EXPECT_FALSE(Contains(run.err, LoadString(121))) << run.err;
    EXPECT_EQ(sim.Log(), (Lines{"NWIF?", "NWMAC?"}));
}

TEST(ApplyCommand, WrongExtensionOrUnreadableFileIsRefused) {
    const auto extension = RunCli({"apply", "settings.txt", "127.87.4.3"});
    EXPECT_EQ(extension.status, 2);
    EXPECT_TRUE(Contains(extension.err, LoadString(124))) << extension.err;
    const auto missing =
        RunCli({"apply", ::testing::TempDir() + "no-such-file-87-4-3.INI", "127.87.4.3"});
    EXPECT_EQ(missing.status, 1);
    EXPECT_TRUE(Contains(missing.err, "no such file")) << missing.err;
}

// Every road that takes a settings file reads it with one reader: a value not exactly of its
// form refuses the file before anything is sent, and the refusal names key, value and rule.
TEST(ApplyCommand, FileWithAValueOutOfItsFormSendsNothingOnAnyRoad) {
    CProjectorOnPort sim("127.87.4.4");
    std::string content = *ReadFile(SavedSettingsFile("refused-87-4-4.ini", "127.87.4.4"));
    content.replace(content.find("NM_DHCP=0"), 9, "NM_DHCP=2");
    const std::string path = ::testing::TempDir() + "refused-87-4-4.ini";
    WriteFile(path, content);
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"apply", path, "127.87.4.4"},
          {"apply", "--template", path, "127.87.4.4"},
          {"restore", path, "127.87.4.4"}}) {
        const auto run = RunInEnglish(args);
        EXPECT_EQ(run.status, 1) << args[1];
        EXPECT_TRUE(Contains(run.err, "[NETWORK] NM_DHCP=2: 0 or 1")) << run.err;
    }
    std::remove(path.c_str());
    EXPECT_EQ(sim.Log(), Lines{});

    // A provisioning cell is held to its field's form the same way, and named with its rule.
    const CTestFile rows("refused-87-4-4.csv", "address,dhcp\n127.87.4.4,2\n");
    const auto cell = RunInEnglish({"provision", rows.path, "127.87.4.4"});
    EXPECT_EQ(cell.status, 1);
    EXPECT_TRUE(Contains(cell.out + cell.err, "dhcp=2: on or off (1 or 0, yes or no)"))
        << cell.out << cell.err;
    for (const std::string& line : sim.Log()) {
        EXPECT_NE(line.find('?'), std::string::npos) << "sent " << line;
    }
}

// ---- passwd -----------------------------------------------------------------------------------

// The change goes into the projector's change log with who made it, never the password.
TEST(PasswdCommand, ChangesThePasswordFromTheEnvironment) {
    CProjectorOnPort sim("127.87.3.1", "old");
    TempFolder state;
    CliSetup setup;
    setup.environment = {{"LANTERNA_PASSWORD", "old"},
                         {"LANTERNA_NEW_PASSWORD", "new-one"},
                         {"XDG_STATE_HOME", state.Path()}};
    const auto run = RunCli({"passwd", "127.87.3.1"}, setup);
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(sim.projector->Settings().password, "new-one");
    const auto lines = fleet::CHistory(state.Path() + "/lanterna/history").ChangeLogLines("02007F570301");
    ASSERT_EQ(lines.size(), 1U);
    EXPECT_TRUE(Contains(lines[0], "\t127.87.3.1\tSIMPROJ\t(password)\t")) << lines[0];
    EXPECT_TRUE(Contains(lines[0], "@")) << lines[0];
    EXPECT_FALSE(Contains(lines[0], "new-one") || Contains(lines[0], "old")) << lines[0];
}

// A projector without a password gets its first one with no current password given or asked.
TEST(PasswdCommand, FirstPasswordNeedsNoCurrentOne) {
    CProjectorOnPort sim("127.87.3.4");
    CliSetup fromEnvironment;
    fromEnvironment.environment = {{"LANTERNA_NEW_PASSWORD", "first"}};
    const auto run = RunCli({"passwd", "127.87.3.4"}, fromEnvironment);
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(sim.projector->Settings().password, "first");

    // Now it has one: that is asked for first, then the new one twice.
    CliSetup asked;
    asked.hiddenAnswers = {"first", "second", "second"};
    EXPECT_EQ(RunCli({"passwd", "127.87.3.4"}, asked).status, 0);
    EXPECT_EQ(sim.projector->Settings().password, "second");
    const auto locked = RunCli({"passwd", "127.87.3.4"}, fromEnvironment);
    EXPECT_EQ(locked.status, 1);
    EXPECT_EQ(sim.projector->Settings().password, "second");
}

TEST(PasswdCommand, AsksTwiceAndRefusesDifferentAnswers) {
    CProjectorOnPort sim("127.87.3.2", "old");
    CliSetup differ;
    differ.hiddenAnswers = {"old", "new-one", "New-one"};
    const auto run = RunCli({"passwd", "127.87.3.2"}, differ);
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(Contains(run.err, LoadString(127))) << run.err;
    EXPECT_EQ(sim.projector->Settings().password, "old");

    CliSetup same;
    same.hiddenAnswers = {"old", "new-one", "new-one"};
    EXPECT_EQ(RunCli({"passwd", "127.87.3.2"}, same).status, 0);
    EXPECT_EQ(sim.projector->Settings().password, "new-one");
}

TEST(PasswdCommand, WrongCurrentPasswordOrTooLongNewOneFails) {
    CProjectorOnPort sim("127.87.3.3", "old");
    CliSetup wrong;
    wrong.environment = {{"LANTERNA_PASSWORD", "bad"}, {"LANTERNA_NEW_PASSWORD", "x"}};
    const auto run = RunCli({"passwd", "127.87.3.3"}, wrong);
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(Contains(run.err, LoadString(128))) << run.err;

    CliSetup tooLong;
    tooLong.environment = {{"LANTERNA_PASSWORD", "old"},
                           {"LANTERNA_NEW_PASSWORD", "fifteen-bytes!!"}};
    EXPECT_EQ(RunCli({"passwd", "127.87.3.3"}, tooLong).status, 1);
    EXPECT_EQ(sim.projector->Settings().password, "old");
}

}  // namespace
}  // namespace lanterna::test
