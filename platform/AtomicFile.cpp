#include "platform/AtomicFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdlib>

#include "platform/DiskSpace.h"
#include "platform/FileDescriptor.h"

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

// A path that names nothing yet may be created when its folder exists.
OutputStatus CheckNewFile(const std::string& path) {
    return IsFolder(FolderOf(path)) ? OutputStatus::kOk : OutputStatus::kFolderMissing;
}

// Creates a new temporary file beside `target`; returns its descriptor and fills `tempPath`.
FileDescriptor CreateTemporaryBeside(const std::string& target, FileAccess access,
                                     std::string& tempPath) {
    static std::atomic<unsigned> counter{0};
    const std::string stem =
        FolderOf(target) + "/." + BaseNameOf(target) + ".tmp" + std::to_string(::getpid()) + "-";
    const mode_t mode = access == FileAccess::kPrivate ? 0600 : 0666;
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

}  // namespace

const FileSeam& RealFileSeam() {
    static const FileSeam seam{&QueryFreeDiskBytes, &WriteWithSystem};
    return seam;
}

OutputStatus CheckOutputPath(const std::string& path, std::string* target) {
    if (path.empty()) {
        return OutputStatus::kNotWritable;
    }
    struct stat link {};
    if (::lstat(path.c_str(), &link) != 0) {
        if (errno != ENOENT && errno != ENOTDIR) {
            return OutputStatus::kNotWritable;
        }
        const OutputStatus status = CheckNewFile(path);
        if (status == OutputStatus::kOk && target != nullptr) {
            *target = path;
        }
        return status;
    }
    std::string resolved = path;
    if (S_ISLNK(link.st_mode)) {
        std::array<char, PATH_MAX> buffer{};
        if (::realpath(path.c_str(), buffer.data()) == nullptr) {
            return errno == ENOENT ? OutputStatus::kDanglingLink : OutputStatus::kNotWritable;
        }
        resolved = buffer.data();
    }
    struct stat info {};
    if (::stat(resolved.c_str(), &info) != 0) {
        return OutputStatus::kNotWritable;
    }
    if (S_ISDIR(info.st_mode)) {
        return OutputStatus::kIsFolder;
    }
    if (!S_ISREG(info.st_mode)) {
        return OutputStatus::kNotRegularFile;
    }
    if (target != nullptr) {
        *target = resolved;
    }
    return OutputStatus::kOk;
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
