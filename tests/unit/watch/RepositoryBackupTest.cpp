// The watcher's backup folder on the kept files' one mode policy: the owner's alone, or a
// team's in its set-gid folder; a round that changes nothing writes nothing; a name that is a
// link is never written through.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "fleet/Backup.h"
#include "platform/KeptFiles.h"
#include "tests/support/files/TempFolder.h"
#include "watch/RepositoryBackup.h"

namespace lanterna::watch {
namespace {

mode_t ModeOf(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 ? info.st_mode & 07777 : 0;
}

fleet::SiteReading Room201() {
    fleet::SiteReading reading;
    reading.target.address = "10.1.2.5";
    ProjectorRecord record{};
    CopyText(record.macAddress, "0200aabbcc01");
    CopyText(record.projectorName, "ROOM-201");
    record.projectorNameState = kStateRead;
    reading.record = record;
    reading.wiredMac = "0200AABBCC01";
    return reading;
}

TEST(RepositoryBackup, FilesTakeTheKeptModeOfTheFolder) {
    const struct {
        mode_t folderMode;
        mode_t fileMode;
    } cases[] = {{0755, 0600}, {0700, 0600}, {02770, 0660}, {02750, 0600}};
    for (const auto& c : cases) {
        test::TempFolder folder;
        ASSERT_EQ(::chmod(folder.Path().c_str(), c.folderMode), 0);
        const BackupRoundResult first = WriteRepositoryBackup(folder.Path(), {Room201()});
        ASSERT_EQ(first.projectors.size(), 1u);
        ASSERT_FALSE(first.projectors[0].notWritten);
        ASSERT_TRUE(first.indexWritten);
        const std::string file =
            folder.Path() + "/" + fleet::BackupFileName("ROOM-201", "0200aabbcc01");
        EXPECT_EQ(ModeOf(file), c.fileMode) << std::oct << c.folderMode;
        EXPECT_EQ(ModeOf(folder.Path() + "/index.csv"), c.fileMode) << std::oct << c.folderMode;
    }
}

TEST(RepositoryBackup, AQuietRoundWritesNothingAndALinkIsNeverWrittenThrough) {
    test::TempFolder folder;
    ASSERT_TRUE(WriteRepositoryBackup(folder.Path(), {Room201()}).indexWritten);
    struct stat before {};
    ASSERT_EQ(::stat((folder.Path() + "/index.csv").c_str(), &before), 0);
    const BackupRoundResult quiet = WriteRepositoryBackup(folder.Path(), {Room201()});
    EXPECT_EQ(quiet.ChangedCount(), 0u);
    struct stat after {};
    ASSERT_EQ(::stat((folder.Path() + "/index.csv").c_str(), &after), 0);
    EXPECT_EQ(before.st_ino, after.st_ino);

    CKeptFileBatch batch(folder.Path());
    const std::string outside = folder.Path() + "/outside";
    ASSERT_EQ(::symlink(outside.c_str(), (folder.Path() + "/linked.ini").c_str()), 0);
    ASSERT_TRUE(batch.Stage("linked.ini", "[FILE]\n"));
    ASSERT_TRUE(batch.Stage("plain.ini", "[FILE]\n"));
    EXPECT_EQ(batch.Commit(), std::vector<std::string>{"linked.ini"});
    EXPECT_NE(::access(outside.c_str(), F_OK), 0);
    EXPECT_EQ(ModeOf(folder.Path() + "/plain.ini"), 0600u);
}

}  // namespace
}  // namespace lanterna::watch
