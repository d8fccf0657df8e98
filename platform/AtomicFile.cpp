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

namespace lanterna {

namespace {

// Closes the descriptor when the scope ends.
class FileDescriptor {
  public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    ~FileDescriptor() { Close(); }
    int Get() const { return fd_; }
    bool Valid() const { return fd_ >= 0; }
    // Closes now and reports whether the close succeeded (it may report a late write error).
    bool Close() {
        if (fd_ < 0) {
            return true;
        }
        const int result = ::close(fd_);
        fd_ = -1;
        return result == 0;
    }

  private:
    int fd_;
};

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

// The path whose file is replaced: a symbolic link is followed so that the link stays.
std::optional<std::string> ResolveTarget(const std::string& path) {
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) {
        return path;
    }
    std::array<char, PATH_MAX> resolved{};
    if (::realpath(path.c_str(), resolved.data()) == nullptr) {
        return std::nullopt;
    }
    return std::string(resolved.data());
}

// Creates a new temporary file beside `target`; returns its descriptor and fills `tempPath`.
int CreateTemporaryBeside(const std::string& target, std::string& tempPath) {
    static std::atomic<unsigned> counter{0};
    const std::string stem =
        FolderOf(target) + "/." + BaseNameOf(target) + ".tmp" + std::to_string(::getpid()) + "-";
    for (int attempt = 0; attempt < 64; ++attempt) {
        tempPath = stem + std::to_string(counter.fetch_add(1));
        const int fd =
            ::open(tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0666);
        if (fd >= 0 || errno != EEXIST) {
            return fd;
        }
    }
    return -1;
}

void SyncFolder(const std::string& folder) {
    FileDescriptor fd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
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

FileRead ReadWholeFile(const std::string& path, std::size_t cap, std::string& content) {
    content.clear();
    // Non-blocking open, so that a FIFO in place of the file cannot stall the reader.
    FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (!fd.Valid()) {
        return errno == ENOENT || errno == ENOTDIR ? FileRead::Missing : FileRead::Unreadable;
    }
    struct stat info {};
    if (::fstat(fd.Get(), &info) != 0 || !S_ISREG(info.st_mode)) {
        return FileRead::Unreadable;
    }
    if (static_cast<std::uint64_t>(info.st_size) > cap) {
        return FileRead::TooLarge;
    }
    content.reserve(static_cast<std::size_t>(info.st_size));
    std::array<char, 65536> chunk{};
    for (;;) {
        const ssize_t got = ::read(fd.Get(), chunk.data(), chunk.size());
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            content.clear();
            return FileRead::Unreadable;
        }
        if (got == 0) {
            return FileRead::Loaded;
        }
        if (content.size() + static_cast<std::size_t>(got) > cap) {
            content.clear();
            return FileRead::TooLarge;
        }
        content.append(chunk.data(), static_cast<std::size_t>(got));
    }
}

int ReplaceFileAtomically(const std::string& path, std::string_view content, const FileSeam& seam) {
    if (path.empty()) {
        return 0;
    }
    const std::optional<std::string> target = ResolveTarget(path);
    if (!target) {
        return 0;
    }
    struct stat existing {};
    const bool exists = ::stat(target->c_str(), &existing) == 0;
    if (exists && !S_ISREG(existing.st_mode)) {
        return 0;
    }
    std::string tempPath;
    FileDescriptor fd(CreateTemporaryBeside(*target, tempPath));
    if (!fd.Valid()) {
        return 0;
    }
    if (exists) {
        // Keep the old file's permissions; failing that, the process defaults are acceptable.
        (void)::fchmod(fd.Get(), existing.st_mode & 07777);
    }
    const bool written = WriteAll(seam, fd.Get(), content) && ::fsync(fd.Get()) == 0;
    if (!fd.Close() || !written || ::rename(tempPath.c_str(), target->c_str()) != 0) {
        ::unlink(tempPath.c_str());
        return 0;
    }
    SyncFolder(FolderOf(*target));
    return 1;
}

}  // namespace lanterna
