#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <sstream>
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

namespace lanterna {
namespace {

// ---- the output policy -------------------------------------------------------------------------

// A UNIX socket bound at `path`; stays until the folder goes.
bool MakeSocketAt(const std::string& path) {
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::snprintf(address.sun_path, sizeof address.sun_path, "%s", path.c_str());
    const bool bound = ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    ::close(fd);
    return bound;
}

mode_t KindOf(const std::string& path) {
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0 ? (info.st_mode & S_IFMT) : 0;
}

TEST(OutputPolicy, EachKindOfPathGetsItsVerdictAndOnlyRegularFilesAreReplaced) {
    TempFolder folder;
    WriteFile(folder.File("file"), "old");
    WriteFile(folder.File("target"), "old");
    std::filesystem::create_symlink(folder.File("target"), folder.File("link"));
    std::filesystem::create_symlink(folder.File("gone"), folder.File("dangling"));
    std::filesystem::create_directory(folder.File("dir"));
    ASSERT_EQ(::mkfifo(folder.File("fifo").c_str(), 0600), 0);
    ASSERT_TRUE(MakeSocketAt(folder.File("sock")));
    const bool root = ::geteuid() == 0;
    if (root) {
        ASSERT_EQ(::mknod(folder.File("dev").c_str(), S_IFCHR | 0600, ::makedev(1, 3)), 0);
    }
    const struct {
        std::string name;
        OutputStatus expected;
    } cases[] = {
        {"file", OutputStatus::kOk},
        {"link", OutputStatus::kOk},
        {"new", OutputStatus::kOk},
        {"dangling", OutputStatus::kDanglingLink},
        {"dir", OutputStatus::kIsFolder},
        {"fifo", OutputStatus::kNotRegularFile},
        {"sock", OutputStatus::kNotRegularFile},
        {"dev", root ? OutputStatus::kNotRegularFile : OutputStatus::kOk},
        {"no-folder/file", OutputStatus::kFolderMissing},
        {"file/below-a-file", OutputStatus::kFolderMissing},
    };
    for (const auto& c : cases) {
        const std::string path = folder.File(c.name);
        const mode_t kind = KindOf(path);
        EXPECT_EQ(WriteOutputFile(path, "new"), c.expected) << c.name;
        if (kind != 0 && kind != S_IFREG) {
            EXPECT_EQ(KindOf(path), kind) << c.name << " must stay what it was";
        }
    }
    EXPECT_EQ(ReadFile(folder.File("file")), "new");
    EXPECT_EQ(ReadFile(folder.File("target")), "new");
    EXPECT_EQ(KindOf(folder.File("link")), static_cast<mode_t>(S_IFLNK));
    EXPECT_FALSE(std::filesystem::exists(folder.File("gone")));
    EXPECT_EQ(CheckOutputPath(folder.File("fifo")), OutputStatus::kNotRegularFile);
}

TEST(OutputPolicy, NewSecretFilesAreTheOwnersAndReplacementsKeepOwnerAndMode) {
    TempFolder folder;
    const mode_t previousMask = ::umask(022);
    ASSERT_EQ(WriteOutputFile(folder.File("shared"), "x", FileAccess::kShared), OutputStatus::kOk);
    ASSERT_EQ(WriteOutputFile(folder.File("secret"), "x", FileAccess::kPrivate), OutputStatus::kOk);
    ::umask(previousMask);
    struct stat info {};
    ASSERT_EQ(::stat(folder.File("shared").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0644U);
    ASSERT_EQ(::stat(folder.File("secret").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0600U);

    const std::string existing = folder.File("existing");
    WriteFile(existing, "old");
    ASSERT_EQ(::chmod(existing.c_str(), 0604), 0);
    const bool root = ::geteuid() == 0;
    if (root) {
        ASSERT_EQ(::chown(existing.c_str(), 65534, 65534), 0);
    }
    ASSERT_EQ(WriteOutputFile(existing, "new", FileAccess::kPrivate), OutputStatus::kOk);
    ASSERT_EQ(::stat(existing.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0604U) << "an existing file keeps its mode";
    if (root) {
        EXPECT_EQ(info.st_uid, 65534U) << "and its owner";
        EXPECT_EQ(info.st_gid, 65534U);
    }
}

// ---- bounded input -----------------------------------------------------------------------------

TEST(BoundedInput, EndlessDevicesStopAtTheLimitAndFifosAtTheirWait) {
    std::string content;
    EXPECT_EQ(ReadWholeFile("/dev/zero", 1000, content), FileRead::TooLarge);
    EXPECT_TRUE(content.empty());

    TempFolder folder;
    std::filesystem::create_symlink(folder.File("gone"), folder.File("dangling"));
    EXPECT_EQ(ReadWholeFile(folder.File("dangling"), 10, content), FileRead::DanglingLink);

    const std::string fifo = folder.File("fifo");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    std::thread writer([&] {
        const int fd = ::open(fifo.c_str(), O_WRONLY);  // waits for the reader
        ASSERT_GE(fd, 0);
        ASSERT_EQ(::write(fd, "abc", 3), 3);
        ::close(fd);
    });
    EXPECT_EQ(ReadWholeFile(fifo, 10, content, 5000), FileRead::Loaded);
    EXPECT_EQ(content, "abc");
    writer.join();

    std::atomic<bool> release{false};
    std::thread silent([&] {
        const int fd = ::open(fifo.c_str(), O_WRONLY);
        while (!release) {
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        ::close(fd);
    });
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(ReadWholeFile(fifo, 10, content, 200), FileRead::TimedOut);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
    release = true;
    // A reader of our own, in case the writer came too late to meet the one that timed out.
    const int reader = ::open(fifo.c_str(), O_RDONLY | O_NONBLOCK);
    silent.join();
    ::close(reader);
}

TEST(BoundedInput, StreamsAreCutAtTheirLimit) {
    std::string content;
    std::istringstream endless(std::string(2000, 'x'));
    EXPECT_EQ(ReadWholeStream(endless, 1999, content), FileRead::TooLarge);
    std::istringstream fits(std::string(2000, 'x'));
    EXPECT_EQ(ReadWholeStream(fits, 2000, content), FileRead::Loaded);
    EXPECT_EQ(content.size(), 2000U);
    EXPECT_EQ(ByteLimitText(64 * 1024), "64 KiB");
    EXPECT_EQ(ByteLimitText(4 * 1024 * 1024), "4 MiB");
    EXPECT_EQ(ByteLimitText(1000), "1000 bytes");
}

}  // namespace
}  // namespace lanterna
