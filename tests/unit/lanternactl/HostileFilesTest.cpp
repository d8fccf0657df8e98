// Paths a hostile or careless caller hands to the file commands: every output path goes through
// one policy, every input is read within its size limit, and each refusal says what happened.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/cli/CliHarness.h"
#include "tests/support/files/TempFolder.h"

namespace lanterna::cli {
namespace {

using test::ReadFile;
using test::RunCli;
using test::TempFolder;
using test::WriteFile;

constexpr const char* kRecord = R"({"projectorName": "ROOM-201", "wirelessActive": 1,
    "essidSet": 1, "essid": "LAB-NET", "wepEnabled": 1, "wepKey": "0123456789"})";

bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

mode_t KindOf(const std::string& path) {
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0 ? (info.st_mode & S_IFMT) : 0;
}

mode_t ModeOf(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 ? (info.st_mode & 07777) : 0;
}

class HostileFiles : public ::testing::Test {
  protected:
    void SetUp() override { WriteFile(record, kRecord); }

    std::vector<std::string> Command(const std::string& name, const std::string& output) const {
        if (name == "save") {
            return {"save", "--from", record, "-o", output};
        }
        return {"ncf", "--wireless", "--from", record, "-o", output};
    }

    TempFolder folder;
    const std::string record = folder.File("record.json");
};

// ---- output paths ------------------------------------------------------------------------------

TEST_F(HostileFiles, EveryOutputPathFollowsOnePolicy) {
    WriteFile(folder.File("target"), "");
    std::filesystem::create_symlink(folder.File("target"), folder.File("link"));
    std::filesystem::create_symlink(folder.File("gone"), folder.File("dangling"));
    std::filesystem::create_directory(folder.File("dir"));
    ASSERT_EQ(::mkfifo(folder.File("fifo").c_str(), 0600), 0);

    const struct {
        std::string output;
        int status;
        std::string message;
    } cases[] = {
        {"link", kExitOk, ""},
        {"dangling", kExitFailed, "symbolic link whose target does not exist"},
        {"dir", kExitFailed, "is a folder"},
        {"fifo", kExitFailed, "is not a regular file"},
        {"missing/room.ini", kExitFailed, "its folder does not exist"},
    };
    for (const std::string command : {"save", "ncf"}) {
        for (const auto& c : cases) {
            const std::string path = folder.File(c.output);
            const mode_t kind = KindOf(path);
            const test::CliRun run = RunCli(Command(command, path));
            EXPECT_EQ(run.status, c.status) << command << " -o " << c.output << ": " << run.err;
            EXPECT_TRUE(Contains(run.err, c.message)) << run.err;
            EXPECT_EQ(KindOf(path), kind) << command << " -o " << c.output << " changed its kind";
        }
    }
    EXPECT_FALSE(ReadFile(folder.File("target"))->empty()) << "written through the link";
    EXPECT_FALSE(std::filesystem::exists(folder.File("gone")));
}

TEST_F(HostileFiles, FilesWithKeysAreTheOwnersAloneAndReplacementsKeepTheirMode) {
    const mode_t previousMask = ::umask(022);
    ASSERT_EQ(RunCli(Command("ncf", folder.File("room.ncf"))).status, kExitOk);
    ASSERT_EQ(RunCli(Command("save", folder.File("keys.ini"))).status, kExitOk);
    WriteFile(folder.File("shared.ini"), "");
    ASSERT_EQ(::chmod(folder.File("shared.ini").c_str(), 0664), 0);
    ASSERT_EQ(RunCli(Command("save", folder.File("shared.ini"))).status, kExitOk);
    ::umask(previousMask);

    EXPECT_EQ(ModeOf(folder.File("room.ncf")), 0600U);
    EXPECT_EQ(ModeOf(folder.File("keys.ini")), 0600U) << "a settings file with a WEP key";
    EXPECT_EQ(ModeOf(folder.File("shared.ini")), 0664U) << "an existing file keeps its mode";
}

// ---- input limits ------------------------------------------------------------------------------

TEST_F(HostileFiles, InputsAreReadWithinTheirLimitsAndSayWhatTheyAre) {
    // Valid JSON, but padded far beyond any record.
    WriteFile(folder.File("padded.json"), "{" + std::string(70000, ' ') + "}");
    std::filesystem::create_directory(folder.File("dir.json"));
    WriteFile(folder.File("huge.ini"), std::string(5 * 1024 * 1024, ';'));
    std::filesystem::create_symlink("/dev/urandom", folder.File("urandom.json"));
    const std::string out = folder.File("out.ini");
    const struct {
        std::vector<std::string> args;
        std::string message;
    } cases[] = {
        {{"save", "--from", "/dev/zero", "-o", out}, "/dev/zero: is larger than 64 KiB"},
        {{"save", "--from", folder.File("padded.json"), "-o", out}, "is larger than 64 KiB"},
        {{"save", "--from", folder.File("dir.json"), "-o", out}, "is a folder, not a file"},
        {{"ncf", "--wired", "--from", folder.File("urandom.json"), "-o", folder.File("x.ncf")},
         "is larger than 64 KiB"},
        {{"ncf-text", "/dev/zero"}, "is larger than 64 KiB"},
        {{"show", "/dev/zero"}, "is larger than 4 MiB"},
        {{"provision", "/dev/zero", "127.0.0.1"}, "is larger than 4 MiB"},
        {{"import-list", folder.File("dir.json")}, "is a folder"},
        {{"save", "--from", record, "-o", folder.File("huge.ini")},
         "the existing file is larger than 4 MiB"},
    };
    for (const auto& c : cases) {
        const test::CliRun run = RunCli(c.args);
        EXPECT_EQ(run.status, kExitFailed) << c.args[0] << " " << c.args[1] << ": " << run.err;
        EXPECT_TRUE(Contains(run.err, c.message)) << run.err;
        EXPECT_EQ(run.err.find('\n'), run.err.size() - 1) << "one line: " << run.err;
    }
    // A restore takes what a backup wrote: a device is no such file, whatever its size.
    test::CliSetup english;
    english.environment["LANTERNA_LANG"] = "en";
    const test::CliRun zero = RunCli({"restore", "/dev/zero", "127.0.0.1"}, english);
    EXPECT_EQ(zero.status, kExitFailed);
    EXPECT_TRUE(Contains(zero.err, "/dev/zero: not a regular file\n")) << zero.err;
    EXPECT_FALSE(std::filesystem::exists(out));

    test::CliSetup endless;
    endless.input = std::string(100000, '[');
    const test::CliRun run = RunCli({"save", "--from", "-", "-o", out}, endless);
    EXPECT_EQ(run.status, kExitFailed);
    EXPECT_TRUE(Contains(run.err, "standard input: is larger than 64 KiB")) << run.err;
}

}  // namespace
}  // namespace lanterna::cli
