// lanternactl on many projectors at once: simulated projectors on loopback addresses of their
// own (127.87.20.x and up), every address beyond loopback routed to one of them or to nowhere.

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <sstream>

#include "resources/StringTable.h"
#include "settings/SettingsFile.h"
#include "tests/integration/lanternactl/ProjectorOnLoopback.h"
#include "tests/support/cli/CliHarness.h"
#include "tools/projector-sim/ProjectorSettings.h"

namespace lanterna::test {
namespace {

using sim::SimulatorConfig;

sim::SimulatorConfig Config(const std::string& address, const std::string& name,
                            std::uint8_t imType = 21, bool wireless = false) {
    SimulatorConfig config = CProjectorOnPort::ConfigFor(address);
    config.name = name;
    config.imType = imType;
    config.wireless = wireless;
    return config;
}

// These tests read the English outcome words and summaries: lanternactl is asked for English
// (and the program's own language is English too, see CMakeLists.txt, so that the messages
// taken from the string table here match the ones lanternactl prints).
CliRun RunInEnglish(const std::vector<std::string>& args, CliSetup setup = {}) {
    setup.environment.emplace("LANTERNA_LANG", "en");
    return RunCli(args, setup);
}

// The blank-separated words of each output line.
std::vector<std::vector<std::string>> Words(const std::string& out) {
    std::vector<std::vector<std::string>> lines;
    std::istringstream text(out);
    for (std::string line; std::getline(text, line);) {
        std::istringstream words(line);
        auto& row = lines.emplace_back();
        for (std::string word; words >> word;) {
            row.push_back(word);
        }
    }
    return lines;
}

std::string DerivedMacOf(const std::string& address) {
    Octets octets{};
    ScanDottedInto(address, octets);
    return sim::DerivedMac(octets);
}

std::size_t CountOf(const std::string& text, std::string_view part) {
    std::size_t count = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
        ++count;
    }
    return count;
}

bool HasSets(const Lines& log) {
    return std::any_of(log.begin(), log.end(),
                       [](const std::string& line) { return line.find('?') == std::string::npos; });
}

// ---- reading many ---------------------------------------------------------------------------

TEST(FleetRead, EveryTargetInOrderWithItsOwnModuleTypeAndPassword) {
    CProjectorOnPort wired(Config("127.87.20.1", "ROOM-201"));
    CProjectorOnPort extended(Config("127.87.20.2", "LAB-WL1", 22, true));
    SimulatorConfig lockedConfig = Config("127.87.20.3", "HALL-1F");
    lockedConfig.password = "pw";
    CProjectorOnPort locked(lockedConfig);
    const CTestFile book("fleet-book-87-20", "# rooms\n127.87.20.3 pw\n");

    // Nothing answers at .9: its line says so, the others are read all the same.
    const auto run =
        RunInEnglish({"read", "127.87.20.1-3", "127.87.20.9", "--passwords", book.path, "-j", "2"});
    EXPECT_EQ(run.status, 1) << run.err;
    const auto lines = Words(run.out);
    ASSERT_EQ(lines.size(), 5U) << run.out;
    EXPECT_EQ(lines[0], (std::vector<std::string>{"127.87.20.1", "ROOM-201", "read", "wired,",
                                                  "type", "21,", "127.87.20.1/255.255.255.0"}));
    EXPECT_EQ(lines[1][1], "LAB-WL1");
    EXPECT_EQ(lines[1][3], "wireless,");
    EXPECT_EQ(lines[2][1], "HALL-1F");
    EXPECT_EQ(lines[2][2], "read");
    EXPECT_EQ(lines[3][0], "127.87.20.9");
    EXPECT_TRUE(Contains(run.out, "not answering  " + std::string(LoadString(121)) +
                                      "; no answer to the hello within 5 seconds; worked on as "
                                      "module type 0"))
        << run.out;
    EXPECT_EQ(run.out.substr(run.out.rfind("4 targets")), "4 targets: 3 read, 1 not answering\n");
    // The hello told the module type: the extended module is read with its own commands.
    const Lines log = extended.Log();
    EXPECT_NE(std::find(log.begin(), log.end(), "NWWLCNFS?"), log.end());
    EXPECT_NE(std::find(log.begin(), log.end(), "NWWLSEC?"), log.end());
    EXPECT_EQ(std::find(log.begin(), log.end(), "NWWLCNF?"), log.end());

    const auto json = RunInEnglish({"read", "127.87.20.1-2", "--json"});
    ASSERT_EQ(json.status, 0) << json.err;
    const auto array = nlohmann::json::parse(json.out);
    ASSERT_EQ(array.size(), 2U);
    EXPECT_EQ(array[1]["address"], "127.87.20.2");
    EXPECT_EQ(array[1]["outcome"], "read");
    EXPECT_EQ(array[1]["ok"], true);
    EXPECT_EQ(array[1]["record"]["imType"], 22);
    EXPECT_EQ(array[1]["record"]["essid"], "PROJ-LAN");
}

TEST(FleetRead, TypeGivenSkipsTheHelloAndATargetWithoutPasswordSaysWhy) {
    CProjectorOnPort extended(Config("127.87.20.11", "LAB-WL2", 22, true));
    SimulatorConfig lockedConfig = Config("127.87.20.12", "ROOM-202");
    lockedConfig.password = "pw";
    CProjectorOnPort locked(lockedConfig);
    const auto run = RunInEnglish({"read", "127.87.20.11-12", "--type", "0"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(extended.projector->Counters().helloAnswered, 0U);
    EXPECT_EQ(locked.projector->Counters().helloAnswered, 0U);
    const Lines log = extended.Log();
    EXPECT_NE(std::find(log.begin(), log.end(), "NWWLCNF?"), log.end()) << "read as type 0";
    EXPECT_TRUE(Contains(run.out,
                         "needs a password  the projector needs a password: set "
                         "LANTERNA_PASSWORD"))
        << run.out;
    EXPECT_TRUE(Contains(run.out, "2 targets: 1 read, 1 needs a password")) << run.out;
}

TEST(FleetRead, PasswordBookMustBeTheOwnersAloneAndWellFormed) {
    CProjectorOnPort sim("127.87.20.21", "pw");
    const CTestFile open("fleet-book-open", "127.87.20.21 pw\n", 0644);
    const auto refused = RunInEnglish({"read", "127.87.20.21", "--passwords", open.path});
    EXPECT_EQ(refused.status, 1);
    EXPECT_TRUE(Contains(refused.err, "others than its owner may read it")) << refused.err;
    const CTestFile bad("fleet-book-bad", "# fine\nprojector pw\n");
    const auto malformed = RunInEnglish({"read", "127.87.20.21", "--passwords", bad.path});
    EXPECT_EQ(malformed.status, 1);
    EXPECT_TRUE(Contains(malformed.err, bad.path + ":2: not 'ADDRESS PASSWORD'")) << malformed.err;
    const CTestFile tooLong("fleet-book-long", "127.87.20.21 fifteen-bytes!!\n");
    const auto longer = RunInEnglish({"read", "127.87.20.21", "--passwords", tooLong.path});
    EXPECT_EQ(longer.status, 1);
    EXPECT_TRUE(Contains(longer.err, "is 15 bytes long; a projector takes at most 14"))
        << longer.err;
    EXPECT_TRUE(sim.Log().empty()) << "no password went out";
}

TEST(FleetRead, AllIsWhatTheSearchFindsWithItsModuleType) {
    CProjectorOnPort sim(Config("127.87.20.31", "LOBBY", 22, true));
    CliSetup setup;
    setup.search = SearchTargets{
        .hello = {.address = "127.87.20.31", .port = ProcessProjectorPort(), .localPort = 0},
        .secondary = {.address = "127.87.20.31", .port = sim.projector->SecondaryPort()},
        .pjlink = {.address = "127.87.20.31", .port = 9, .localPort = 0}};
    const auto run = RunInEnglish({"read", "--all"}, setup);
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(Contains(run.out, "127.87.20.31  LOBBY  read  wireless, type 22")) << run.out;
    EXPECT_TRUE(Contains(run.out, "1 target: 1 read\n")) << run.out;
    EXPECT_EQ(sim.projector->Counters().helloAnswered, 1U) << "the search's hello only";
}

// ---- set: dry run, write, read-back ---------------------------------------------------------

TEST(FleetSet, DryRunPrintsTheSettingsThenTheWriteIsReadBack) {
    CProjectorOnPort first(Config("127.87.21.1", "ROOM-211"));
    CProjectorOnPort second(Config("127.87.21.2", "ROOM-212"));
    const std::vector<std::string> change = {"set",
                                             "127.87.21.1-2",
                                             "community=lab",
                                             "mailNotify=on",
                                             "smtpServer=10.0.0.25",
                                             "mailTo1=ops@example.org",
                                             "mailEvents1=lamp-replacement,no-signal"};
    std::vector<std::string> dry = change;
    dry.push_back("--dry-run");
    const auto preview = RunInEnglish(dry);
    ASSERT_EQ(preview.status, 0) << preview.err << preview.out;
    // The settings as the projector has them and after; the lines behind --protocol.
    const std::string settings =
        "    mailNotify:   off      ->  on\n"
        "    smtpServer:   0.0.0.0  ->  10.0.0.25\n"
        "    mailTo1:      (none)   ->  ops@example.org\n"
        "    mailEvents1:  none     ->  lamp-replacement,no-signal\n"
        "    community:    public   ->  lab\n";
    EXPECT_EQ(preview.out, "127.87.21.1  ROOM-211  would send  5 settings change\n" + settings +
                               "127.87.21.2  ROOM-212  would send  5 settings change\n" + settings +
                               "2 targets: 2 would send\n");
    dry.push_back("--protocol");
    const auto protocol = RunInEnglish(dry);
    EXPECT_TRUE(Contains(protocol.out, settings + "    NWSMTPACT ON\n    NWSMTPSRV 10.0.0.25\n"
                                                  "    NWSMTPTO1 ops@example.org\n"
                                                  "    NWSMTPEVT1 0003 0000\n    NWCNAME lab\n"))
        << protocol.out;
    EXPECT_FALSE(HasSets(first.Log()));
    EXPECT_FALSE(HasSets(second.Log()));

    const auto run = RunInEnglish(change);
    ASSERT_EQ(run.status, 0) << run.out;
    EXPECT_TRUE(Contains(run.out, "ROOM-211  set  5 command lines sent; verified; ")) << run.out;
    EXPECT_TRUE(Contains(run.out, "2 targets: 2 set\n")) << run.out;
    EXPECT_TRUE(Contains(run.out, std::string(LoadString(152)) + " no")) << "no test mail";
    EXPECT_EQ(second.projector->Settings().community, "lab");
    EXPECT_EQ(second.projector->Settings().mailEvents[0], (std::array<std::uint16_t, 2>{3, 0}));

    // Nothing differs any more.
    const auto again = RunInEnglish(change);
    EXPECT_EQ(again.status, 0);
    EXPECT_TRUE(Contains(again.out, "2 targets: 2 unchanged\n")) << again.out;
}

TEST(FleetSet, RefusedBeforeAnythingIsSent) {
    CProjectorOnPort wired(Config("127.87.22.1", "ROOM-221"));
    CProjectorOnPort extended(Config("127.87.22.2", "LAB-WL2", 22, true));
    CProjectorOnPort dhcp(Config("127.87.22.3", "ROOM-223"));
    CProjectorOnPort basic(Config("127.87.22.4", "LAB-WL6", 21, true));
    auto settings = dhcp.projector->Settings();
    settings.wired.dhcp = true;
    dhcp.projector->SetSettings(settings);
    // The gate's words are its unit table's: here each refuses, says something and sends nothing.
    const std::vector<std::vector<std::string>> cases = {
        {"set", "127.87.22.1", "essid=LAB"},
        {"set", "127.87.22.2", "wepKey=abcde"},
        {"set", "127.87.22.4", "security=wep64"},
        {"set", "127.87.22.4", "wepEnabled=on", "wepKey=abcd"},
        {"set", "127.87.22.3", "dns1=10.0.0.53"},
        {"set", "127.87.22.1", "mailTo2=desk@example.org"},
        {"set", "127.87.22.1", "dns1=127.0.0.1"},
        {"set", "127.87.22.1", "mailNotify=on"},
        {"set", "127.87.22.1", "community=a-b"},
        {"set", "127.87.22.2", "essid=has:colon"},
        {"set", "127.87.22.2", "security=wep64", "wepKey2=abcde"},
    };
    for (const std::vector<std::string>& args : cases) {
        const auto run = RunInEnglish(args);
        EXPECT_EQ(run.status, 1) << args.back();
        EXPECT_FALSE(run.err.empty()) << args.back();
    }
    EXPECT_FALSE(HasSets(wired.Log()));
    EXPECT_FALSE(HasSets(extended.Log()));
    EXPECT_FALSE(HasSets(dhcp.Log()));

    // A settings file with a name but no address would cut the projector off the network.
    ProjectorRecord partial{};
    CopyText(partial.projectorName, "ROOM-9");
    CopyText(partial.macAddress, wired.projector->Settings().mac);
    partial.imType = 21;
    const std::string path = ::testing::TempDir() + "fleet-partial.ini";
    ASSERT_EQ(WriteSettingsFile(partial, path), 1);
    const auto apply = RunInEnglish({"apply", path, "127.87.22.1"});
    std::remove(path.c_str());
    EXPECT_EQ(apply.status, 1);
    EXPECT_FALSE(apply.err.empty());
    EXPECT_FALSE(HasSets(wired.Log()));
}

TEST(FleetSet, AnAddressTakenByAnotherTargetOrAnsweringAHelloNeedsForce) {
    CProjectorOnPort first(Config("127.87.23.1", "ROOM-231"));
    CProjectorOnPort second(Config("127.87.23.2", "ROOM-232"));
    CProjectorOnPort taken(Config("127.87.23.9", "ROOM-TAKEN"));
    const auto both =
        RunInEnglish({"set", "127.87.23.1-2", "ipAddress=10.20.0.5", "gateway=10.20.0.1"});
    EXPECT_EQ(both.status, 1);
    EXPECT_TRUE(Contains(both.out,
                         "refused  ipAddress 10.20.0.5 is had or given by another target of this "
                         "command (--force writes it anyway)"))
        << both.out;
    EXPECT_TRUE(Contains(both.out, "2 targets: 2 refused\n")) << both.out;

    CliSetup routed;
    routed.routes = {{"10.20.0.7", "127.87.23.9"}};
    const std::vector<std::string> move = {"set", "127.87.23.1", "ipAddress=10.20.0.7",
                                           "gateway=10.20.0.1"};
    const auto answered = RunInEnglish(move, routed);
    EXPECT_EQ(answered.status, 1);
    EXPECT_TRUE(Contains(answered.err,
                         "ipAddress=10.20.0.7 is taken: ROOM-TAKEN answers a hello "
                         "there (--force writes it anyway)"))
        << answered.err;
    EXPECT_FALSE(HasSets(first.Log()));
    EXPECT_FALSE(HasSets(second.Log()));

    std::vector<std::string> forced = move;
    forced.push_back("--force");
    const auto run = RunInEnglish(forced, routed);
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(first.Log().back(), "NWCNF OFF 10.20.0.7 255.255.255.0 10.20.0.1");
}

// The projector answers at its new address: the one routed there is read back (it has the same
// hardware address). What it reports decides whether the address took.
TEST(FleetSet, NewAddressIsWaitedForAndReadBack) {
    SimulatorConfig movedConfig = Config("127.87.24.2", "ROOM-241");
    movedConfig.mac = DerivedMacOf("127.87.24.1");
    CProjectorOnPort origin(Config("127.87.24.1", "ROOM-241"));
    CProjectorOnPort moved(movedConfig);
    CliSetup routed;
    routed.routes = {{"10.20.1.5", "127.87.24.2"}};
    const std::vector<std::string> move = {"set",
                                           "127.87.24.1",
                                           "ipAddress=10.20.1.5",
                                           "gateway=10.20.1.1",
                                           "--verify",
                                           "--force",
                                           "--settle",
                                           "5"};
    const auto defaults = origin.projector->Settings();

    const auto stale = RunInEnglish(move, routed);
    EXPECT_EQ(stale.status, 1);
    EXPECT_TRUE(Contains(stale.err,
                         "did not take at 10.20.1.5: dhcp, ipAddress, subnetMask, "
                         "gateway: sent \"NWCNF OFF 10.20.1.5 255.255.255.0 "
                         "10.20.1.1\", the projector reports \"NWCNF OFF 127.87.24.2 "
                         "255.255.255.0 127.87.24.1\""))
        << stale.err;

    origin.projector->SetSettings(defaults);
    ASSERT_TRUE(moved.projector->ApplySet("NWCNF", "OFF 10.20.1.5 255.255.255.0 10.20.1.1"));
    const auto took = RunInEnglish(move, routed);
    EXPECT_EQ(took.status, 0) << took.err;
    EXPECT_TRUE(took.out.ends_with("verified at 10.20.1.5\n")) << took.out;

    origin.projector->SetSettings(defaults);
    std::vector<std::string> nowhere = move;
    nowhere[2] = "ipAddress=10.20.1.6";
    nowhere.back() = "1";
    const auto silent = RunInEnglish(nowhere, routed);
    EXPECT_EQ(silent.status, 1);
    EXPECT_TRUE(Contains(silent.err,
                         "no answer to a hello at 10.20.1.6 within 1 second of the "
                         "write"))
        << silent.err;
}

TEST(FleetSet, ExtendedModuleIsResetThenReadBack) {
    CProjectorOnPort extended(Config("127.87.24.11", "LAB-WL3", 22, true));
    CProjectorOnPort basic(Config("127.87.24.12", "LAB-WL4", 21, true));
    const auto run = RunInEnglish({"set", "127.87.24.11-12", "essid=HALL-LAN", "--settle", "5"});
    ASSERT_EQ(run.status, 0) << run.out;
    EXPECT_EQ(extended.Counters().resets, 1U);
    EXPECT_EQ(basic.Counters().resets, 0U);
    EXPECT_TRUE(Contains(run.out, "2 targets: 2 set\n")) << run.out;
    EXPECT_EQ(CountOf(run.out, "; verified"), 2U) << run.out;
    EXPECT_EQ(extended.projector->Settings().essid, "HALL-LAN");
}

// ---- apply a template ---------------------------------------------------------------------

TEST(FleetApply, TemplateKeepsEachProjectorsOwnNameAndAddress) {
    CProjectorOnPort first(Config("127.87.25.1", "ROOM-251"));
    CProjectorOnPort second(Config("127.87.25.2", "ROOM-252"));
    ProjectorRecord site{};
    CopyText(site.projectorName, "TEMPLATE");
    CopyText(site.macAddress, "0200AABBCCDD");
    site.imType = 21;
    site.ipAddress = {10, 9, 9, 9};
    site.subnetMask = {255, 0, 0, 0};
    site.dns1 = {10, 0, 0, 53};
    site.dns1State = site.dns2State = kStateRead;
    CopyText(site.community, "site");
    const std::string path = ::testing::TempDir() + "fleet-site.ini";
    ASSERT_EQ(WriteSettingsFile(site, path), 1);

    const auto preview = RunInEnglish({"apply", "--template", path, "127.87.25.1-2", "--dry-run"});
    ASSERT_EQ(preview.status, 0) << preview.out;
    EXPECT_TRUE(Contains(preview.out,
                         "ROOM-251  would send  2 settings change\n"
                         "    dns1:       0.0.0.0  ->  10.0.0.53\n"
                         "    community:  public   ->  site\n"
                         "    left as each projector has it: projectorName, dhcp, ipAddress, "
                         "subnetMask, gateway (each projector keeps its own)\n"))
        << preview.out;
    const auto run = RunInEnglish({"apply", "--template", path, "127.87.25.1-2"});
    EXPECT_EQ(run.status, 0) << run.out;
    EXPECT_TRUE(Contains(run.out, "2 targets: 2 set\n")) << run.out;
    EXPECT_EQ(second.projector->Settings().name, "ROOM-252");
    EXPECT_EQ(second.projector->Settings().wired.ipAddress, (Octets{127, 87, 25, 2}));
    EXPECT_EQ(second.projector->Settings().community, "site");
    const auto again = RunInEnglish({"apply", "--template", path, "127.87.25.1-2"});
    EXPECT_TRUE(Contains(again.out, "2 targets: 2 unchanged\n")) << again.out;

    // A file saved from a wireless projector leaves a wired one's interface as it is (its
    // preferred gateway, its reset) and the dry run says so.
    site.wirelessActive = 1;
    site.essidSet = 1;
    site.primaryInterfaceState = kStateRead;
    site.primaryInterface = 1;
    CopyText(site.essid, "SITE-LAN");
    ASSERT_EQ(WriteSettingsFile(site, path), 1);
    const auto wireless =
        RunInEnglish({"apply", "--template", path, "127.87.25.1", "--dry-run"});
    EXPECT_EQ(wireless.status, 0) << wireless.err;
    EXPECT_TRUE(wireless.out.starts_with("nothing differs\n")) << wireless.out;
    EXPECT_TRUE(
        Contains(wireless.out,
                 "\n    left as each projector has it: "
                 "primaryInterface, essid, adhoc, wepEnabled, wepKey (the file was not saved "
                 "from a projector of the same interface kind"))
        << wireless.out;
    const auto written = RunInEnglish({"apply", "--template", path, "127.87.25.1"});
    std::remove(path.c_str());
    EXPECT_EQ(written.status, 0) << written.err;
    EXPECT_EQ(first.projector->Settings().primaryInterface, 0);
}

// A file applied whole to a range reaches the projector it was saved from; its address is not
// "taken" by the other targets, which keep their own.
TEST(FleetApply, WholeFileToSeveralGoesToItsOwnProjectorOnly) {
    CProjectorOnPort own(Config("127.87.25.11", "ROOM-2511"));
    CProjectorOnPort other(Config("127.87.25.12", "ROOM-2512"));
    ProjectorRecord saved{};
    CopyText(saved.projectorName, "ROOM-2511");
    CopyText(saved.macAddress, DerivedMacOf("127.87.25.11"));
    saved.imType = 21;
    saved.ipAddress = {10, 9, 25, 11};
    saved.subnetMask = {255, 255, 0, 0};
    saved.ipAddressState = kStateRead;
    CopyText(saved.community, "room");
    const std::string path = ::testing::TempDir() + "fleet-own.ini";
    ASSERT_EQ(WriteSettingsFile(saved, path), 1);
    const auto run = RunInEnglish({"apply", path, "127.87.25.11-12", "--no-verify"});
    std::remove(path.c_str());
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(Contains(run.out, "127.87.25.11  ROOM-2511  set  ")) << run.out;
    EXPECT_TRUE(Contains(run.out, "2 targets: 1 set, 1 other projector\n")) << run.out;
    EXPECT_EQ(own.projector->Settings().community, "room");
    EXPECT_FALSE(HasSets(other.Log()));
}

// ---- passwords, queries, probes ------------------------------------------------------------

TEST(FleetPasswd, OnePasswordForAllFromFilesAndAFirstOne) {
    CProjectorOnPort open(Config("127.87.26.1", "ROOM-261"));
    SimulatorConfig lockedConfig = Config("127.87.26.2", "ROOM-262");
    lockedConfig.password = "old";
    CProjectorOnPort locked(lockedConfig);
    // A dry run asks each only whether it has a password, and sends nothing.
    const auto planned = RunInEnglish({"passwd", "127.87.26.1-3", "--dry-run"});
    EXPECT_EQ(planned.status, 1) << planned.err;
    EXPECT_EQ(planned.out,
              "127.87.26.1  ROOM-261  would send     would get its first password (it has none)\n"
              "127.87.26.2  ROOM-262  would send     would have its password changed\n"
              "127.87.26.3  -         not answering  " +
                  std::string(LoadString(121)) +
                  "; no answer to the hello within 5 seconds; worked on as module type 0\n"
                  "3 targets: 2 would send, 1 not answering\n");
    EXPECT_EQ(locked.projector->Settings().password, "old");
    EXPECT_TRUE(locked.Log().empty()) << "the probe sends no command line";

    // The projector without a password needs none named: its first one is set.
    const CTestFile book("fleet-passwd-book", "127.87.26.2 old\n");
    const CTestFile fresh("fleet-passwd-new", "new-pw\n");
    const auto run = RunInEnglish(
        {"passwd", "127.87.26.1-2", "--passwords", book.path, "--new-password-file", fresh.path});
    EXPECT_EQ(run.status, 0) << run.out << run.err;
    EXPECT_TRUE(Contains(run.out, "127.87.26.2  ROOM-262  password changed  password changed\n"))
        << "named by the hello";
    EXPECT_TRUE(Contains(run.out, "127.87.26.1  ROOM-261  password changed  first password set"))
        << run.out;
    EXPECT_TRUE(Contains(run.out, "2 targets: 2 password changed\n")) << run.out;
    EXPECT_EQ(open.projector->Settings().password, "new-pw");
    EXPECT_EQ(locked.projector->Settings().password, "new-pw");

    const CTestFile tooLong("fleet-passwd-long", "fifteen-bytes!!\n");
    const auto longer = RunInEnglish(
        {"passwd", "127.87.26.1-2", "--passwords", book.path, "--new-password-file", tooLong.path});
    EXPECT_EQ(longer.status, 1);
    EXPECT_TRUE(
        Contains(longer.err, "the new password is 15 bytes long; a projector takes at most 14"))
        << longer.err;
}

TEST(FleetQueryAndProbe, LinesPerTarget) {
    CProjectorOnPort first(Config("127.87.27.1", "ROOM-271"));
    CProjectorOnPort second(Config("127.87.27.2", "LAB-WL5", 22, true));
    const auto query = RunInEnglish({"query", "127.87.27.1-2", "NWPNAME", "NWIF"});
    EXPECT_EQ(query.status, 0) << query.out;
    EXPECT_TRUE(Contains(query.out, "127.87.27.2  -  queried  NWPNAME=LAB-WL5 NWIF=1\n"))
        << query.out;
    const auto probe = RunInEnglish({"probe", "127.87.27.1-2", "--json"});
    EXPECT_EQ(probe.status, 0) << probe.out;
    const auto array = nlohmann::json::parse(probe.out);
    ASSERT_EQ(array.size(), 2U);
    EXPECT_EQ(array[1]["name"], "LAB-WL5");
    EXPECT_EQ(array[1]["imType"], 22);
    EXPECT_EQ(array[1]["outcome"], "answered");
}

// ---- inventory and audit --------------------------------------------------------------------

TEST(FleetInventoryAndAudit, RowsAndFindings) {
    SimulatorConfig guardedConfig = Config("127.87.28.1", "HALL-1F");
    guardedConfig.password = "pw";
    CProjectorOnPort guarded(guardedConfig);
    auto settings = guarded.projector->Settings();
    settings.community = "ops1";
    guarded.projector->SetSettings(settings);
    CProjectorOnPort mailer(Config("127.87.28.2", "ROOM-1"));
    ASSERT_TRUE(mailer.projector->ApplySet("NWSMTPACT", "ON"));
    ASSERT_TRUE(mailer.projector->ApplySet("NWSMTPSRV", "10.0.0.25"));
    ASSERT_TRUE(mailer.projector->ApplySet("NWSMTPTO1", "ops@example.org"));
    CProjectorOnPort wep(Config("127.87.28.3", "ROOM-1", 21, true));
    ASSERT_TRUE(wep.projector->ApplySet("NWWLCNF",
                                        "OFF 127.87.28.3 255.255.255.0 127.87.28.1 6 "
                                        "PROJ-LAN 6162636465"));
    CProjectorOnPort adhoc(Config("127.87.28.4", "LAB-WL1", 22, true));
    ASSERT_TRUE(adhoc.projector->ApplySet("NWWLCNFS",
                                          "OFF 127.87.28.4 255.255.255.0 "
                                          "127.87.28.1 03 PROJ-LAN"));
    // Locked (its password not given), open and silent to the hello, and nothing at all.
    SimulatorConfig lockedConfig = Config("127.87.28.5", "ROOM-5");
    lockedConfig.password = "pw5";
    CProjectorOnPort locked(lockedConfig);
    SimulatorConfig openConfig = Config("127.87.28.6", "LAB-WL2", 21, true);
    openConfig.discovery.answerHello = false;
    CProjectorOnPort open(openConfig);
    ASSERT_TRUE(open.projector->ApplySet("NWWLCNF",
                                         "OFF 127.87.28.6 255.255.255.0 127.87.28.1 4 LAB-OPEN"));
    const CTestFile book("fleet-audit-book", "127.87.28.1 pw\n");

    const auto csv = RunInEnglish(
        {"inventory", "127.87.28.1-7", "--csv", "--wait", "1", "--passwords", book.path});
    EXPECT_EQ(csv.status, 1) << "not every target was read";
    std::vector<std::string> rows;
    std::istringstream lines(csv.out);
    for (std::string line; std::getline(lines, line);) {
        rows.push_back(line);
    }
    ASSERT_EQ(rows.size(), 8U) << csv.out;
    EXPECT_EQ(rows[0],
              "address,name,hardwareAddress,interface,dhcp,subnetMask,gateway,dns,mail,"
              "smtpServer,recipients,trapAddresses,community,essid,security,password,status,"
              "power,lampHours,errors,model");
    EXPECT_EQ(rows[1],
              "127.87.28.1,HALL-1F,02:00:7F:57:1C:01,wired,off,255.255.255.0,"
              "127.87.28.254,,off,,,,ops1,,-,set,read,,,,");
    EXPECT_EQ(rows[2],
              "127.87.28.2,ROOM-1,02:00:7F:57:1C:02,wired,off,255.255.255.0,"
              "127.87.28.1,,on,10.0.0.25,ops@example.org,,public,,-,none,read,,,,");
    EXPECT_TRUE(rows[3].ends_with(",public,PROJ-LAN,WEP,none,read,,,,")) << rows[3];
    EXPECT_TRUE(rows[4].ends_with(",public,PROJ-LAN,\"none, ad hoc\",none,read,,,,")) << rows[4];
    EXPECT_EQ(rows[5], "127.87.28.5,ROOM-5,,,,,,,,,,,,,,,needs a password,,,,");
    EXPECT_TRUE(rows[6].starts_with("127.87.28.6,LAB-WL2,")) << rows[6];
    EXPECT_TRUE(rows[6].ends_with(",public,LAB-OPEN,none,none,read,,,,")) << rows[6];
    EXPECT_EQ(rows[7], "127.87.28.7,,,,,,,,,,,,,,,,not answering,,,,");
    EXPECT_TRUE(Contains(csv.err, "127.87.28.5: needs a password")) << csv.err;

    // The settable form keeps the same rows, the ones not read with their address alone.
    const auto settable = RunInEnglish({"inventory", "127.87.28.5-7", "--settable", "--wait", "1"});
    EXPECT_EQ(settable.status, 1);
    std::vector<std::string> settableRows;
    std::istringstream settableLines(settable.out);
    for (std::string line; std::getline(settableLines, line);) {
        settableRows.push_back(line);
    }
    ASSERT_EQ(settableRows.size(), 4U) << settable.out;
    EXPECT_TRUE(settableRows[0].ends_with(",wepKey4,status")) << settable.out;
    // hardwareAddress, address, the 33 fields and status.
    EXPECT_EQ(settableRows[1], ",127.87.28.5" + std::string(34, ',') + "needs a password");
    EXPECT_TRUE(settableRows[2].starts_with("02:00:7F:57:1C:06,127.87.28.6,LAB-WL2,"));
    EXPECT_TRUE(settableRows[2].ends_with(",read"));
    EXPECT_EQ(settableRows[3], ",127.87.28.7" + std::string(34, ',') + "not answering");

    const auto audit = RunInEnglish({"audit", "127.87.28.1-4", "127.87.28.6", "--json", "--wait",
                                     "1", "--passwords", book.path});
    EXPECT_EQ(audit.status, 1) << "warnings and worse fail";
    const auto report = nlohmann::json::parse(audit.out);
    std::multiset<std::pair<std::string, std::string>> found;
    for (const auto& finding : report["findings"]) {
        found.emplace(finding["address"], finding["finding"]);
    }
    const std::multiset<std::pair<std::string, std::string>> expected{
        {"127.87.28.2", "no-password"},
        {"127.87.28.2", "community-default"},
        {"127.87.28.2", "mail-without-events"},
        {"127.87.28.2", "duplicate-name"},
        {"127.87.28.3", "no-password"},
        {"127.87.28.3", "community-default"},
        {"127.87.28.3", "wep"},
        {"127.87.28.3", "duplicate-name"},
        {"127.87.28.4", "no-password"},
        {"127.87.28.4", "community-default"},
        {"127.87.28.4", "ad-hoc"},
        {"127.87.28.6", "no-password"},
        {"127.87.28.6", "open-wlan"},
        {"127.87.28.6", "community-default"}};
    EXPECT_EQ(found, expected) << audit.out;
    EXPECT_EQ(report["summary"],
              "5 projectors audited: 5 critical, 8 warnings, 1 notice, 0 not read")
        << audit.out;

    // The guarded projector alone has nothing to report.
    const auto clean = RunInEnglish({"audit", "127.87.28.1", "--passwords", book.path});
    EXPECT_EQ(clean.status, 0) << clean.out;
    EXPECT_EQ(clean.out,
              "ADDRESS  NAME  SEVERITY  FINDING  DETAIL\n"
              "1 projector audited: 0 critical, 0 warnings, 0 notices, 0 not read\n");
}

// ---- reads and writes cut short ---------------------------------------------------------------

// A read whose link fails names the setting it stopped at and fails; inventory keeps the row
// with its status and audit counts it as not read.
TEST(FleetCutShort, AReadThatLosesItsLinkFailsEverywhere) {
    SimulatorConfig config = Config("127.87.29.1", "ROOM-201");
    config.faults.replyFaults["NWSMTPSRV"] = {sim::ReplyFaultKind::kCut, 3, {}};
    CProjectorOnPort cut(config);
    CProjectorOnPort whole(Config("127.87.29.2", "HALL-1F"));

    const auto read = RunInEnglish({"read", "127.87.29.1"});
    EXPECT_EQ(read.status, 1);
    EXPECT_EQ(read.out, "");
    EXPECT_TRUE(Contains(read.err, "link lost while reading smtpServer")) << read.err;

    const auto inventory = RunInEnglish({"inventory", "127.87.29.1-2", "--csv"});
    EXPECT_EQ(inventory.status, 1);
    EXPECT_TRUE(Contains(inventory.out, "\n127.87.29.1,ROOM-201,,,,,,,,,,,,,,,read failed,,,,\n"))
        << inventory.out;
    EXPECT_TRUE(Contains(inventory.out, "\n127.87.29.2,HALL-1F,")) << inventory.out;

    const auto audit = RunInEnglish({"audit", "127.87.29.1-2", "--json"});
    const auto report = nlohmann::json::parse(audit.out);
    ASSERT_EQ(report["notRead"].size(), 1U) << audit.out;
    EXPECT_EQ(report["notRead"][0]["outcome"], "read failed");
}

// A write cut part-way says what went and what did not; one that would carry a setting never
// read is refused.
TEST(FleetCutShort, PartWritesAndUnreadGroupsFail) {
    SimulatorConfig dropping = Config("127.87.29.3", "ROOM-202");
    dropping.faults.dropAfterSets = 1;
    CProjectorOnPort drops(dropping);
    const auto partly = RunInEnglish({"set", "127.87.29.3", "community=lab", "trapAddress1=10.0.0.9"});
    EXPECT_EQ(partly.status, 1);
    EXPECT_TRUE(Contains(partly.err, "partly written: link lost after")) << partly.err;
    EXPECT_TRUE(Contains(partly.err, "accepted: NWTRAPIP1")) << partly.err;
    EXPECT_TRUE(Contains(partly.err, "NWCNAME")) << partly.err;

    SimulatorConfig spoilt = Config("127.87.29.4", "ROOM-203");
    spoilt.faults.replyFaults["NWCNF"] = {sim::ReplyFaultKind::kRawValue, 0,
                                          "OFF 300.1.1.1 255.255.255.0 0.0.0.0"};
    CProjectorOnPort unread(spoilt);
    const auto refused = RunInEnglish({"set", "127.87.29.4", "projectorName=LAB-WL1", "--dry-run"});
    EXPECT_EQ(refused.status, 1);
    EXPECT_TRUE(Contains(refused.err, "was not read from the projector")) << refused.err;
    for (const std::string& line : unread.Log()) {
        EXPECT_TRUE(line.ends_with("?")) << "sent " << line;
    }
}

}  // namespace
}  // namespace lanterna::test
