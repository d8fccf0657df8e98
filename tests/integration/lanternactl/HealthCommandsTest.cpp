// lanternactl's PJLink commands against simulated projectors on loopback addresses of their own
// (127.43.20.x), PJLink on its own port 4352 there.

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <sstream>
#include <string>

#include "tests/integration/lanternactl/ProjectorOnLoopback.h"
#include "tests/support/cli/CliHarness.h"

namespace lanterna::test {
namespace {

// A projector whose network module has `modulePassword` and whose PJLink has `pjlinkPassword`.
CProjectorOnPort Projector(const std::string& address, const std::string& pjlinkPassword,
                           const std::string& errors = "000000",
                           const std::string& modulePassword = "") {
    sim::SimulatorConfig config = CProjectorOnPort::ConfigFor(address, modulePassword);
    config.name = "ROOM-" + address.substr(address.rfind('.') + 1);
    config.pjlink.enabled = true;
    config.pjlink.password = pjlinkPassword;
    config.pjlink.errors = errors;
    return CProjectorOnPort(config);
}

CliRun RunInEnglish(const std::vector<std::string>& args, CliSetup setup = {}) {
    setup.environment.emplace("LANTERNA_LANG", "en");
    return RunCli(args, setup);
}

TEST(HealthCommands, StatusRowsWithPasswordsFromTheirOwnBook) {
    const CProjectorOnPort open = Projector("127.43.20.1", "");
    const CProjectorOnPort locked = Projector("127.43.20.2", "pj-secret", "020000");
    const CTestFile book("pjlink-book", "127.43.20.2 pj-secret\n");
    const CliRun run = RunInEnglish({"status", "--json", "--pjlink-passwords", book.path,
                                     "127.43.20.1-3"});
    EXPECT_EQ(run.status, 1) << run.err;  // nothing answers at .3
    const auto rows = nlohmann::json::parse(run.out);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0]["name"], "ROOM-1");
    EXPECT_EQ(rows[0]["password"], "none");
    EXPECT_EQ(rows[1]["errors"], "lamp=error");
    EXPECT_EQ(rows[1]["password"], "set");
    EXPECT_EQ(rows[1]["lampHours"], "1520");
    EXPECT_EQ(rows[2]["status"], "connect failed");
    EXPECT_EQ(rows[2]["power"], "");
}

// The module's password is never tried on PJLink: without a PJLink book, a projector that asks
// is told nothing and its row says so.
TEST(HealthCommands, AuditFindingsAndNoModulePasswordOnPjlink) {
    const CProjectorOnPort hall = Projector("127.43.21.1", "", "000110");
    const CProjectorOnPort room = Projector("127.43.21.2", "same", "200000", "same");
    CliSetup setup;
    setup.environment.emplace("LANTERNA_PASSWORD", "same");
    const CliRun run =
        RunInEnglish({"audit", "--json", "--lamp-hours", "1520", "127.43.21.1-2"}, setup);
    EXPECT_EQ(run.status, 1) << run.err;
    std::vector<std::string> found;
    const auto output = nlohmann::json::parse(run.out);
    for (const auto& finding : output["findings"]) {
        const std::string id = finding["finding"];
        if (id.starts_with("pjlink") || id == "lamp-hours") {
            found.push_back(std::string(finding["address"]) + " " + id + " " +
                            std::string(finding["detail"]));
        }
    }
    EXPECT_EQ(found, (std::vector<std::string>{"127.43.21.1 pjlink-warning cover filter",
                                               "127.43.21.1 lamp-hours 1520 hours",
                                               "127.43.21.1 pjlink-no-password no PJLink password"}))
        << run.out;
    EXPECT_TRUE(room.projector->Pjlink()->Log().empty());
}

TEST(HealthCommands, PowerAsksDryRunsAndSwitches) {
    const CProjectorOnPort hall = Projector("127.43.22.1", "");
    auto& pjlink = *hall.projector->Pjlink();
    const CliRun refused = RunInEnglish({"power", "off", "127.43.22.1"});
    EXPECT_EQ(refused.status, 1);
    const CliRun dry = RunInEnglish({"power", "off", "--dry-run", "127.43.22.1"});
    EXPECT_EQ(dry.out, "127.43.22.1: would send %1POWR 0\n");
    EXPECT_TRUE(pjlink.Log().empty());
    CliSetup no;
    no.lineAnswers = {"n"};
    EXPECT_EQ(RunInEnglish({"power", "off", "127.43.22.1"}, no).status, 1);
    EXPECT_EQ(pjlink.Config().power, "1");
    const CliRun done = RunInEnglish({"power", "off", "--yes", "127.43.22.1"});
    EXPECT_EQ(done.out, "127.43.22.1: done\n");
    EXPECT_EQ(pjlink.Config().power, "0");
}

// inventory adds what PJLink tells beside the settings: empty in CSV and JSON where a projector
// does not answer PJLink, a dash in the table.
TEST(HealthCommands, InventoryGainsThePjlinkColumns) {
    const CProjectorOnPort hall = Projector("127.43.23.1", "", "020000");
    const CProjectorOnPort room(CProjectorOnPort::ConfigFor("127.43.23.2"));
    const CliRun csv = RunInEnglish({"inventory", "--csv", "127.43.23.1-2"});
    EXPECT_EQ(csv.status, 0) << csv.err;
    std::istringstream lines(csv.out);
    std::string header;
    std::string first;
    std::string second;
    std::getline(lines, header);
    std::getline(lines, first);
    std::getline(lines, second);
    EXPECT_TRUE(header.ends_with(",status,power,lampHours,errors,model")) << header;
    EXPECT_TRUE(first.ends_with(",read,on,1520,lamp=error,SIMULATED SIM-2000")) << first;
    EXPECT_TRUE(second.ends_with(",read,,,,")) << second;

    const CliRun json = RunInEnglish({"inventory", "--json", "127.43.23.1"});
    const auto rows = nlohmann::json::parse(json.out);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0]["power"], "on");
    EXPECT_EQ(rows[0]["model"], "SIMULATED SIM-2000");

    const CliRun table = RunInEnglish({"inventory", "127.43.23.2"});
    EXPECT_NE(table.out.find("\u2014"), std::string::npos) << table.out;
    EXPECT_EQ(RunInEnglish({"inventory", "--settable", "127.43.23.1"}).out.find("lampHours"),
              std::string::npos)
        << "provision's form keeps to the settings";
}

// power's refusals in the user's language.
TEST(HealthCommands, PowerRefusalsSpeakTheUsersLanguage) {
    const CProjectorOnPort hall = Projector("127.43.24.1", "");
    CliSetup no;
    no.lineAnswers = {"n"};
    no.environment.emplace("LANTERNA_LANG", "ko");
    const CliRun declined = RunCli({"power", "on", "127.43.24.1"}, no);
    EXPECT_EQ(declined.status, 1);
    EXPECT_NE(declined.err.find("아무것도 켜거나 끄지 않았습니다"), std::string::npos)
        << declined.err;
    const CliRun alone = RunInEnglish({"power", "on", "127.43.24.1"});
    EXPECT_NE(alone.err.find("nobody to ask on a terminal"), std::string::npos) << alone.err;
}

}  // namespace
}  // namespace lanterna::test
