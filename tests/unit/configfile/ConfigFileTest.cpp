#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "settings/ConfigFile.h"
#include "settings/ConfigFileKey.h"
#include "settings/ConfigFileText.h"
#include "tests/support/cipher/OpensslTool.h"

namespace lanterna {
namespace {

namespace fs = std::filesystem;
using test::Bytes;
using test::OpensslTool;
using test::ReadBytes;
using test::ScratchFolder;
using test::ToHex;
using test::WriteBytes;

Bytes DecipherRaw(Bytes bytes) {
    EXPECT_TRUE(TripleDes(ConfigFileKey()).DecryptEcb(bytes));
    return bytes;
}

ProjectorRecord FullWirelessRecord() {
    ProjectorRecord record;
    record.wirelessActive = 1;
    record.primaryInterface = 1;
    CopyText(record.projectorName, "LECTURE-HALL-01");
    record.ipAddress = {172, 16, 40, 201};
    record.subnetMask = {255, 255, 0, 0};
    record.gateway = {172, 16, 0, 1};
    record.mailNotify = 1;
    record.smtpServer = {172, 16, 0, 25};
    record.smtpPort = 587;
    CopyText(record.mailTo1, "facilities@campus.example.org");
    CopyText(record.mailTo2, "av-team@campus.example.org");
    CopyText(record.mailTo3, "helpdesk@campus.example.org");
    record.mailEvents1 = 0x7FF;
    record.mailEvents2 = 0x0F0;
    record.mailEvents3 = 0x00F;
    record.trapAddress1 = {172, 16, 0, 162};
    record.trapAddress2 = {172, 16, 0, 163};
    CopyText(record.community, "campus01");
    record.essidSet = 1;
    CopyText(record.essid, "CAMPUS-PROJECTORS-2G");
    record.security = {1, 2, 0, 0};
    record.wepKeyId = 2;
    CopyText(record.wepKey1, "ABCDEFGHIJKLM");
    CopyText(record.wepKey2, "0123456789abcdefABCDEF0123");
    return record;
}

// ---- padding and enciphering --------------------------------------------------------------

TEST(ConfigFileCipher, WholeBlocksAreNotPadded) {
    const std::string plain(64, 'x');
    const Bytes file = EncipherConfigText(plain);
    EXPECT_EQ(file.size(), 64U);
    EXPECT_EQ(DecipherRaw(file), Bytes(plain.begin(), plain.end()));
}

TEST(ConfigFileCipher, PartialBlockIsPaddedWithZeros) {
    const std::string plain(65, 'x');
    const Bytes file = EncipherConfigText(plain);
    ASSERT_EQ(file.size(), 72U);
    Bytes expected(plain.begin(), plain.end());
    expected.resize(72, 0);
    EXPECT_EQ(DecipherRaw(file), expected);
    EXPECT_EQ(EncipherConfigText("").size(), 0U);
    EXPECT_EQ(EncipherConfigText("a").size(), 8U);
}

TEST(ConfigFileCipher, DecipherDropsOnlyThePadding) {
    std::string text;
    ASSERT_TRUE(DecipherConfigFile(EncipherConfigText(std::string(65, 'x')), text));
    EXPECT_EQ(text, std::string(65, 'x'));

    // Eight zero bytes cannot all be padding: one stays.
    std::string withZeros = "ABCDEFGH" + std::string(8, '\0');
    ASSERT_TRUE(DecipherConfigFile(EncipherConfigText(withZeros), text));
    EXPECT_EQ(text, "ABCDEFGH" + std::string(1, '\0'));
}

TEST(ConfigFileCipher, DecipherRefusesPartialBlocks) {
    std::string text = "unchanged";
    Bytes file = EncipherConfigText("[NetConfig]\n");
    file.push_back(0);
    EXPECT_FALSE(DecipherConfigFile(file, text));
    EXPECT_EQ(text, "unchanged");
}

TEST(ConfigFileCipher, SameBlockSameCipherTextAsEcbPromises) {
    const Bytes file = EncipherConfigText(std::string(16, 'z'));
    EXPECT_TRUE(std::equal(file.begin(), file.begin() + 8, file.begin() + 8));
}

// ---- writing and reading files -------------------------------------------------------------

TEST(ConfigFileWriter, WritesTheEncipheredTextAndReadsItBack) {
    ScratchFolder folder;
    const fs::path path = folder.path() / "hall.ncf";
    const ProjectorRecord record = FullWirelessRecord();
    ASSERT_TRUE(WriteConfigFile(record, path));

    const std::string plain = BuildConfigFileText(record).text;
    const auto bytes = ReadBytes(path);
    ASSERT_TRUE(bytes.has_value());
    EXPECT_EQ(bytes->size(), (plain.size() + 7) / 8 * 8);
    EXPECT_EQ(*bytes, EncipherConfigText(plain));
    EXPECT_EQ(std::search(bytes->begin(), bytes->end(), plain.begin(), plain.begin() + 11),
              bytes->end())
        << "no clear text in the file";

    std::string read;
    EXPECT_EQ(ReadConfigFile(path, read), kConfigFileRead);
    EXPECT_EQ(read, plain);
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.path()), fs::directory_iterator()), 1)
        << "no temporary file left behind";
}

TEST(ConfigFileWriter, ReplacesAnExistingFileAndKeepsItsPermissions) {
    ScratchFolder folder;
    const fs::path path = folder.path() / "room.ncf";
    ASSERT_TRUE(WriteBytes(path, Bytes(100, 0xAA)));
    ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
    ASSERT_TRUE(WriteConfigFile(FullWirelessRecord(), path));
    std::string read;
    EXPECT_EQ(ReadConfigFile(path, read), kConfigFileRead);
    EXPECT_EQ(read, BuildConfigFileText(FullWirelessRecord()).text);
    EXPECT_EQ(fs::status(path).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

TEST(ConfigFileWriter, FailureLeavesNothingBehind) {
    ScratchFolder folder;
    EXPECT_FALSE(WriteConfigFile(FullWirelessRecord(), folder.path() / "missing" / "a.ncf"));
    EXPECT_FALSE(fs::exists(folder.path() / "missing"));

    // A folder in the way: the rename fails and the folder and its content stay.
    const fs::path inTheWay = folder.path() / "taken.ncf";
    fs::create_directory(inTheWay);
    ASSERT_TRUE(WriteBytes(inTheWay / "keep", Bytes{1, 2, 3}));
    EXPECT_FALSE(WriteConfigFile(FullWirelessRecord(), inTheWay));
    EXPECT_TRUE(fs::is_directory(inTheWay));
    EXPECT_EQ(ReadBytes(inTheWay / "keep"), (Bytes{1, 2, 3}));
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.path()), fs::directory_iterator()), 1)
        << "no temporary file left behind";

    EXPECT_FALSE(WriteConfigFile(FullWirelessRecord(), folder.path() / ""));
}

TEST(ConfigFileWriter, RecordWithLineBreakLeavesExistingFileAsItWas) {
    ScratchFolder folder;
    const fs::path path = folder.path() / "room.ncf";
    ASSERT_TRUE(WriteBytes(path, Bytes(16, 0x55)));
    ProjectorRecord record = FullWirelessRecord();
    CopyText(record.essid, "NET\nNWRESET");
    EXPECT_FALSE(WriteConfigFile(record, path));
    EXPECT_EQ(ReadBytes(path), Bytes(16, 0x55));
}

TEST(ConfigFileReader, RefusesWhatIsNotAConfigurationFile) {
    ScratchFolder folder;
    std::string text = "unchanged";
    EXPECT_EQ(ReadConfigFile(folder.path() / "none.ncf", text), kConfigFileUnreadable);
    EXPECT_EQ(ReadConfigFile(folder.path(), text), kConfigFileUnreadable);

    const fs::path odd = folder.path() / "odd.ncf";
    ASSERT_TRUE(WriteBytes(odd, Bytes(13, 1)));
    EXPECT_EQ(ReadConfigFile(odd, text), kConfigFileBadLength);

    const fs::path large = folder.path() / "large.ncf";
    ASSERT_TRUE(WriteBytes(large, Bytes(kConfigFileMaxSize + 8, 0)));
    EXPECT_EQ(ReadConfigFile(large, text), kConfigFileTooLarge);
    EXPECT_EQ(text, "unchanged");

    const fs::path empty = folder.path() / "empty.ncf";
    ASSERT_TRUE(WriteBytes(empty, Bytes{}));
    EXPECT_EQ(ReadConfigFile(empty, text), kConfigFileRead);
    EXPECT_EQ(text, "");
}

// ---- comparison with openssl -----------------------------------------------------------------

TEST(ConfigFileAgainstOpenssl, WholeFilesMatchAnIndependentTripleDes) {
    const OpensslTool& openssl = OpensslTool::Get();
    if (!openssl.Unavailable().empty()) {
        GTEST_SKIP() << openssl.Unavailable();
    }
    ProjectorRecord wired;
    CopyText(wired.projectorName, "ROOM-12");
    for (const ProjectorRecord& record : {FullWirelessRecord(), wired}) {
        ScratchFolder folder;
        const fs::path path = folder.path() / "x.ncf";
        ASSERT_TRUE(WriteConfigFile(record, path));
        const auto file = ReadBytes(path);
        ASSERT_TRUE(file.has_value());

        const std::string plain = BuildConfigFileText(record).text;
        Bytes padded(plain.begin(), plain.end());
        padded.resize((padded.size() + 7) / 8 * 8, 0);
        const auto enciphered = openssl.Enc("des-ede3", ToHex(ConfigFileKey()), padded);
        ASSERT_TRUE(enciphered.has_value());
        EXPECT_EQ(ToHex(*file), ToHex(*enciphered));
        const auto deciphered = openssl.Enc("des-ede3", ToHex(ConfigFileKey()), *file, true);
        ASSERT_TRUE(deciphered.has_value());
        EXPECT_EQ(*deciphered, padded);
    }
}

}  // namespace
}  // namespace lanterna
