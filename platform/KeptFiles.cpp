#include "platform/KeptFiles.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <filesystem>
#include <system_error>
#include <thread>

#include "platform/DiskSpace.h"

namespace lanterna {

namespace {

constexpr std::chrono::milliseconds kLockRetry{10};

bool WriteWhole(int fd, std::string_view content) {
    while (!content.empty()) {
        const ssize_t written = ::write(fd, content.data(), content.size());
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            return false;
        }
        content.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

}  // namespace

mode_t KeptFolderMode(const std::string& parent) {
    return IsTeamFolder(parent) ? 02770 : 0700;
}

bool IsTeamFolder(const std::string& folder) {
    struct stat info {};
    return ::stat(folder.c_str(), &info) == 0 && S_ISDIR(info.st_mode) &&
           (info.st_mode & S_ISGID) != 0 && (info.st_mode & S_IWGRP) != 0;
}

mode_t KeptFileMode(const std::string& folder) {
    return IsTeamFolder(folder) ? 0660 : 0600;
}

bool MakeKeptFolder(const std::string& folder) {
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    struct stat info {};
    if (error || ::stat(folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) {
        return false;
    }
    const mode_t mode = KeptFolderMode(FolderOf(folder));
    return info.st_uid != ::geteuid() || (info.st_mode & 07777) == mode ||
           ::chmod(folder.c_str(), mode) == 0;
}

bool GiveKeptMode(int fd, const std::string& folder) {
    struct stat holder {};
    if (IsTeamFolder(folder) && ::stat(folder.c_str(), &holder) == 0 &&
        ::fchown(fd, static_cast<uid_t>(-1), holder.st_gid) != 0) {
        return false;
    }
    return ::fchmod(fd, KeptFileMode(folder)) == 0;
}

CFolderLock::CFolderLock(const std::string& folder, std::uint32_t waitMs)
    : fd_(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)) {
    if (!fd_.Valid()) {
        return;
    }
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(waitMs);
    // Polled rather than blocking, so that a writer that hangs holding it cannot hold us forever.
    while (!(held_ = ::flock(fd_.Get(), LOCK_EX | LOCK_NB) == 0)) {
        if ((errno != EWOULDBLOCK && errno != EINTR) || std::chrono::steady_clock::now() >= until) {
            return;
        }
        std::this_thread::sleep_for(kLockRetry);
    }
}

OutputStatus CreateKeptFile(const std::string& path, std::string_view content) {
    static std::atomic<unsigned> counter{0};
    const std::string folder = FolderOf(path);
    const std::string temporary = folder + "/.new" + std::to_string(::getpid()) + "-" +
                                  std::to_string(counter.fetch_add(1));
    FileDescriptor fd(::open(temporary.c_str(),
                             O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0600));
    if (!fd.Valid()) {
        return OutputStatus::kNotWritable;
    }
    const bool written =
        GiveKeptMode(fd.Get(), folder) && WriteWhole(fd.Get(), content) && ::fsync(fd.Get()) == 0;
    // A link is made only where no name stands: the entry appears whole, and nothing is replaced.
    const bool linked = fd.Close() && written && ::link(temporary.c_str(), path.c_str()) == 0;
    const int linkError = errno;
    ::unlink(temporary.c_str());
    errno = linkError;
    return linked ? OutputStatus::kOk : OutputStatus::kNotWritable;
}

CKeptFileBatch::CKeptFileBatch(std::string folder) : folder_(std::move(folder)) {}

CKeptFileBatch::~CKeptFileBatch() {
    for (const Staged& staged : staged_) {
        ::unlink(staged.temporary.c_str());
    }
}

bool CKeptFileBatch::Stage(const std::string& name, std::string_view content) {
    static std::atomic<unsigned> counter{0};
    const std::string temporary = folder_ + "/.new" + std::to_string(::getpid()) + "-" +
                                  std::to_string(counter.fetch_add(1));
    FileDescriptor fd(::open(temporary.c_str(),
                             O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0600));
    if (!fd.Valid()) {
        return false;
    }
    if (!GiveKeptMode(fd.Get(), folder_) || !WriteWhole(fd.Get(), content) || !fd.Close()) {
        ::unlink(temporary.c_str());
        return false;
    }
    staged_.push_back({name, temporary});
    return true;
}

std::vector<std::string> CKeptFileBatch::Commit() {
    std::vector<std::string> failed;
    std::vector<Staged> staged = std::move(staged_);
    staged_.clear();
    if (staged.empty()) {
        return failed;
    }
    const FileDescriptor folder(::open(folder_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    // One flush of the file system for every staged content, before any name points at it.
    const bool flushed = folder.Valid() && ::syncfs(folder.Get()) == 0;
    for (const Staged& one : staged) {
        const std::string path = folder_ + "/" + one.name;
        struct stat info {};
        const bool replaceable = ::lstat(path.c_str(), &info) != 0 ? errno == ENOENT
                                                                   : S_ISREG(info.st_mode);
        if (!flushed || !replaceable || ::rename(one.temporary.c_str(), path.c_str()) != 0) {
            ::unlink(one.temporary.c_str());
            failed.push_back(one.name);
        }
    }
    if (folder.Valid()) {
        (void)::fsync(folder.Get());
    }
    return failed;
}

OutputStatus AppendKeptLine(const std::string& path, std::string_view line, std::uint64_t* size) {
    // No wait on a FIFO nobody reads, no write through a link someone placed there.
    FileDescriptor fd(::open(path.c_str(),
                             O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK,
                             KeptFileMode(FolderOf(path))));
    if (!fd.Valid()) {
        return errno == ELOOP || errno == ENXIO || errno == EISDIR ? OutputStatus::kNotRegularFile
                                                                   : OutputStatus::kNotWritable;
    }
    struct stat info {};
    if (::fstat(fd.Get(), &info) != 0 || !S_ISREG(info.st_mode)) {
        return OutputStatus::kNotRegularFile;
    }
    if (info.st_uid == ::geteuid()) {
        (void)GiveKeptMode(fd.Get(), FolderOf(path));
    }
    if (!WriteWhole(fd.Get(), line) || ::fsync(fd.Get()) != 0 || ::fstat(fd.Get(), &info) != 0 ||
        !fd.Close()) {
        return OutputStatus::kNotWritable;
    }
    if (size != nullptr) {
        *size = static_cast<std::uint64_t>(info.st_size);
    }
    return OutputStatus::kOk;
}

std::string WriterName() {
    std::string user;
    std::array<char, 4096> buffer{};
    struct passwd entry {};
    struct passwd* found = nullptr;
    if (::getpwuid_r(::geteuid(), &entry, buffer.data(), buffer.size(), &found) == 0 &&
        found != nullptr && found->pw_name != nullptr) {
        user = found->pw_name;
    } else {
        user = std::to_string(::geteuid());
    }
    std::array<char, 256> host{};
    if (::gethostname(host.data(), host.size() - 1) != 0) {
        host[0] = '\0';
    }
    return user + "@" + std::string(host.data());
}

}  // namespace lanterna
