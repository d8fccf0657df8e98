#include "settings/ConfigFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <utility>

#include "settings/ConfigFileKey.h"
#include "settings/ConfigFileText.h"
#include "settings/Des.h"

namespace lanterna {

namespace {

constexpr std::size_t kBlockSize = 8;
constexpr std::size_t kMaxPadding = kBlockSize - 1;
constexpr int kTemporaryNameAttempts = 16;

// Closes the descriptor when it goes out of scope.
class FileDescriptor {
  public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    ~FileDescriptor() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    FileDescriptor(FileDescriptor&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    FileDescriptor& operator=(FileDescriptor&&) = delete;

    int get() const { return fd_; }
    bool valid() const { return fd_ >= 0; }
    // Closes now and reports whether the close succeeded (it can report a late write error).
    bool Close() {
        const int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0;
    }

  private:
    int fd_;
};

bool WriteAll(int fd, std::span<const std::uint8_t> bytes) {
    std::size_t written = 0;
    while (written < bytes.size()) {
        const ssize_t count = ::write(fd, bytes.data() + written, bytes.size() - written);
        if (count < 0 && errno == EINTR) {
            continue;
        }
        if (count <= 0) {
            return false;
        }
        written += static_cast<std::size_t>(count);
    }
    return true;
}

// Creates a new file next to `path` under a name no other writer uses; the permissions follow
// the umask like any newly created file.
FileDescriptor CreateTemporaryNextTo(const std::filesystem::path& path,
                                     std::filesystem::path& temporary) {
    static std::atomic<unsigned> counter{0};
    for (int attempt = 0; attempt < kTemporaryNameAttempts; ++attempt) {
        temporary = path;
        temporary += ".tmp-" + std::to_string(::getpid()) + "-" + std::to_string(counter++);
        FileDescriptor fd(::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
        if (fd.valid() || errno != EEXIST) {
            return fd;
        }
    }
    return FileDescriptor(-1);
}

void SyncFolderOf(const std::filesystem::path& path) {
    const std::filesystem::path folder =
        path.has_parent_path() ? path.parent_path() : std::filesystem::path(".");
    const FileDescriptor fd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (fd.valid()) {
        ::fsync(fd.get());  // best effort: the rename itself has already taken place
    }
}

bool WriteFileAtomically(const std::filesystem::path& path, std::span<const std::uint8_t> bytes) {
    if (!path.has_filename()) {
        return false;
    }
    std::filesystem::path temporary;
    FileDescriptor fd = CreateTemporaryNextTo(path, temporary);
    if (!fd.valid()) {
        return false;
    }
    // Rewriting an existing file keeps its permissions.
    struct stat existing {};
    if (::stat(path.c_str(), &existing) == 0 && S_ISREG(existing.st_mode)) {
        ::fchmod(fd.get(), existing.st_mode & 07777);
    }
    const bool written = WriteAll(fd.get(), bytes) && ::fsync(fd.get()) == 0 && fd.Close() &&
                         ::rename(temporary.c_str(), path.c_str()) == 0;
    if (!written) {
        ::unlink(temporary.c_str());
        return false;
    }
    SyncFolderOf(path);
    return true;
}

}  // namespace

std::vector<std::uint8_t> EncipherConfigText(std::string_view plainText) {
    const std::size_t padded = (plainText.size() + kMaxPadding) / kBlockSize * kBlockSize;
    std::vector<std::uint8_t> bytes(padded, 0);
    std::copy(plainText.begin(), plainText.end(), bytes.begin());
    TripleDes(ConfigFileKey()).EncryptEcb(bytes);
    return bytes;
}

bool DecipherConfigFile(std::span<const std::uint8_t> fileBytes, std::string& plainText) {
    if (fileBytes.size() % kBlockSize != 0) {
        return false;
    }
    std::vector<std::uint8_t> bytes(fileBytes.begin(), fileBytes.end());
    TripleDes(ConfigFileKey()).DecryptEcb(bytes);
    std::size_t length = bytes.size();
    while (length > 0 && bytes.size() - length < kMaxPadding && bytes[length - 1] == 0) {
        --length;
    }
    plainText.assign(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(length));
    return true;
}

bool WriteConfigFile(const ProjectorRecord& record, const std::filesystem::path& path) {
    const ConfigFileText plain = BuildConfigFileText(record);
    if (!plain.ok()) {
        return false;
    }
    return WriteFileAtomically(path, EncipherConfigText(plain.text));
}

int ReadConfigFile(const std::filesystem::path& path, std::string& plainText) {
    const FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    struct stat info {};
    if (!fd.valid() || ::fstat(fd.get(), &info) != 0 || !S_ISREG(info.st_mode)) {
        return kConfigFileUnreadable;
    }
    // At most one byte beyond the limit is read: enough to tell an oversized file.
    std::vector<std::uint8_t> bytes(kConfigFileMaxSize + 1);
    std::size_t total = 0;
    while (total < bytes.size()) {
        const ssize_t count = ::read(fd.get(), bytes.data() + total, bytes.size() - total);
        if (count < 0 && errno == EINTR) {
            continue;
        }
        if (count < 0) {
            return kConfigFileUnreadable;
        }
        if (count == 0) {
            break;
        }
        total += static_cast<std::size_t>(count);
    }
    if (total > kConfigFileMaxSize) {
        return kConfigFileTooLarge;
    }
    bytes.resize(total);
    return DecipherConfigFile(bytes, plainText) ? kConfigFileRead : kConfigFileBadLength;
}

}  // namespace lanterna
