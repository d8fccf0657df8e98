#include <gtest/gtest.h>

#include <string>

#include "platform/ProfileFile.h"
#include "tests/support/files/TempFolder.h"

namespace lanterna {
namespace {

using test::ReadFile;
using test::TempFolder;
using test::WriteFile;
using namespace std::string_literals;

std::string Read(const ProfileDocument& document, std::string_view section, std::string_view key) {
    return ProfileString(document, section, key, "DEFAULT", 1024);
}

// ---- reading ----------------------------------------------------------------------------------

TEST(ProfileRead, NamesMatchWithoutCaseOrSurroundingSpace) {
    const ProfileDocument document("  [ Common ]  \r\n  Nm_ProjectorName  =  ROOM-1  \r\n");
    EXPECT_EQ(Read(document, "COMMON", "NM_PROJECTORNAME"), "ROOM-1");
    EXPECT_EQ(Read(document, "common", "nm_projectorname"), "ROOM-1");
    EXPECT_EQ(Read(document, "COMMON", "NM_MACADDR"), "DEFAULT");
    EXPECT_EQ(Read(document, "NETWORK", "NM_PROJECTORNAME"), "DEFAULT");
}

TEST(ProfileRead, QuotesAroundTheValueAreRemovedOnce) {
    const ProfileDocument document(
        "[S]\nA=\"quoted\"\nB='single'\nC=\"open\nD=\"\"twice\"\"\nE=\" inner \"\nF=\"\n");
    EXPECT_EQ(Read(document, "S", "A"), "quoted");
    EXPECT_EQ(Read(document, "S", "B"), "single");
    EXPECT_EQ(Read(document, "S", "C"), "\"open");
    EXPECT_EQ(Read(document, "S", "D"), "\"twice\"");
    EXPECT_EQ(Read(document, "S", "E"), " inner ");
    EXPECT_EQ(Read(document, "S", "F"), "\"");
}

TEST(ProfileRead, LineEndsOfEveryKindAndBytesAboveAscii) {
    // "\xC7\xC1\xB7\xCE" is a double-byte (code page 949) text; 0x5B/0x5D-like trail bytes
    // must not disturb anything either.
    const std::string content =
        "[A]\r\nK1=one\r\n[B]\nK2=two\rK3=\xC7\xC1\xB7\xCE\xA4\x5D\r\n[C]\rK4=\xFF\xFE";
    const ProfileDocument document(content);
    EXPECT_EQ(Read(document, "A", "K1"), "one");
    EXPECT_EQ(Read(document, "B", "K2"), "two");
    EXPECT_EQ(Read(document, "B", "K3"), "\xC7\xC1\xB7\xCE\xA4\x5D");
    EXPECT_EQ(Read(document, "C", "K4"), "\xFF\xFE");
}

TEST(ProfileRead, FirstSectionAndFirstKeyWin) {
    const ProfileDocument document("[S]\nK=first\nk=second\n[T]\nK=other\n[s]\nK=third\n");
    EXPECT_EQ(Read(document, "S", "K"), "first");
    EXPECT_EQ(Read(document, "T", "K"), "other");
}

TEST(ProfileRead, CommentsBareKeysAndKeysBeforeAnySectionReadAsMissing) {
    const ProfileDocument document("K=outside\n[S]\n;K=comment\nBARE\nEMPTY=\n");
    EXPECT_EQ(Read(document, "S", "K"), "DEFAULT");
    EXPECT_EQ(Read(document, "S", "BARE"), "DEFAULT");
    EXPECT_EQ(Read(document, "S", "EMPTY"), "");
}

TEST(ProfileRead, BufferSizeDefaultAndZeroBytes) {
    const ProfileDocument document("[S]\nLONG=0123456789\nNUL=ab\0cd\n"s);
    EXPECT_EQ(ProfileString(document, "S", "LONG", "", 5), "0123");
    EXPECT_EQ(ProfileString(document, "S", "LONG", "", 0), "");
    EXPECT_EQ(ProfileString(document, "S", "NUL", "", 64), "ab");
    EXPECT_EQ(ProfileString(document, "S", "MISSING", "dflt  ", 64), "dflt");
    EXPECT_EQ(ProfileString(document, "S", "MISSING", "DEFAULT", 4), "DEF");
}

TEST(ProfileRead, IntegersLikeThePlatformReader) {
    const ProfileDocument document(
        "[S]\nA=42\nB=-1\nC=ON\nD=12abc\nE=\nF=+7\nG=99999999999\nH=\"5\"\nI=  -0  \n");
    EXPECT_EQ(ProfileInt(document, "S", "A", -1), 42);
    EXPECT_EQ(ProfileInt(document, "S", "B", 9), -1);
    EXPECT_EQ(ProfileInt(document, "S", "C", -1), 0);
    EXPECT_EQ(ProfileInt(document, "S", "D", -1), 12);
    EXPECT_EQ(ProfileInt(document, "S", "E", -1), -1);
    EXPECT_EQ(ProfileInt(document, "S", "F", -1), 7);
    EXPECT_EQ(ProfileInt(document, "S", "G", -1), 2147483647);
    EXPECT_EQ(ProfileInt(document, "S", "H", -1), 5);
    EXPECT_EQ(ProfileInt(document, "S", "I", -1), 0);
    EXPECT_EQ(ProfileInt(document, "S", "MISSING", -1), -1);
}

TEST(ProfileRead, ByteOrderMarks) {
    const ProfileDocument utf8("\xEF\xBB\xBF[S]\r\nK=v\r\n");
    EXPECT_EQ(Read(utf8, "S", "K"), "v");
    EXPECT_TRUE(utf8.CanWriteBack());

    const std::string utf16 = "\xFF\xFE[\0S\0]\0\r\0\n\0K\0=\0\x55\xD5v\0"s;
    const ProfileDocument wide(utf16);
    EXPECT_EQ(Read(wide, "S", "K"), "?v");
    EXPECT_FALSE(wide.CanWriteBack());
}

TEST(ProfileRead, FileThatWindowsWroteReadsTheSame) {
    TempFolder folder;
    const std::string path = folder.File("windows.ini");
    WriteFile(path,
              "[COMMON]\r\nNM_PROJECTORNAME=\xB1\xB3\xBD\xC7-1\r\nNM_MACADDR=0000480A1B2C\r\n"
              "[FILE]\r\nNM_INIVER=200\r\n[NETWORK]\r\nNM_DHCP=0\r\nNM_IP=192.168.1.5\r\n");
    EXPECT_EQ(ReadProfileString(path, "COMMON", "NM_PROJECTORNAME", "DEFAULT", 1024),
              "\xB1\xB3\xBD\xC7-1");
    EXPECT_EQ(ReadProfileString(path, "network", "nm_ip", "DEFAULT", 1024), "192.168.1.5");
    EXPECT_EQ(ReadProfileInt(path, "NETWORK", "NM_DHCP", -1), 0);
    EXPECT_EQ(ReadProfileInt(folder.File("missing.ini"), "NETWORK", "NM_DHCP", -1), -1);
}

TEST(ProfileRead, OversizedFileReadsAsEmptyAndIsNotWrittenOver) {
    TempFolder folder;
    const std::string path = folder.File("big.ini");
    std::string content = "[S]\nK=v\n";
    content.append(kMaxProfileFileBytes, ';');
    WriteFile(path, content);
    ProfileDocument document;
    EXPECT_EQ(LoadProfile(path, document), FileRead::TooLarge);
    EXPECT_EQ(ReadProfileString(path, "S", "K", "DEFAULT", 64), "DEFAULT");
    EXPECT_EQ(WriteProfileString(path, "S", "K", "w"), 0);
    EXPECT_EQ(ReadFile(path)->size(), content.size());
}

// ---- writing ----------------------------------------------------------------------------------

TEST(ProfileWrite, ReplacesInPlaceAndKeepsEveryOtherByte) {
    ProfileDocument document(
        "; saved by hand\n[COMMON]\r\n  nm_ProjectorName = OLD ; not a comment\r\nUNKNOWN=kept\n"
        "\n[NETWORK]\r\nNM_IP=1.2.3.4\r\n");
    ASSERT_TRUE(document.Set("common", "NM_PROJECTORNAME", "NEW"));
    EXPECT_EQ(document.Serialize(),
              "; saved by hand\n[COMMON]\r\n  nm_ProjectorName=NEW\r\nUNKNOWN=kept\n"
              "\n[NETWORK]\r\nNM_IP=1.2.3.4\r\n");
}

TEST(ProfileWrite, NewKeyGoesAfterTheLastKeyOfItsSectionAndNewSectionToTheEnd) {
    ProfileDocument document("[A]\r\nX=1\r\n; about B\r\n\r\n[B]\r\nY=2");
    ASSERT_TRUE(document.Set("A", "Z", "3"));
    ASSERT_TRUE(document.Set("B", "W", "4"));
    ASSERT_TRUE(document.Set("C", "V", "5"));
    ASSERT_TRUE(document.Set("a", "z", "33"));  // the pending key is replaced, not repeated
    EXPECT_EQ(document.Serialize(),
              "[A]\r\nX=1\r\nZ=33\r\n; about B\r\n\r\n[B]\r\nY=2\r\nW=4\r\n[C]\r\nV=5\r\n");
    EXPECT_EQ(Read(document, "A", "Z"), "33");
    EXPECT_EQ(Read(document, "c", "v"), "5");
}

TEST(ProfileWrite, EmptySectionGetsItsKeyBelowTheHeader) {
    ProfileDocument document("[A]\n[B]\nK=1\n");
    ASSERT_TRUE(document.Set("A", "N", "v"));
    EXPECT_EQ(document.Serialize(), "[A]\nN=v\r\n[B]\nK=1\n");
}

TEST(ProfileWrite, WritesGoToTheFirstSectionOfAName) {
    ProfileDocument document("[S]\nK=1\n[T]\nK=2\n[s]\nK=3\nN=old\n");
    ASSERT_TRUE(document.Set("s", "k", "one"));
    ASSERT_TRUE(document.Set("S", "N", "new"));  // the later section's key is not the one used
    EXPECT_EQ(document.Serialize(), "[S]\nK=one\nN=new\r\n[T]\nK=2\n[s]\nK=3\nN=old\n");
    EXPECT_EQ(Read(document, "S", "N"), "new");
    EXPECT_EQ(Read(document, "T", "K"), "2");
}

TEST(ProfileWrite, RefusesWhatCannotBeStoredOnOneLine) {
    ProfileDocument document;
    EXPECT_FALSE(document.Set("S", "K", "two\nlines"));
    EXPECT_FALSE(document.Set("S", "K", "cr\r"));
    EXPECT_FALSE(document.Set("S", "K", std::string_view("nul\0", 4)));
    EXPECT_FALSE(document.Set("S", "K=", "v"));
    EXPECT_FALSE(document.Set("S", ";K", "v"));
    EXPECT_FALSE(document.Set("S", "[K", "v"));
    EXPECT_FALSE(document.Set("S", " K", "v"));
    EXPECT_FALSE(document.Set("S]", "K", "v"));
    EXPECT_FALSE(document.Set("", "K", "v"));
    EXPECT_EQ(document.Serialize(), "");
    EXPECT_TRUE(document.Set("S", "K", " spaced \"and quoted\" "));
    EXPECT_EQ(document.Serialize(), "[S]\r\nK= spaced \"and quoted\" \r\n");
}

TEST(ProfileWrite, FileWrittenHereUsesCrLfAndReadsBack) {
    TempFolder folder;
    const std::string path = folder.File("new.ini");
    ASSERT_EQ(WriteProfileString(path, "COMMON", "NM_PROJECTORNAME", "\xB1\xB3\xBD\xC7"), 1);
    ASSERT_EQ(WriteProfileString(path, "FILE", "NM_INIVER", "200"), 1);
    ASSERT_EQ(WriteProfileString(path, "COMMON", "NM_MACADDR", "0000480A1B2C"), 1);
    ASSERT_EQ(WriteProfileString(path, "common", "nm_projectorname", "ROOM"), 1);
    EXPECT_EQ(ReadFile(path),
              "[COMMON]\r\nNM_PROJECTORNAME=ROOM\r\nNM_MACADDR=0000480A1B2C\r\n"
              "[FILE]\r\nNM_INIVER=200\r\n");
    EXPECT_EQ(WriteProfileString(path, "S", "K", "a\nb"), 0);
    EXPECT_EQ(ReadProfileString(path, "FILE", "NM_INIVER", "", 16), "200");
}

TEST(ProfileWrite, WideFileIsNotWrittenOver) {
    TempFolder folder;
    const std::string path = folder.File("wide.ini");
    const std::string content = "\xFF\xFE[\0S\0]\0"s;
    WriteFile(path, content);
    EXPECT_EQ(WriteProfileString(path, "S", "K", "v"), 0);
    EXPECT_EQ(ReadFile(path), content);
}

TEST(ProfileWrite, ByteOrderMarkAndMissingLastLineEndAreKept) {
    ProfileDocument document("\xEF\xBB\xBF[S]\nK=1");
    ASSERT_TRUE(document.Set("T", "L", "2"));
    EXPECT_EQ(document.Serialize(), "\xEF\xBB\xBF[S]\nK=1\r\n[T]\r\nL=2\r\n");
    ProfileDocument onlyMark("\xEF\xBB\xBF");
    ASSERT_TRUE(onlyMark.Set("T", "L", "2"));
    EXPECT_EQ(onlyMark.Serialize(), "\xEF\xBB\xBF[T]\r\nL=2\r\n");
}

TEST(ProfileWrite, BareKeyIsGivenItsValueInPlace) {
    ProfileDocument document("[S]\nBARE\nNEXT=1\n");
    ASSERT_TRUE(document.Set("S", "bare", "v"));
    EXPECT_EQ(document.Serialize(), "[S]\nBARE=v\nNEXT=1\n");
}

TEST(ProfileWrite, KeyTableSeesFirstKeysAndPendingWrites) {
    ProfileDocument document("[P]\nCount=2\nName_000=A\nname_000=B\nBARE\n");
    ASSERT_TRUE(document.Set("P", "Address_000", "1.2.3.4"));
    const auto table = document.KeyTable("p");
    EXPECT_EQ(table.at("name_000"), "A");
    EXPECT_EQ(table.at("address_000"), "1.2.3.4");
    EXPECT_FALSE(table.at("bare").has_value());
    EXPECT_TRUE(document.KeyTable("missing").empty());
}

}  // namespace
}  // namespace lanterna
