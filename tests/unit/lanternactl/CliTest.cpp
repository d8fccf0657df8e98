#include <gtest/gtest.h>

#include <set>
#include <sstream>

#include "fleet/EventNames.h"
#include "tests/support/language/LanguageTestSupport.h"
#include "tools/lanternactl/FleetWords.h"
#include "tests/support/cli/CliHarness.h"
#include "tools/lanternactl/CommandHelp.h"

namespace lanterna::cli {
namespace {

using fleet::EventSetNames;
using fleet::ParseEventSet;
using test::RunCli;

TEST(Lanternactl, HelpListsEveryCommandAndExitStatus) {
    const test::CliRun run = RunCli({"--help"});
    EXPECT_EQ(run.status, kExitOk);
    for (const CliCommand& command : AllCommands()) {
        const CommandHelp* help = FindHelp(command.name);
        ASSERT_NE(help, nullptr) << command.name;
        const std::string_view usage = help->usage.substr(0, help->usage.find('\n'));
        EXPECT_NE(run.out.find(usage), std::string::npos) << command.name;
    }
    EXPECT_NE(run.out.find("Exit status"), std::string::npos);
}

// The help table and the command table name the same commands, in the same order, and every
// command answers --help with its own text, whatever else stands on its line.
TEST(Lanternactl, EveryCommandHasItsHelpInLinesOfAtMost78Columns) {
    ASSERT_EQ(AllHelp().size(), AllCommands().size());
    for (std::size_t i = 0; i < AllCommands().size(); ++i) {
        const std::string name(AllCommands()[i].name);
        EXPECT_EQ(AllHelp()[i].name, name);
        const test::CliRun run = RunCli({name, "10.0.0.1", "--help"});
        EXPECT_EQ(run.status, kExitOk) << name;
        EXPECT_EQ(run.err, "") << name;
        EXPECT_TRUE(run.out.starts_with("Usage: lanternactl " + name)) << run.out;
        for (const OptionEntry& option : AllHelp()[i].options) {
            EXPECT_NE(run.out.find(option.name), std::string::npos) << name << option.name;
        }
        std::istringstream lines(run.out);
        for (std::string line; std::getline(lines, line);) {
            EXPECT_LE(line.size(), 78U) << name << ": " << line;
        }
    }
    EXPECT_EQ(RunCli({"help", "audit"}).out, RunCli({"audit", "-h"}).out);
    // After "--" a word is no option.
    EXPECT_EQ(RunCli({"read", "--", "--help"}).status, kExitUsage);
}

TEST(Lanternactl, HelpOfSetAndAuditListTheirFieldsEventsAndFindings) {
    const std::string set = RunCli({"set", "--help"}).out;
    for (const char* part : {"projectorName", "mailEvents1", "wepKey4 [wireless, type 22]",
                             "lamp-replacement", "internal-error", "1 to 65535"}) {
        EXPECT_NE(set.find(part), std::string::npos) << part;
    }
    const std::string audit = RunCli({"audit", "--help"}).out;
    for (const char* finding : {"no-password", "community-default", "community-empty", "wep",
                                "ad-hoc", "mail-without-events", "duplicate-name",
                                "duplicate-address", "dhcp-without-dns", "open-wlan"}) {
        EXPECT_NE(audit.find(finding), std::string::npos) << finding;
    }
    EXPECT_NE(RunCli({"passwd", "--help"}).out.find("first password"), std::string::npos);
}

TEST(Lanternactl, VersionBothWays) {
    const test::CliRun flag = RunCli({"--version"});
    EXPECT_EQ(flag.status, kExitOk);
    EXPECT_TRUE(flag.out.starts_with("lanternactl ")) << flag.out;
    EXPECT_EQ(flag.out, RunCli({"version"}).out);
}

TEST(Lanternactl, UnknownOrMissingCommandIsAUsageError) {
    EXPECT_EQ(RunCli({}).status, kExitUsage);
    const test::CliRun run = RunCli({"frobnicate"});
    EXPECT_EQ(run.status, kExitUsage);
    EXPECT_NE(run.err.find("frobnicate"), std::string::npos);
}

// Options come from the help table: what it does not list is refused before anything is sent.
TEST(Lanternactl, OptionsAreTakenAsTheHelpListsThem) {
    struct Case {
        std::vector<std::string> args;
        std::string error;
    };
    const Case cases[] = {
        {{"read", "10.0.0.1", "--frob"}, "unknown option '--frob'"},
        {{"read", "10.0.0.1", "--jobs"}, "--jobs needs N"},
        {{"read", "10.0.0.1", "-j0"}, "--jobs takes a whole number from 1 to 128, not '0'"},
        {{"read", "10.0.0.1", "--jobs=x"}, "not 'x'"},
        {{"read", "10.0.0.1", "--json=yes"}, "--json takes no value"},
        {{"set", "10.0.0.1", "community=x", "--settle", "601"}, "from 0 to 600"},
        {{"set", "10.0.0.1", "community=x", "--test-mail", "maybe"}, "yes or no"},
        {{"set", "10.0.0.1"}, "usage: lanternactl set TARGET... FIELD=VALUE..."},
        {{"read", "10.0.0.1-0"}, "neither an address nor a range"},
        {{"read", "10.0.0.9-10.0.0.1"}, "neither an address nor a range"},
        {{"read", "10.0.0.0-10.0.255.255"}, "more than 4096 targets"},
        {{"apply", "--template"}, "--template needs FILE.ini"},
        {{"read", "--targets", "-", "--passwords", "-"}, "cannot both read standard input"},
    };
    for (const Case& c : cases) {
        const test::CliRun run = RunCli(c.args);
        EXPECT_EQ(run.status, kExitUsage) << c.args.back();
        EXPECT_NE(run.err.find(c.error), std::string::npos) << run.err;
    }
}

TEST(EventNames, NamesNumbersAndNone) {
    EXPECT_EQ(ParseEventSet("lamp-replacement,no-signal"), 0x003U);
    EXPECT_EQ(ParseEventSet("internal-error"), 0x400U);
    EXPECT_EQ(ParseEventSet("0x7ff"), 0x7ffU);
    EXPECT_EQ(ParseEventSet("1025"), 0x401U);
    EXPECT_EQ(ParseEventSet("none"), 0U);
    for (const char* bad : {"", "0x800", "2048", "lamp", "no-signal,", ",no-signal", "-1"}) {
        EXPECT_FALSE(ParseEventSet(bad).has_value()) << bad;
    }
    EXPECT_EQ(EventSetNames(0x401), "lamp-replacement,internal-error");
    EXPECT_EQ(EventSetNames(0), "none");
    EXPECT_EQ(ParseEventSet(EventSetNames(0x7ff)), 0x7ffU);
}

}  // namespace
// Why the write gate refused a setting the projector lacks or the write would not carry, as
// lanternactl says it; the commands only tell that a message came.
TEST(FleetWords, WhyASettingIsMissingOrNotSent) {
    const test::ScopedLanguage english(Language::English);
    ProjectorRecord wired{};
    wired.imType = 21;
    ProjectorRecord extended{};
    extended.imType = 22;
    using fleet::MissingReason;
    using fleet::NotSentReason;
    EXPECT_EQ(MissingSettingText("essid", MissingReason::kWiredInterface, wired),
              "essid is a wireless LAN setting; the projector uses its wired interface");
    EXPECT_EQ(MissingSettingText("wepKey", MissingReason::kBasicWirelessOnly, extended),
              "wepKey belongs to modules other than type 22; this one sets WEP with security, "
              "wepKeyId and wepKey1 to wepKey4");
    EXPECT_EQ(MissingSettingText("security", MissingReason::kExtendedWireless, wired),
              "security belongs to type-22 modules; this one (type 21) sets WEP with wepEnabled and "
              "wepKey");
    EXPECT_TRUE(NotSentText("dns1", NotSentReason::kDhcp)
                    .starts_with("dns1 is not sent while the projector takes its address from "
                                 "DHCP (give dhcp=off"));
    EXPECT_EQ(NotSentText("mailTo2", NotSentReason::kMailOff),
              "mailTo2 is not sent while mail notification is off (give mailNotify=on with it)");
}

}  // namespace lanterna::cli
