#include <gtest/gtest.h>

#include "resources/StringTable.h"
#include "settings/ConfigFile.h"
#include "tests/support/cipher/ScratchFiles.h"
#include "tests/support/cli/CliHarness.h"

namespace lanterna::cli {
namespace {

namespace fs = std::filesystem;
using test::Bytes;
using test::ReadBytes;
using test::RunCli;
using test::ScratchFolder;
using test::WriteBytes;

// A record as `lanternactl show` would print it, trimmed to what the file uses. Its
// wirelessActive is overridden by --wired / --wireless.
constexpr const char* kRecordJson = R"({
    "wirelessActive": 1,
    "projectorName": "ROOM-12",
    "ipAddress": "192.168.1.5",
    "subnetMask": "255.255.255.0",
    "gateway": "192.168.1.1",
    "primaryInterface": 1,
    "essidSet": 1,
    "essid": "HALL-NET",
    "security": [2, 0, 1, 0],
    "securityPsk": "secret-phrase"
})";

void WriteText(const fs::path& path, std::string_view text) {
    ASSERT_TRUE(WriteBytes(path, Bytes(text.begin(), text.end())));
}

class NcfCommand : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_FALSE(folder.path().empty());
        WriteText(record, kRecordJson);
    }

    ScratchFolder folder;
    const fs::path record = folder.path() / "record.json";
    const fs::path output = folder.path() / "room.ncf";
};

TEST_F(NcfCommand, WiredFileFromJsonAndItsText) {
    const test::CliRun made =
        RunCli({"ncf", "--wired", "--from", record.string(), "-o", output.string()});
    ASSERT_EQ(made.status, kExitOk) << made.err;
    EXPECT_EQ(made.err, "");

    const test::CliRun shown = RunCli({"ncf-text", output.string()});
    ASSERT_EQ(shown.status, kExitOk) << shown.err;
    EXPECT_EQ(shown.out,
              "[NetConfig]\n"
              "NWSMTPACT OFF\n"
              "NWTRAPIP1 0.0.0.0\n"
              "NWTRAPIP2 0.0.0.0\n"
              "NWPRIMIF 1\n"
              "NWPNAME ROOM-12\n"
              "NWCNF OFF 192.168.1.5 255.255.255.0 192.168.1.1\n");
    std::string text;
    ASSERT_EQ(ReadConfigFile(output, text), kConfigFileRead);
    EXPECT_EQ(text, shown.out);
}

TEST_F(NcfCommand, WirelessFileFromJson) {
    const fs::path wiredRecord = folder.path() / "wired.JSON";
    WriteText(wiredRecord, R"({"wirelessActive": 0, "projectorName": "A-1", "dhcp": 1,
                              "security": [1, 1, 0, 0], "wepKeyId": 1, "wepKey1": "abcde"})");
    ASSERT_EQ(
        RunCli({"ncf", "-o", output.string(), "--from", wiredRecord.string(), "--wireless"}).status,
        kExitOk);
    const test::CliRun shown = RunCli({"ncf-text", output.string()});
    ASSERT_EQ(shown.status, kExitOk) << shown.err;
    EXPECT_NE(shown.out.find("NWPNAME A-1\n"
                             "NWWLCNFS ON 0.0.0.0 0.0.0.0 0.0.0.0 00\n"
                             "NWWLSEC 110000\n"
                             "NWWEPID 1\n"
                             "NWWEP1 6162636465\n"
                             "NWWEP2 INIT\n"),
              std::string::npos)
        << shown.out;
    EXPECT_EQ(shown.out.find("NWCNF"), std::string::npos);
}

TEST_F(NcfCommand, SettingsFileSourceGivesTheSameFileAsItsRecord) {
    // Only what a settings file holds: no pass phrase, and wireless keys that it keeps.
    const fs::path fileRecord = folder.path() / "file-record.json";
    WriteText(fileRecord, R"({"wirelessActive": 1, "imType": 22, "projectorName": "ROOM-12",
        "ipAddress": "192.168.1.5", "subnetMask": "255.255.255.0", "gateway": "192.168.1.1",
        "primaryInterface": 1, "primaryInterfaceState": 1, "essidSet": 1, "essid": "HALL-NET",
        "security": [1, 1, 0, 0], "wepKeyId": 2, "wepKey2": "abcde"})");
    const fs::path settings = folder.path() / "room.INI";
    ASSERT_EQ(RunCli({"save", "--from", fileRecord.string(), "-o", settings.string()}).status,
              kExitOk);
    for (const char* variant : {"--wired", "--wireless"}) {
        const fs::path fromJson = folder.path() / "json.ncf";
        const fs::path fromIni = folder.path() / "ini.ncf";
        ASSERT_EQ(
            RunCli({"ncf", variant, "--from", fileRecord.string(), "-o", fromJson.string()}).status,
            kExitOk);
        const test::CliRun made =
            RunCli({"ncf", variant, "--from", settings.string(), "-o", fromIni.string()});
        ASSERT_EQ(made.status, kExitOk) << made.err;
        EXPECT_EQ(RunCli({"ncf-text", fromIni.string()}).out,
                  RunCli({"ncf-text", fromJson.string()}).out)
            << variant;
    }

    const fs::path keyless = folder.path() / "keyless.ini";
    WriteText(keyless, "[COMMON]\r\nUNRELATED=1\r\n");
    const test::CliRun refused =
        RunCli({"ncf", "--wired", "--from", keyless.string(), "-o", output.string()});
    EXPECT_EQ(refused.status, kExitFailed);
    EXPECT_NE(refused.err.find(LoadString(kStringSettingsFileUnreadable)), std::string::npos)
        << refused.err;
    EXPECT_FALSE(fs::exists(output));
}

TEST_F(NcfCommand, BadCommandLinesAreUsageErrors) {
    const std::string from = record.string();
    const std::string out = output.string();
    const std::vector<std::vector<std::string>> lines = {
        {"ncf", "--from", from, "-o", out},
        {"ncf", "--wired", "--wireless", "--from", from, "-o", out},
        {"ncf", "--wired", "--from", from},
        {"ncf", "--wired", "-o", out},
        {"ncf", "--wired", "--from", from, "-o"},
        {"ncf", "--wired", "--from", from, "--from", from, "-o", out},
        {"ncf", "--wired", "--from", from, "-o", out, "--force"},
        {"ncf", "--wired", "--from", (folder.path() / "record.txt").string(), "-o", out},
        {"ncf-text"},
        {"ncf-text", out, out},
    };
    for (const auto& line : lines) {
        const test::CliRun run = RunCli(line);
        EXPECT_EQ(run.status, kExitUsage) << line.size() << " " << line.back();
        EXPECT_NE(run.err.find("Usage"), std::string::npos);
    }
    EXPECT_FALSE(fs::exists(output));
}

TEST_F(NcfCommand, UnusableSourcesFailWithoutWriting) {
    const fs::path broken = folder.path() / "broken.json";
    WriteText(broken, "{\"projectorName\": ");
    const fs::path wrongField = folder.path() / "wrong.json";
    WriteText(wrongField, R"({"smtpPort": "25"})");
    const fs::path lineBreak = folder.path() / "break.json";
    WriteText(lineBreak, R"({"projectorName": "A\nNWRESET"})");
    const fs::path folderSource = folder.path() / "folder.json";
    fs::create_directory(folderSource);

    const struct {
        fs::path source;
        const char* message;
    } cases[] = {
        {folder.path() / "missing.json", "no such file"},
        {folderSource, "is a folder"},
        {broken, "not valid JSON"},
        {wrongField, "smtpPort"},
        {lineBreak, "NWPNAME"},
    };
    for (const auto& c : cases) {
        const test::CliRun run =
            RunCli({"ncf", "--wired", "--from", c.source.string(), "-o", output.string()});
        EXPECT_EQ(run.status, kExitFailed) << c.source;
        EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
        EXPECT_FALSE(fs::exists(output)) << c.source;
    }
}

TEST_F(NcfCommand, OutputNameMustBePlain) {
    const fs::path hangul = folder.path() / "\xED\x94\x84\xEB\xA1\x9C.ncf";
    const test::CliRun run =
        RunCli({"ncf", "--wired", "--from", record.string(), "-o", hangul.string()});
    EXPECT_EQ(run.status, kExitFailed);
    EXPECT_NE(run.err.find(LoadString(kStringBadFileNameCharacter)), std::string::npos) << run.err;
    EXPECT_FALSE(fs::exists(hangul));

    const fs::path unwritable = folder.path() / "no-such-folder" / "room.ncf";
    const test::CliRun failed =
        RunCli({"ncf", "--wired", "--from", record.string(), "-o", unwritable.string()});
    EXPECT_EQ(failed.status, kExitFailed);
    EXPECT_NE(failed.err.find("its folder does not exist"), std::string::npos) << failed.err;
}

TEST_F(NcfCommand, TextRefusesWhatIsNotAConfigurationFile) {
    const fs::path odd = folder.path() / "odd.ncf";
    ASSERT_TRUE(WriteBytes(odd, Bytes(12, 7)));
    const fs::path foreign = folder.path() / "foreign.ncf";
    ASSERT_TRUE(WriteBytes(foreign, Bytes(32, 7)));
    const struct {
        fs::path file;
        const char* message;
    } cases[] = {
        {folder.path() / "missing.ncf", "no such file"},
        {odd, "multiple of 8"},
        {foreign, "does not decipher"},
    };
    for (const auto& c : cases) {
        const test::CliRun run = RunCli({"ncf-text", c.file.string()});
        EXPECT_EQ(run.status, kExitFailed) << c.file;
        EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
        EXPECT_EQ(run.out, "");
    }
}

}  // namespace
}  // namespace lanterna::cli
