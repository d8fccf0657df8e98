#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <functional>
#include <thread>

#include "platform/AtomicFile.h"
#include "platform/DiskSpace.h"
#include "platform/ProfileFile.h"
#include "tests/support/files/TempFolder.h"

namespace lanterna {
namespace {

using test::ReadFile;
using test::TempFolder;
using test::WriteFile;

// A disk that fills up after `room` bytes of the new file.
FileSeam DiskFullAfter(std::size_t room) {
    auto left = std::make_shared<std::size_t>(room);
    return FileSeam{[](const std::string&) { return std::optional<std::uint64_t>(0); },
                    [left](int fd, const char* data, std::size_t size) -> long {
                        if (*left == 0) {
                            errno = ENOSPC;
                            return -1;
                        }
                        const std::size_t now = std::min(size, *left);
                        *left -= now;
                        return static_cast<long>(::write(fd, data, now));
                    }};
}

TEST(AtomicFile, ReplacesContentAndLeavesNoTemporaryFile) {
    TempFolder folder;
    const std::string path = folder.File("a.ini");
    WriteFile(path, "old");
    ASSERT_EQ(ReplaceFileAtomically(path, "new content"), 1);
    EXPECT_EQ(ReadFile(path), "new content");
    EXPECT_EQ(folder.Entries(), std::vector<std::string>{"a.ini"});
}

TEST(AtomicFile, WriteThatBreaksOffLeavesTheOldFileExactly) {
    TempFolder folder;
    const std::string path = folder.File("a.ini");
    WriteFile(path, "[S]\r\nK=old\r\n");
    for (const std::size_t room : {0U, 1U, 7U}) {
        EXPECT_EQ(ReplaceFileAtomically(path, "[S]\r\nK=new and longer\r\n", DiskFullAfter(room)),
                  0);
        EXPECT_EQ(ReadFile(path), "[S]\r\nK=old\r\n");
        EXPECT_EQ(folder.Entries(), std::vector<std::string>{"a.ini"}) << "room " << room;
    }
    EXPECT_EQ(WriteProfileString(path, "S", "K", "new", DiskFullAfter(3)), 0);
    EXPECT_EQ(ReadFile(path), "[S]\r\nK=old\r\n");
}

// Runs `attempt` in a child process without privileges (root ignores folder permissions) and
// returns its result.
int AsUnprivilegedUser(const std::function<int()>& attempt) {
    const pid_t child = ::fork();
    if (child == 0) {
        const uid_t nobody = 65534;
        if (::setgid(nobody) != 0 || ::setuid(nobody) != 0) {
            ::_exit(99);
        }
        ::_exit(attempt());
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 98;
}

TEST(AtomicFile, ReadOnlyFolderLeavesTheOldFile) {
    TempFolder folder;
    const std::string sub = folder.File("locked");
    std::filesystem::create_directory(sub);
    const std::string path = sub + "/a.ini";
    WriteFile(path, "old");
    ::chmod(folder.Path().c_str(), 0755);
    ::chmod(path.c_str(), 0644);
    ::chmod(sub.c_str(), 0555);
    const auto attempt = [&] {
        return ReplaceFileAtomically(path, "new") + WriteProfileString(path, "S", "K", "v");
    };
    if (!test::IgnoresFolderPermissions(sub)) {
        EXPECT_EQ(attempt(), 0);
    } else if (::geteuid() == 0) {
        EXPECT_EQ(AsUnprivilegedUser(attempt), 0);
    } else {
        GTEST_SKIP() << "folder permissions are not enforced here";
    }
    EXPECT_EQ(ReadFile(path), "old");
    EXPECT_EQ(test::TempFolder::EntriesOf(sub), std::vector<std::string>{"a.ini"});
}

TEST(AtomicFile, FailsForFoldersAndMissingFolders) {
    TempFolder folder;
    std::filesystem::create_directory(folder.File("dir"));
    EXPECT_EQ(ReplaceFileAtomically(folder.File("dir"), "x"), 0);
    EXPECT_TRUE(std::filesystem::is_directory(folder.File("dir")));
    EXPECT_EQ(ReplaceFileAtomically(folder.File("no/such/file.ini"), "x"), 0);
    EXPECT_EQ(ReplaceFileAtomically("", "x"), 0);
}

TEST(AtomicFile, FollowsASymbolicLinkAndKeepsPermissions) {
    TempFolder folder;
    const std::string target = folder.File("target.ini");
    const std::string link = folder.File("link.ini");
    WriteFile(target, "old");
    ::chmod(target.c_str(), 0640);
    std::filesystem::create_symlink(target, link);
    ASSERT_EQ(ReplaceFileAtomically(link, "new"), 1);
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(ReadFile(target), "new");
    struct stat info {};
    ASSERT_EQ(::stat(target.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0640U);
}

TEST(AtomicFile, ReplacementKeepsTheOwnerWherePermitted) {
    if (::geteuid() != 0) {
        GTEST_SKIP() << "only root may give a file away";
    }
    TempFolder folder;
    const std::string existing = folder.File("existing");
    WriteFile(existing, "old");
    ASSERT_EQ(::chown(existing.c_str(), 65534, 65534), 0);
    ASSERT_EQ(WriteOutputFile(existing, "new", FileAccess::kPrivate), OutputStatus::kOk);
    struct stat info {};
    ASSERT_EQ(::stat(existing.c_str(), &info), 0);
    EXPECT_EQ(info.st_uid, 65534U);
    EXPECT_EQ(info.st_gid, 65534U);
}


// Links in a shared folder, as root writes through them: another user's link in a sticky folder
// everyone may write to is refused wherever it stands on the path, and the file it points at
// keeps its content; the user's own links, the folder owner's and links in other folders are
// followed. Owners are given with lchown, so this needs root.
TEST(AtomicFile, AnotherUsersLinkInASharedStickyFolderIsNotFollowed) {
    if (::geteuid() != 0) {
        GTEST_SKIP() << "only root may give a link to another user";
    }
    constexpr uid_t kOtherUser = 12345;
    constexpr uid_t kFolderOwner = 12346;
    const struct Case {
        const char* what;
        mode_t folderMode;
        uid_t folderOwner;
        uid_t linkOwner;
        bool linkIsFolder;  // the link stands for a folder on the way, not for the file
        bool followed;
    } cases[] = {
        {"another user's link in /tmp-like folder", 01777, 0, kOtherUser, false, false},
        {"another user's link to a folder on the way", 01777, 0, kOtherUser, true, false},
        {"the user's own link", 01777, 0, 0, false, true},
        {"the folder owner's link", 01777, kFolderOwner, kFolderOwner, false, true},
        {"another user's link, folder not sticky", 0777, 0, kOtherUser, false, true},
        {"another user's link, sticky folder only its owner writes", 01755, 0, kOtherUser, false,
         true},
    };
    for (const Case& c : cases) {
        TempFolder folder;
        const std::string shared = folder.File("shared");
        const std::string secret = folder.File("secret");
        std::filesystem::create_directory(shared);
        std::filesystem::create_directory(secret);
        WriteFile(secret + "/root-only", "old");
        ASSERT_EQ(::chown(shared.c_str(), c.folderOwner, 0), 0);
        ASSERT_EQ(::chmod(shared.c_str(), c.folderMode), 0);
        const std::string link = shared + (c.linkIsFolder ? "/dir" : "/out.ncf");
        std::filesystem::create_symlink(c.linkIsFolder ? secret : secret + "/root-only", link);
        ASSERT_EQ(::lchown(link.c_str(), c.linkOwner, 0), 0);
        const std::string path = c.linkIsFolder ? link + "/root-only" : link;

        const OutputStatus status = WriteOutputFile(path, "new");
        EXPECT_EQ(status, c.followed ? OutputStatus::kOk : OutputStatus::kUnsafeLink) << c.what;
        EXPECT_EQ(ReadFile(secret + "/root-only"), c.followed ? "new" : "old") << c.what;
        EXPECT_EQ(UnsafeLinkOn(path), c.followed ? "" : link) << c.what;
        EXPECT_TRUE(std::filesystem::is_symlink(link)) << c.what;
    }
}
TEST(AtomicFile, ReadsWithACapAndNeverBlocksOnAPipe) {
    TempFolder folder;
    const std::string path = folder.File("f");
    WriteFile(path, "12345");
    std::string content;
    EXPECT_EQ(ReadWholeFile(path, 5, content), FileRead::Loaded);
    EXPECT_EQ(content, "12345");
    EXPECT_EQ(ReadWholeFile(path, 4, content), FileRead::TooLarge);
    EXPECT_EQ(ReadWholeFile(folder.File("none"), 4, content), FileRead::Missing);
    EXPECT_EQ(ReadWholeFile(folder.Path(), 4, content), FileRead::IsFolder);
    const std::string fifo = folder.File("fifo");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_EQ(ReadWholeFile(fifo, 4, content, 50), FileRead::TimedOut);
    EXPECT_EQ(ReadWholeFile("/dev/zero", 1000, content), FileRead::TooLarge);

    std::thread writer([&] {
        const int fd = ::open(fifo.c_str(), O_WRONLY);  // waits for the reader below
        EXPECT_EQ(::write(fd, "abc", 3), 3);
        ::close(fd);
    });
    EXPECT_EQ(ReadWholeFile(fifo, 4, content, 5000), FileRead::Loaded);
    EXPECT_EQ(content, "abc");
    writer.join();
}

TEST(DiskSpace, QueriesTheFolderAndNamesFolders) {
    TempFolder folder;
    EXPECT_TRUE(QueryFreeDiskBytes(folder.Path()).has_value());
    EXPECT_FALSE(QueryFreeDiskBytes(folder.File("missing")).has_value());
    EXPECT_EQ(FolderOf("a.ini"), ".");
    EXPECT_EQ(FolderOf("/a.ini"), "/");
    EXPECT_EQ(FolderOf("/x/y/a.ini"), "/x/y");
}

}  // namespace
}  // namespace lanterna
