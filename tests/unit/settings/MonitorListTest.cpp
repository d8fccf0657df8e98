#include <gtest/gtest.h>

#include <string>

#include "settings/MonitorList.h"
#include "tests/support/files/TempFolder.h"

namespace lanterna {
namespace {

using test::TempFolder;
using test::WriteFile;

std::string Projector(int i, const std::string& name, const std::string& address,
                      const std::string& type) {
    char index[16];
    std::snprintf(index, sizeof index, "%03d", i);
    return "Name_" + std::string(index) + "=" + name + "\r\nAddress_" + index + "=" + address +
           "\r\nIMType_" + index + "=" + type + "\r\n";
}

struct Imported {
    int result = -1;
    std::vector<ProjectorRecord> added;
};

Imported Import(const std::string& content, ProjectorList& list) {
    const std::size_t before = list.Size();
    Imported imported;
    imported.result = ImportMonitorDocument(ProfileDocument(content), list);
    for (std::size_t i = before; i < list.Size(); ++i) {
        imported.added.push_back(*list.At(static_cast<std::ptrdiff_t>(i)));
    }
    return imported;
}

Imported Import(const std::string& content) {
    ProjectorList list;
    return Import(content, list);
}

TEST(MonitorList, WithoutAPositiveCountNothingIsImported) {
    for (const std::string count : {"", "Count=0\r\n", "Count=-3\r\n", "Count=many\r\n"}) {
        const Imported imported =
            Import("[PROJECTOR]\r\n" + count + Projector(0, "A", "10.0.0.1", "22"));
        EXPECT_EQ(imported.result, 0) << count;
        EXPECT_TRUE(imported.added.empty());
    }
    ProjectorList list;
    TempFolder folder;
    EXPECT_EQ(ImportMonitorList(folder.File("none.ini"), list), 0);
}

TEST(MonitorList, ImportsRecordsWithOriginTwoInNumberOrder) {
    const Imported imported = Import("[OTHER]\r\nCount=9\r\n[projector]\r\ncount=3\r\n" +
                                     Projector(2, "THIRD", "10.0.0.3", "30") +
                                     Projector(0, "FIRST", "192.168.1.5", "22") +
                                     "name_001=SECOND\r\naddress_001=10.0.0.2\r\nimtype_001=0\r\n");
    EXPECT_EQ(imported.result, 1);
    ASSERT_EQ(imported.added.size(), 3U);
    EXPECT_EQ(TextOf(imported.added[0].projectorName), "FIRST");
    EXPECT_EQ(imported.added[0].origin, kOriginImport);
    EXPECT_EQ(TextOf(imported.added[0].address), "192.168.1.5");
    EXPECT_EQ(imported.added[0].ipAddress, (Octets{192, 168, 1, 5}));
    EXPECT_EQ(imported.added[0].imType, 22);
    EXPECT_EQ(TextOf(imported.added[1].projectorName), "SECOND");
    EXPECT_EQ(TextOf(imported.added[2].projectorName), "THIRD");
    EXPECT_EQ(imported.added[2].imType, 30);
}

TEST(MonitorList, SkipsSilentlyWhatCannotBeListed) {
    const Imported imported = Import(
        "[PROJECTOR]\r\nCount=9\r\n" + Projector(0, "TYPE20", "10.0.0.1", "20") +
        Projector(1, "TYPE020", "10.0.0.2", "020") + "Name_002=NOTYPE\r\nAddress_002=10.0.0.3\r\n" +
        Projector(3, "LOOP", "127.0.0.1", "22") + Projector(4, "ZERO", "0.0.0.0", "22") +
        Projector(5, "MULTI", "224.0.0.1", "22") + "Name_006=NOADDRESS\r\nIMType_006=22\r\n" +
        Projector(7, "ONCE", "10.0.0.9", "22") + Projector(8, "AGAIN", "10.0.0.9", "30"));
    EXPECT_EQ(imported.result, 1);
    ASSERT_EQ(imported.added.size(), 1U);
    EXPECT_EQ(TextOf(imported.added[0].projectorName), "ONCE");
}

TEST(MonitorList, EveryProjectorOfTypeTwentyAddsNothingButReadsTheFile) {
    const Imported imported =
        Import("[PROJECTOR]\r\nCount=2\r\n" + Projector(0, "A", "10.0.0.1", "20") +
               Projector(1, "B", "10.0.0.2", "20"));
    EXPECT_EQ(imported.result, 1);
    EXPECT_TRUE(imported.added.empty());
}

TEST(MonitorList, AddressAlreadyInTheListIsSkipped) {
    ProjectorList list;
    ProjectorRecord found;
    found.ipAddress = {10, 0, 0, 1};
    list.Append(found);
    const Imported imported =
        Import("[PROJECTOR]\r\nCount=1\r\n" + Projector(0, "A", "10.0.0.1", "22"), list);
    EXPECT_EQ(imported.result, 1);
    EXPECT_TRUE(imported.added.empty());
}

TEST(MonitorList, NamesAndAddressesAreCutAndDefaultNamesLeftEmpty) {
    const Imported imported =
        Import("[PROJECTOR]\r\nCount=2\r\n" + Projector(0, "DEFAULT", "10.0.0.1", "22") +
               Projector(1, "ABCDEFGHIJKLMNOPQRS", "  10.0.0.2            trailing", "  22  "));
    ASSERT_EQ(imported.added.size(), 2U);
    EXPECT_TRUE(IsEmptyText(imported.added[0].projectorName));
    EXPECT_EQ(TextOf(imported.added[1].projectorName), "ABCDEFGHIJKLMNO");
    EXPECT_EQ(TextOf(imported.added[1].address), "10.0.0.2            ");
    EXPECT_EQ(imported.added[1].ipAddress, (Octets{10, 0, 0, 2}));
}

TEST(MonitorList, NumbersMustBeThoseTheCountCoversPrintedWithThreeDigits) {
    const Imported imported =
        Import("[PROJECTOR]\r\nCount=1001\r\n" + Projector(1, "BEYOND", "10.0.0.1", "22") +
               "IMType_0002=22\r\nAddress_0002=10.0.0.2\r\n" +
               "IMType_1000=22\r\nAddress_1000=10.0.0.3\r\n" +
               "IMType_1001=22\r\nAddress_1001=10.0.0.4\r\n");
    ASSERT_EQ(imported.added.size(), 2U);
    EXPECT_EQ(TextOf(imported.added[0].address), "10.0.0.1");
    EXPECT_EQ(TextOf(imported.added[1].address), "10.0.0.3");
}

TEST(MonitorList, HugeCountCostsNothingAndTheImportStopsPastTheDisplayLimit) {
    std::string content = "[PROJECTOR]\r\nCount=2147483647\r\n";
    const int limit = static_cast<int>(ProjectorList::kDisplayLimit);
    for (int i = 0; i < limit + 6; ++i) {
        content += Projector(i * 1000, "P" + std::to_string(i),
                             "10.0." + std::to_string(i / 200) + "." + std::to_string(i % 200 + 1),
                             "22");
    }
    const Imported imported = Import(content);
    EXPECT_EQ(imported.result, 1);
    ASSERT_EQ(imported.added.size(), ProjectorList::kDisplayLimit + 1);
    EXPECT_EQ(TextOf(imported.added[ProjectorList::kDisplayLimit].projectorName),
              "P" + std::to_string(limit));
}

TEST(MonitorList, ReadsAListFileFromDisk) {
    TempFolder folder;
    const std::string path = folder.File("sentro.ini");
    WriteFile(path,
              "[PROJECTOR]\r\nCount=1\r\n" + Projector(0, "\xB1\xB3\xBD\xC7", "10.0.0.1", "30"));
    ProjectorList list;
    EXPECT_EQ(ImportMonitorList(path, list), 1);
    ASSERT_EQ(list.Size(), 1U);
    EXPECT_EQ(TextOf(list.At(0)->projectorName), "\xB1\xB3\xBD\xC7");
}

}  // namespace
}  // namespace lanterna
