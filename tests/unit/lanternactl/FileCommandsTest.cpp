#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "record/ProjectorList.h"
#include "resources/StringTable.h"
#include "tests/support/cli/CliHarness.h"
#include "tests/support/files/TempFolder.h"

namespace lanterna::cli {
namespace {

using test::ReadFile;
using test::RunCli;
using test::TempFolder;
using test::WriteFile;

// ---- show ------------------------------------------------------------------------------------

TEST(ShowCommand, PrintsTheReaderResultAndRecord) {
    TempFolder folder;
    const std::string path = folder.File("a.ini");
    WriteFile(path,
              "[FILE]\r\nNM_INIVER=200\r\n[COMMON]\r\nNM_PROJECTORNAME=ROOM-1\r\n"
              "[NETWORK]\r\nNM_DHCP=1\r\n");
    const test::CliRun run = RunCli({"show", path});
    ASSERT_EQ(run.status, kExitOk) << run.err;
    const auto json = nlohmann::json::parse(run.out);
    EXPECT_EQ(json["result"], 1);
    EXPECT_FALSE(json.contains("problem"));
    EXPECT_EQ(json["record"]["projectorName"], "ROOM-1");
    EXPECT_EQ(json["record"]["dhcpState"], 1);
    EXPECT_EQ(json["record"]["iniVersion"], "200");
    EXPECT_EQ(json["record"]["writeAll"], 1);
}

TEST(ShowCommand, UnusableFileShowsResultZeroAndMissingFileFails) {
    TempFolder folder;
    const std::string path = folder.File("empty.ini");
    WriteFile(
        path,
        "[FILE]\r\nNM_INIVER=200\r\n[COMMON]\r\nNM_PROJECTORNAME=\xB1\xB3\r\nNM_IMTYPE=22\r\n");
    test::CliRun run = RunCli({"show", path});
    ASSERT_EQ(run.status, kExitOk) << run.err;
    EXPECT_EQ(nlohmann::json::parse(run.out)["result"], 1);  // the name counts

    WriteFile(path, "[COMMON]\r\nNM_IMTYPE=22\r\n");
    run = RunCli({"show", path});
    EXPECT_EQ(nlohmann::json::parse(run.out)["result"], 0);

    WriteFile(path, "[FILE]\r\nNM_INIVER=200\r\n[NETWORK]\r\nNM_DHCP=ON\r\n");
    run = RunCli({"show", path});
    EXPECT_EQ(nlohmann::json::parse(run.out)["result"], 0);
    EXPECT_NE(nlohmann::json::parse(run.out)["problem"].get<std::string>().find("NM_DHCP=ON"),
              std::string::npos);

    run = RunCli({"show", folder.File("none.ini")});
    EXPECT_EQ(run.status, kExitFailed);
    EXPECT_NE(run.err.find("no such file"), std::string::npos);
    EXPECT_EQ(run.err.find('\n'), run.err.size() - 1);
    EXPECT_EQ(RunCli({"show"}).status, kExitUsage);
}

// ---- save ------------------------------------------------------------------------------------

TEST(SaveCommand, WritesAndMergesIntoAnExistingFile) {
    TempFolder folder;
    const std::string record = folder.File("record.json");
    const std::string path = folder.File("out.ini");
    WriteFile(record, R"({"projectorName": "ROOM-1", "dhcp": 1, "wins1State": 1})");
    WriteFile(path, "[NETWORK]\r\nNM_IP=10.0.0.5\r\n");
    const test::CliRun run = RunCli({"save", "--from", record, "-o", path});
    ASSERT_EQ(run.status, kExitOk) << run.err;
    const std::string content = *ReadFile(path);
    EXPECT_TRUE(
        content.starts_with("[NETWORK]\r\nNM_IP=10.0.0.5\r\nNM_DHCP=1\r\nNM_WINS1=0.0.0.0\r\n"
                            "[COMMON]\r\nNM_PROJECTORNAME=ROOM-1\r\n"))
        << content;

    const test::CliRun shown = RunCli({"show", path});
    EXPECT_EQ(nlohmann::json::parse(shown.out)["record"]["ipAddress"], "10.0.0.5");
}

TEST(SaveCommand, RecordFromStandardInput) {
    TempFolder folder;
    const std::string path = folder.File("out.ini");
    test::CliSetup setup;
    setup.input = R"({"mailNotify": 1, "mailEvents1": 1025})";
    ASSERT_EQ(RunCli({"-o", path, "--from", "-"}, setup).status, kExitUsage);
    const test::CliRun run = RunCli({"save", "-o", path, "--from", "-"}, setup);
    ASSERT_EQ(run.status, kExitOk) << run.err;
    EXPECT_NE(ReadFile(path)->find("NM_TO1EVENT=1025\r\n"), std::string::npos);
}

TEST(SaveCommand, BadInputFailsWithOneLineAndLeavesTheFile) {
    TempFolder folder;
    const std::string record = folder.File("record.json");
    const std::string path = folder.File("out.ini");
    WriteFile(path, "old");
    const std::pair<std::string, std::string> cases[] = {
        {"{not json", "not valid JSON"},
        {R"({"smtpPort": 70000})", "smtpPort"},
        {R"({"mailNotify": 1, "mailTo1": "a@b\nNM_IP=1.2.3.4"})", "line break"},
    };
    for (const auto& [json, reason] : cases) {
        WriteFile(record, json);
        const test::CliRun run = RunCli({"save", "--from", record, "-o", path});
        EXPECT_EQ(run.status, kExitFailed) << json;
        EXPECT_NE(run.err.find(reason), std::string::npos) << run.err;
        EXPECT_EQ(run.err.find('\n'), run.err.size() - 1);
        EXPECT_EQ(ReadFile(path), "old");
    }
    WriteFile(record, "{}");
    const test::CliRun run = RunCli({"save", "--from", record, "-o", folder.File("no/dir.ini")});
    EXPECT_EQ(run.status, kExitFailed);
    EXPECT_EQ(RunCli({"save", "--from", folder.File("none.json"), "-o", path}).status, kExitFailed);
    EXPECT_EQ(RunCli({"save", "--from", record}).status, kExitUsage);
    EXPECT_EQ(RunCli({"save", "--from", record, "-o", path, "extra"}).status, kExitUsage);
}

// ---- import-list -----------------------------------------------------------------------------

TEST(ImportListCommand, PrintsTheProjectorsItAdds) {
    TempFolder folder;
    const std::string path = folder.File("sentro.ini");
    WriteFile(path,
              "[PROJECTOR]\r\nCount=3\r\nName_000=A\r\nAddress_000=10.0.0.1\r\nIMType_000=22\r\n"
              "Name_001=B\r\nAddress_001=10.0.0.2\r\nIMType_001=20\r\n"
              "Name_002=C\r\nAddress_002=10.0.0.1\r\nIMType_002=30\r\n");
    const test::CliRun run = RunCli({"import-list", path});
    ASSERT_EQ(run.status, kExitOk) << run.err;
    const auto json = nlohmann::json::parse(run.out);
    ASSERT_EQ(json.size(), 1U);
    EXPECT_EQ(json[0]["projectorName"], "A");
    EXPECT_EQ(json[0]["origin"], 2);
    EXPECT_EQ(json[0]["imType"], 22);
}

TEST(ImportListCommand, ListWithoutCountFailsWithTheInterpretationMessage) {
    TempFolder folder;
    const std::string path = folder.File("sentro.ini");
    WriteFile(path, "[PROJECTOR]\r\nCount=0\r\n");
    const test::CliRun run = RunCli({"import-list", path});
    EXPECT_EQ(run.status, kExitFailed);
    EXPECT_NE(run.err.find(LoadString(kStringSettingsFileUnreadable)), std::string::npos);
    EXPECT_EQ(run.err.find('\n'), run.err.size() - 1);
    EXPECT_TRUE(run.out.empty());
    EXPECT_EQ(RunCli({"import-list", folder.File("none.ini")}).status, kExitFailed);
}

TEST(ImportListCommand, KeepsAsManyAsTheWindowListsAndSaysSo) {
    TempFolder folder;
    const std::string path = folder.File("sentro.ini");
    const int count = static_cast<int>(ProjectorList::kDisplayLimit) + 6;
    std::string content = "[PROJECTOR]\r\nCount=" + std::to_string(count) + "\r\n";
    for (int i = 0; i < count; ++i) {
        char index[16];
        std::snprintf(index, sizeof index, "%03d", i);
        content += std::string("Address_") + index + "=10.0." + std::to_string(i / 200) + "." +
                   std::to_string(i % 200 + 1) + "\r\nIMType_" + index + "=22\r\n";
    }
    WriteFile(path, content);
    const test::CliRun run = RunCli({"import-list", path});
    ASSERT_EQ(run.status, kExitOk) << run.err;
    EXPECT_EQ(nlohmann::json::parse(run.out).size(), ProjectorList::kDisplayLimit);
    EXPECT_NE(run.err.find(LoadString(kStringDisplayLimit)), std::string::npos);
}

}  // namespace
}  // namespace lanterna::cli
