#include "platform/AtomicFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <string_view>
#include <vector>

#include "platform/DiskSpace.h"
#include "platform/FileDescriptor.h"
#include "platform/KeptFiles.h"

namespace lanterna {

namespace {

long WriteWithSystem(int fd, const char* data, std::size_t size) {
    return static_cast<long>(::write(fd, data, size));
}

bool WriteAll(const FileSeam& seam, int fd, std::string_view content) {
    std::size_t done = 0;
    while (done < content.size()) {
        const long written = seam.writeBytes(fd, content.data() + done, content.size() - done);
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            return false;
        }
        done += static_cast<std::size_t>(written);
    }
    return true;
}

std::string BaseNameOf(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool IsFolder(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

// Creates a new temporary file beside `target`; returns its descriptor and fills `tempPath`.
FileDescriptor CreateTemporaryBeside(const std::string& target, FileAccess access,
                                     std::string& tempPath) {
    static std::atomic<unsigned> counter{0};
    const std::string stem =
        FolderOf(target) + "/." + BaseNameOf(target) + ".tmp" + std::to_string(::getpid()) + "-";
    const mode_t mode = access == FileAccess::kShared ? 0666 : 0600;
    for (int attempt = 0; attempt < 64; ++attempt) {
        tempPath = stem + std::to_string(counter.fetch_add(1));
        FileDescriptor fd(
            ::open(tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, mode));
        if (fd.Valid() || errno != EEXIST) {
            return fd;
        }
    }
    return FileDescriptor();
}

// The replacement takes the old file's owner (where the process may give it away; otherwise
// it stays the writer's) and then its mode, which a change of owner could have cut.
void TakeOwnerAndMode(int fd, const struct stat& existing) {
    (void)::fchown(fd, existing.st_uid, existing.st_gid);
    (void)::fchmod(fd, existing.st_mode & 07777);
}

void SyncFolder(const std::string& folder) {
    const FileDescriptor fd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (fd.Valid()) {
        // Some file systems refuse to sync a folder; the rename itself has happened.
        (void)::fsync(fd.Get());
    }
}


// How the walk of an output path ended.
enum class PathEnd {
    kExisting,       // `resolved` names something that exists
    kMissing,        // the last name does not exist: a new file in `resolved`'s folder
    kDanglingLink,   // a link at the end of the path whose target does not exist
    kFolderMissing,  // a folder on the way does not exist or is no folder
    kUnsafeLink,     // `unsafeLink` may not be followed
    kError,          // a name could not be looked at (permissions, a loop of links)
};

struct WalkedPath {
    PathEnd end = PathEnd::kError;
    std::string resolved;  // the path without links, absolute
    std::string unsafeLink;
};

// The kernel's bound on links followed in one walk.
constexpr int kMaxLinksFollowed = 40;

// Whether the link `link` (lstat'ed) in `folder` may be followed: not when the folder is
// world-writable and sticky and the link belongs neither to the user nor to the folder's owner.
bool MayFollowLink(const std::string& folder, const struct stat& link) {
    struct stat holder {};
    if (::stat(folder.c_str(), &holder) != 0) {
        return false;
    }
    const bool sharedSticky = (holder.st_mode & S_ISVTX) != 0 && (holder.st_mode & S_IWOTH) != 0;
    return !sharedSticky || link.st_uid == ::geteuid() || link.st_uid == holder.st_uid;
}

// The names of `path` in order, `.` and empty ones left out.
void PushNames(std::string_view path, std::vector<std::string>& pending) {
    std::vector<std::string> names;
    std::size_t start = 0;
    while (start <= path.size()) {
        const std::size_t slash = std::min(path.find('/', start), path.size());
        const std::string_view name = path.substr(start, slash - start);
        if (!name.empty() && name != ".") {
            names.emplace_back(name);
        }
        start = slash + 1;
    }
    // `pending` is taken from its back.
    pending.insert(pending.end(), names.rbegin(), names.rend());
}

std::string ParentOf(const std::string& resolved) {
    const std::size_t slash = resolved.find_last_of('/');
    return slash == std::string::npos || slash == 0 ? std::string() : resolved.substr(0, slash);
}

// Follows `path` name by name as the kernel would, each link under MayFollowLink.
WalkedPath WalkOutputPath(const std::string& path) {
    WalkedPath walked;
    if (path.empty()) {
        return walked;
    }
    std::vector<std::string> pending;
    PushNames(path, pending);
    if (path.front() != '/') {
        std::array<char, PATH_MAX> cwd{};
        if (::getcwd(cwd.data(), cwd.size()) == nullptr) {
            return walked;
        }
        PushNames(cwd.data(), pending);
    }
    std::string resolved;  // empty: the root
    int linksFollowed = 0;
    bool endIsLink = false;  // the names left come from a link that stood at the end
    while (!pending.empty()) {
        const std::string name = std::move(pending.back());
        pending.pop_back();
        const bool last = pending.empty();
        if (name == "..") {
            resolved = ParentOf(resolved);
            continue;
        }
        const std::string candidate = resolved + "/" + name;
        struct stat info {};
        if (::lstat(candidate.c_str(), &info) != 0) {
            if (errno != ENOENT && errno != ENOTDIR) {
                return walked;
            }
            walked.end = endIsLink ? PathEnd::kDanglingLink
                         : last   ? PathEnd::kMissing
                                  : PathEnd::kFolderMissing;
            walked.resolved = candidate;
            return walked;
        }
        if (!S_ISLNK(info.st_mode)) {
            resolved = candidate;
            continue;
        }
        if (!MayFollowLink(resolved.empty() ? "/" : resolved, info)) {
            walked.end = PathEnd::kUnsafeLink;
            walked.unsafeLink = candidate;
            return walked;
        }
        std::array<char, PATH_MAX> linkText{};
        const ssize_t length = ::readlink(candidate.c_str(), linkText.data(), linkText.size());
        if (length <= 0 || static_cast<std::size_t>(length) >= linkText.size() ||
            ++linksFollowed > kMaxLinksFollowed) {
            return walked;
        }
        const std::string_view target(linkText.data(), static_cast<std::size_t>(length));
        endIsLink = endIsLink || last;
        if (target.front() == '/') {
            resolved.clear();
        }
        PushNames(target, pending);
    }
    walked.end = PathEnd::kExisting;
    walked.resolved = resolved.empty() ? "/" : resolved;
    return walked;
}
}  // namespace

const FileSeam& RealFileSeam() {
    static const FileSeam seam{&QueryFreeDiskBytes, &WriteWithSystem};
    return seam;
}

OutputStatus CheckOutputPath(const std::string& path, std::string* target) {
    if (path.empty()) {
        return OutputStatus::kNotWritable;
    }
    const WalkedPath walked = WalkOutputPath(path);
    switch (walked.end) {
        case PathEnd::kUnsafeLink:
            return OutputStatus::kUnsafeLink;
        case PathEnd::kDanglingLink:
            return OutputStatus::kDanglingLink;
        case PathEnd::kFolderMissing:
            return OutputStatus::kFolderMissing;
        case PathEnd::kError:
            return OutputStatus::kNotWritable;
        case PathEnd::kMissing:
            if (!IsFolder(FolderOf(walked.resolved))) {
                return OutputStatus::kFolderMissing;
            }
            break;
        case PathEnd::kExisting: {
            struct stat info {};
            if (::stat(walked.resolved.c_str(), &info) != 0) {
                return OutputStatus::kNotWritable;
            }
            if (S_ISDIR(info.st_mode)) {
                return OutputStatus::kIsFolder;
            }
            if (!S_ISREG(info.st_mode)) {
                return OutputStatus::kNotRegularFile;
            }
            break;
        }
    }
    if (target != nullptr) {
        *target = walked.resolved;
    }
    return OutputStatus::kOk;
}

std::string UnsafeLinkOn(const std::string& path) {
    const WalkedPath walked = WalkOutputPath(path);
    return walked.end == PathEnd::kUnsafeLink ? walked.unsafeLink : std::string();
}

OutputStatus WriteOutputFile(const std::string& path, std::string_view content, FileAccess access,
                             const FileSeam& seam) {
    std::string target;
    if (const OutputStatus status = CheckOutputPath(path, &target); status != OutputStatus::kOk) {
        return status;
    }
    struct stat existing {};
    const bool exists = ::stat(target.c_str(), &existing) == 0;
    std::string tempPath;
    FileDescriptor fd = CreateTemporaryBeside(target, access, tempPath);
    if (!fd.Valid()) {
        return OutputStatus::kNotWritable;
    }
    if (exists) {
        TakeOwnerAndMode(fd.Get(), existing);
    }
    if (access == FileAccess::kKept && !GiveKeptMode(fd.Get(), FolderOf(target))) {
        ::unlink(tempPath.c_str());
        return OutputStatus::kNotWritable;
    }
    const bool written = WriteAll(seam, fd.Get(), content) && ::fsync(fd.Get()) == 0;
    if (!fd.Close() || !written || ::rename(tempPath.c_str(), target.c_str()) != 0) {
        ::unlink(tempPath.c_str());
        return OutputStatus::kNotWritable;
    }
    SyncFolder(FolderOf(target));
    return OutputStatus::kOk;
}

int ReplaceFileAtomically(const std::string& path, std::string_view content, const FileSeam& seam,
                          FileAccess access) {
    return WriteOutputFile(path, content, access, seam) == OutputStatus::kOk ? 1 : 0;
}

}  // namespace lanterna
