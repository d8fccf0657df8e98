#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <random>

#include "platform/RegistryHive.h"
#include "platform/RegistryKey.h"
#include "tests/support/files/TempFolder.h"

namespace lanterna {
namespace {

using test::ReadFile;
using test::TempFolder;
using test::WriteFile;
using namespace std::string_literals;

const std::string kManual = "Software\\MIRAL VANTA\\Lanterna\\Manual";

HiveFile HiveIn(const TempFolder& folder) {
    return {folder.File("config/lanterna/registry.reg")};
}

FileSeam FailingWrites() {
    FileSeam seam = RealFileSeam();
    seam.writeBytes = [](int, const char*, std::size_t) -> long {
        errno = EIO;
        return -1;
    };
    return seam;
}

// ---- the key's operations ----------------------------------------------------------------------

TEST(RegistryKey, ValuesSurviveReopeningInTheExportForm) {
    TempFolder folder;
    const HiveFile hive = HiveIn(folder);
    {
        RegistryKey key(hive);
        ASSERT_EQ(key.OpenOrCreate(RegistryRoot::CurrentUser, kManual), 1);
        EXPECT_EQ(key.SetDword("Count", 3), 1);
        EXPECT_EQ(key.SetString("00", "ROOM-1\n192.168.1.5"), 1);
        EXPECT_EQ(key.SetString("00TYPE", "22"), 1);
        EXPECT_EQ(key.SetString("01", "say \"hi\" C:\\x"), 1);
        EXPECT_EQ(key.Close(), 1);
    }
    EXPECT_EQ(ReadFile(hive.path),
              "Windows Registry Editor Version 5.00\r\n\r\n"
              "[HKEY_CURRENT_USER\\Software\\MIRAL VANTA\\Lanterna\\Manual]\r\n"
              "\"Count\"=dword:00000003\r\n"
              "\"00\"=hex(1):52,4f,4f,4d,2d,31,0a,31,39,32,2e,31,36,38,2e,31,2e,35,00\r\n"
              "\"00TYPE\"=\"22\"\r\n"
              "\"01\"=\"say \\\"hi\\\" C:\\\\x\"\r\n\r\n");

    RegistryKey key(hive);
    ASSERT_EQ(
        key.OpenOrCreate(RegistryRoot::CurrentUser, "software\\miral vanta\\lanterna\\MANUAL"), 1);
    std::uint32_t count = 0;
    EXPECT_EQ(key.GetDword("count", count), 1);
    EXPECT_EQ(count, 3U);
    std::string text;
    EXPECT_EQ(key.GetString("00", text, 35), 1);
    EXPECT_EQ(text, "ROOM-1\n192.168.1.5");
    EXPECT_EQ(key.GetString("01", text, 35), 1);
    EXPECT_EQ(text, "say \"hi\" C:\\x");
}

TEST(RegistryKey, StringLimitCountsTheTerminator) {
    TempFolder folder;
    RegistryKey key(HiveIn(folder));
    ASSERT_EQ(key.OpenOrCreate(RegistryRoot::CurrentUser, kManual), 1);
    key.SetString("fits", std::string(34, 'a'));
    key.SetString("long", std::string(35, 'a'));
    std::string text = "unchanged";
    EXPECT_EQ(key.GetString("fits", text, 35), 1);
    EXPECT_EQ(text.size(), 34U);
    text = "unchanged";
    EXPECT_EQ(key.GetString("long", text, 35), 0);
    EXPECT_EQ(text, "unchanged");
    EXPECT_EQ(key.GetString("missing", text, 35), 0);
}

TEST(RegistryKey, TypesAreNotMixed) {
    TempFolder folder;
    RegistryKey key(HiveIn(folder));
    ASSERT_EQ(key.OpenOrCreate(RegistryRoot::CurrentUser, kManual), 1);
    key.SetString("Count", "3");
    std::uint32_t count = 7;
    EXPECT_EQ(key.GetDword("Count", count), 0);
    key.SetDword("Text", 5);
    std::string text;
    EXPECT_EQ(key.GetString("Text", text, 35), 0);
}

TEST(RegistryKey, EveryOperationFailsWithoutAnOpenKey) {
    TempFolder folder;
    RegistryKey key(HiveIn(folder));
    std::string text;
    std::uint32_t number = 0;
    EXPECT_EQ(key.SetString("a", "b"), 0);
    EXPECT_EQ(key.SetDword("a", 1), 0);
    EXPECT_EQ(key.GetString("a", text, 35), 0);
    EXPECT_EQ(key.GetDword("a", number), 0);
    EXPECT_EQ(key.ReplaceValues({}), 0);
    EXPECT_EQ(key.Close(), 0);
    EXPECT_FALSE(std::filesystem::exists(HiveIn(folder).path));
    EXPECT_EQ(key.OpenOrCreate(RegistryRoot::CurrentUser, ""), 0);
    EXPECT_EQ(key.OpenOrCreate(RegistryRoot::CurrentUser, "a\nb"), 0);
}

TEST(RegistryKey, DeleteSubKeyNeedsAnExistingKeyWithoutSubKeys) {
    TempFolder folder;
    const HiveFile hive = HiveIn(folder);
    RegistryKey parent(hive);
    ASSERT_EQ(parent.OpenOrCreate(RegistryRoot::CurrentUser, "Software\\MIRAL VANTA\\Lanterna"), 1);
    RegistryKey child(hive);
    ASSERT_EQ(child.OpenOrCreate(RegistryRoot::CurrentUser, kManual), 1);
    RegistryKey other(hive);
    EXPECT_EQ(other.DeleteSubKey(RegistryRoot::CurrentUser, "Software\\MIRAL VANTA\\Lanterna"), 0);
    EXPECT_EQ(other.DeleteSubKey(RegistryRoot::CurrentUser, kManual), 1);
    EXPECT_EQ(other.DeleteSubKey(RegistryRoot::CurrentUser, kManual), 0);
    // The deleted key takes no more values through a handle opened before.
    EXPECT_EQ(child.SetString("00", "x"), 0);
    EXPECT_EQ(other.DeleteSubKey(RegistryRoot::CurrentUser, "Software\\MIRAL VANTA\\Lanterna"), 1);
}

TEST(RegistryKey, FailedSaveLeavesFileAndValuesAsTheyWere) {
    TempFolder folder;
    HiveFile hive = HiveIn(folder);
    {
        RegistryKey key(hive);
        ASSERT_EQ(key.OpenOrCreate(RegistryRoot::CurrentUser, kManual), 1);
        ASSERT_EQ(key.SetString("00", "kept"), 1);
    }
    const auto before = ReadFile(hive.path);
    hive.seam = FailingWrites();
    RegistryKey key(hive);
    ASSERT_EQ(key.OpenOrCreate(RegistryRoot::CurrentUser, kManual), 1);
    EXPECT_EQ(key.SetString("00", "lost"), 0);
    EXPECT_EQ(key.ReplaceValues({{"01", kRegistryString, "x\0"s}}), 0);
    EXPECT_EQ(key.DeleteSubKey(RegistryRoot::CurrentUser, kManual), 0);
    std::string text;
    EXPECT_EQ(key.GetString("00", text, 35), 1);
    EXPECT_EQ(text, "kept");
    EXPECT_EQ(ReadFile(hive.path), before);
    RegistryKey fresh(hive);
    EXPECT_EQ(fresh.OpenOrCreate(RegistryRoot::CurrentUser, "Software\\New"), 0);
}

TEST(RegistryKey, ForeignFileInThePlaceOfTheHiveIsLeftAlone) {
    TempFolder folder;
    const HiveFile hive = HiveIn(folder);
    std::filesystem::create_directories(folder.File("config/lanterna"));
    WriteFile(hive.path, "not a registry file\n");
    RegistryKey key(hive);
    EXPECT_EQ(key.OpenOrCreate(RegistryRoot::CurrentUser, kManual), 0);
    EXPECT_EQ(ReadFile(hive.path), "not a registry file\n");
}

TEST(RegistryKey, HivePathFollowsTheConfigurationFolder) {
    EXPECT_EQ(HivePathFor("/cfg", "/home/u"), "/cfg/lanterna/registry.reg");
    EXPECT_EQ(HivePathFor("", "/home/u"), "/home/u/.config/lanterna/registry.reg");
    EXPECT_EQ(HivePathFor("relative", "/home/u"), "/home/u/.config/lanterna/registry.reg");
    EXPECT_EQ(HivePathFor(nullptr, "/home/u"), "/home/u/.config/lanterna/registry.reg");
    EXPECT_EQ(HivePathFor(nullptr, nullptr), "");
    RegistryKey nowhere(HiveFile{""});
    EXPECT_EQ(nowhere.OpenOrCreate(RegistryRoot::CurrentUser, kManual), 0);
}

// ---- the file form -----------------------------------------------------------------------------

TEST(RegistryHive, ReadsHandWrittenExports) {
    const auto hive = RegistryHive::Parse(
        "\xEF\xBB\xBFWindows Registry Editor Version 5.00\n\n"
        "; a comment\n"
        "[HKEY_CURRENT_USER\\Software\\A]\n"
        "\"Bin\"=hex:01,02,\\\n  03\n"
        "\"Multi\"=hex(7):61,00,00\n"
        "@=\"default\"\n"
        "\"Gone\"=\"x\"\n"
        "\"Gone\"=-\n"
        "\"Bad\"=dword:123456789\n"
        "garbage line\n"
        "[-HKEY_CURRENT_USER\\Software\\Removed]\n"
        "\"Lost\"=\"y\"\n"
        "[HKEY_CURRENT_USER\\Software\\a]\n"
        "\"Later\"=dword:ff\n");
    ASSERT_TRUE(hive.has_value());
    ASSERT_EQ(hive->Keys().size(), 1U);
    const RegistryKeyEntry& key = hive->Keys()[0];
    ASSERT_EQ(key.Values().size(), 4U);
    EXPECT_EQ(key.Values()[0].type, kRegistryBinary);
    EXPECT_EQ(key.Values()[0].data, "\x01\x02\x03");
    EXPECT_EQ(key.Values()[1].type, 7U);
    EXPECT_EQ(key.Values()[2].name, "");
    EXPECT_EQ(key.Values()[2].data, "default\0"s);
    EXPECT_EQ(key.Values()[3].data, "\xff\0\0\0"s);

    EXPECT_FALSE(RegistryHive::Parse("REGEDIT4\r\n").has_value());
    EXPECT_TRUE(RegistryHive::Parse(" \r\n").has_value());
}

TEST(RegistryHive, EveryValueRoundTripsByteForByte) {
    std::mt19937 random(1234);
    RegistryHive hive;
    RegistryKeyEntry& key = hive.CreateKey("HKEY_CURRENT_USER\\Software\\Test");
    const std::uint32_t types[] = {kRegistryString, kRegistryDword, kRegistryBinary, 2, 7, 0x100};
    for (int i = 0; i < 300; ++i) {
        RegistryValue value;
        value.name = "v" + std::to_string(i) + "\"\\\xC7\xD1";
        value.type = types[static_cast<std::size_t>(i) % std::size(types)];
        const std::size_t length = random() % 40;
        for (std::size_t b = 0; b < length; ++b) {
            value.data.push_back(static_cast<char>(random() % 256));
        }
        if (i % 3 == 0) {  // also plain strings, which take the quoted form
            value.data = "plain \xB0\xA1 \\ \" text" + std::to_string(i) + "\0"s;
        }
        SetRegistryValue(key, value);
    }
    const std::string text = hive.Serialize();
    const auto back = RegistryHive::Parse(text);
    ASSERT_TRUE(back.has_value());
    ASSERT_EQ(back->Keys().size(), 1U);
    const auto& values = back->Keys()[0].Values();
    ASSERT_EQ(values.size(), key.Values().size());
    for (std::size_t i = 0; i < values.size(); ++i) {
        EXPECT_EQ(values[i].name, key.Values()[i].name);
        EXPECT_EQ(values[i].type, key.Values()[i].type) << i;
        EXPECT_EQ(values[i].data, key.Values()[i].data) << i;
    }
    EXPECT_EQ(back->Serialize(), text);
}

}  // namespace
}  // namespace lanterna
