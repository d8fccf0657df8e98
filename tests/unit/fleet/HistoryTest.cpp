// The history kept before writes: entries ordered by the sequence in their name, the newest
// kept, a setting that was never read left out; the kept mode; two writers on one folder; a log
// that is no file.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <string>
#include <thread>

#include "fleet/Backup.h"
#include "fleet/History.h"
#include "fleet/KeptWrites.h"
#include "fleet/WriteHistory.h"
#include "platform/KeptFiles.h"
#include "tests/support/files/TempFolder.h"

namespace lanterna::fleet {
namespace {

using std::chrono::milliseconds;
const auto kStart = std::chrono::system_clock::time_point(milliseconds(1765188000123));

ProjectorRecord Room201() {
    ProjectorRecord record{};
    CopyText(record.macAddress, "0200aabbcc01");
    CopyText(record.projectorName, "ROOM-201");
    record.projectorNameState = kStateRead;
    CopyText(record.community, "made-up");  // never read: state 0
    return record;
}

mode_t ModeOf(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 ? info.st_mode & 07777 : 0;
}

TEST(History, KeepsTheNewestEntriesInTheirOrderAndOnlyWhatWasRead) {
    test::TempFolder folder;
    const CHistory history(folder.Path());
    ProjectorRecord record = Room201();
    // An entry named before sequences came stays readable, older than every numbered one.
    ASSERT_TRUE(MakeKeptFolder(folder.Path() + "/0200AABBCC01"));
    test::WriteFile(folder.Path() + "/0200AABBCC01/20251208T100000.000Z-1.ini",
                    "[FILE]\nNM_INIVER=200\n");
    ASSERT_EQ(history.Keep(record, kStart), OutputStatus::kOk);
    ASSERT_EQ(history.Entries("0200AABBCC01").size(), 2U);
    EXPECT_EQ(history.Entries("0200AABBCC01").back().number, 1);
    for (std::size_t n = 1; n < kHistoryEntriesKept + 2; ++n) {
        // One clock a year ahead; the sequence orders them all the same.
        const auto at = n == 10 ? kStart + std::chrono::hours(24 * 365) : kStart + milliseconds(n);
        ASSERT_EQ(history.Keep(record, at), OutputStatus::kOk);
    }
    const auto entries = history.Entries("0200AABBCC01");
    ASSERT_EQ(entries.size(), kHistoryEntriesKept);
    EXPECT_EQ(entries.front().path,
              folder.Path() + "/0200AABBCC01/0000000052-20251208T100000.174Z.ini");
    EXPECT_EQ(entries.back().sequence, 3U);
    EXPECT_EQ(KeptWrites(history, {"0200AABBCC01"}).front().entry.path, entries.front().path);

    ProjectorRecord kept{};
    ASSERT_TRUE(history.ReadEntry("0200aabbcc01", 0, kept));
    EXPECT_EQ(TextOf(kept.projectorName), "ROOM-201");
    EXPECT_EQ(kept.communityState, kStateUnknown);

    // A name no settings file can hold is kept escaped: the write is not held up by it.
    CopyText(record.projectorName, "ROOM\n201");
    ASSERT_EQ(history.Keep(record, kStart), OutputStatus::kOk);
    ASSERT_TRUE(history.ReadEntry("0200aabbcc01", 0, kept));
    EXPECT_EQ(TextOf(kept.projectorName), "ROOM\\x0a201");

    // A projector without a usable hardware address has no folder to keep it in.
    CopyText(record.macAddress, "../../etc");
    EXPECT_EQ(history.Keep(record, kStart), OutputStatus::kNotWritable);
}

// One mode for entries, change logs and backups: the owner's, or a team's in its shared folder.
TEST(History, EntriesLogsAndBackupsTakeTheKeptMode) {
    const struct {
        mode_t folderMode;
        mode_t fileMode;
    } cases[] = {{0755, 0600}, {02770, 0660}, {02750, 0600}};
    for (const auto& c : cases) {
        test::TempFolder folder;
        ASSERT_EQ(::chmod(folder.Path().c_str(), c.folderMode), 0);
        const CHistory history(folder.Path());
        std::string entry;
        ASSERT_EQ(history.Keep(Room201(), kStart, &entry), OutputStatus::kOk);
        ASSERT_EQ(history.LogWrite(Room201(), kStart, {"NWCNAME lab"}, "set"), OutputStatus::kOk);
        SiteReading reading;
        reading.record = Room201();
        const BackupRun backup = WriteBackup(folder.Path(), {reading}, kStart);
        ASSERT_EQ(backup.indexStatus, OutputStatus::kOk);
        for (const std::string& path :
             {entry, folder.Path() + "/0200AABBCC01/changes.log",
              backup.folder + "/" + backup.entries[0].file, backup.folder + "/index.csv"}) {
            EXPECT_EQ(ModeOf(path), c.fileMode) << path << " in " << std::oct << c.folderMode;
        }
        EXPECT_EQ(ModeOf(backup.folder), c.fileMode == 0660 ? 02770U : 0700U);
    }
}

// Two writers at once on one projector: no line lost, no entry replaced, the bound kept.
TEST(History, TwoWritersShareOneFolder) {
    test::TempFolder folder;
    constexpr int kWrites = 40;
    const auto writer = [&folder](int who) {
        const CHistory history(folder.Path());
        for (int n = 0; n < kWrites; ++n) {
            // Both writers in the same millisecond every time.
            EXPECT_EQ(history.Keep(Room201(), kStart + milliseconds(n)), OutputStatus::kOk);
            EXPECT_EQ(history.LogWrite(Room201(), kStart, {"NWCNAME w" + std::to_string(who)},
                                       "set"),
                      OutputStatus::kOk);
        }
    };
    std::thread first(writer, 1);
    std::thread second(writer, 2);
    first.join();
    second.join();
    const CHistory history(folder.Path());
    EXPECT_EQ(history.Entries("0200AABBCC01").size(), kHistoryEntriesKept);
    EXPECT_EQ(history.Entries("0200AABBCC01").front().sequence, 2U * kWrites);
    EXPECT_EQ(history.ChangeLogLines("0200AABBCC01").size(), 2U * kWrites);
}

// A write with nothing to send takes no slot and no line; one that sends does, with its writer.
TEST(History, OnlyAWriteThatSendsSomethingIsKept) {
    test::TempFolder folder;
    const ProjectorRecord reported = Room201();
    CWriteHistory unchanged(folder.Path(), reported);
    ASSERT_TRUE(unchanged.KeepBefore(reported));
    ASSERT_TRUE(unchanged.LogAfter(1));
    const CHistory history(folder.Path());
    EXPECT_TRUE(history.Entries("0200AABBCC01").empty());
    EXPECT_TRUE(history.ChangeLogLines("0200AABBCC01").empty());

    ProjectorRecord changed = reported;
    CopyText(changed.community, "lab");
    changed.communityState = kStateChanged;
    CWriteHistory written(folder.Path(), reported);
    ASSERT_TRUE(written.KeepBefore(changed));
    ASSERT_TRUE(written.LogAfter(1));
    EXPECT_EQ(history.Entries("0200AABBCC01").size(), 1U);
    const auto lines = ChangeLines(history, {"0200AABBCC01"});
    ASSERT_EQ(lines.size(), 1U);
    EXPECT_EQ(lines[0].sent, std::vector<std::string>{"NWCNAME lab"});
    EXPECT_EQ(lines[0].who.find('@') != std::string::npos, true) << lines[0].who;
}

// A FIFO or a link where the log belongs is refused at once; the write is told.
TEST(History, ALogThatIsNoFileIsRefusedWithoutWaiting) {
    for (const bool fifo : {true, false}) {
        test::TempFolder folder;
        const CHistory history(folder.Path());
        ASSERT_EQ(history.Keep(Room201(), kStart), OutputStatus::kOk);
        const std::string log = folder.Path() + "/0200AABBCC01/changes.log";
        const std::string elsewhere = folder.Path() + "/elsewhere";
        test::WriteFile(elsewhere, "");
        ASSERT_EQ(fifo ? ::mkfifo(log.c_str(), 0600) : ::symlink(elsewhere.c_str(), log.c_str()), 0);
        EXPECT_EQ(history.LogWrite(Room201(), kStart, {"NWCNAME lab"}, "set"),
                  OutputStatus::kNotRegularFile)
            << fifo;
        EXPECT_EQ(test::ReadFile(elsewhere), "") << fifo;
    }
}

TEST(History, WepKeysAreMaskedInShownCommands) {
    const struct {
        const char* line;
        const char* shown;
    } cases[] = {
        {"NWWEP2 6162636465", "NWWEP2 ********"},
        {"NWWEP3 INIT", "NWWEP3 INIT"},
        {"NWWLCNF OFF 10.1.1.5 255.255.255.0 10.1.1.1 6 LAB 6162636465",
         "NWWLCNF OFF 10.1.1.5 255.255.255.0 10.1.1.1 6 LAB ********"},
        {"NWWLCNF ON 0.0.0.0 0.0.0.0 0.0.0.0 5 LAB NET", "NWWLCNF ON 0.0.0.0 0.0.0.0 0.0.0.0 5 LAB NET"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(MaskedCommand(c.line), c.shown);
    }
}

}  // namespace
}  // namespace lanterna::fleet
