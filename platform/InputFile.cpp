#include "platform/InputFile.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <chrono>
#include <istream>
#include <optional>

#include "platform/FileDescriptor.h"

namespace lanterna {

namespace {

constexpr std::size_t kChunkBytes = 65536;

FileRead OpenFailure(const std::string& path, int error) {
    if (error == ENOENT) {
        struct stat link {};
        const bool isLink = ::lstat(path.c_str(), &link) == 0 && S_ISLNK(link.st_mode);
        return isLink ? FileRead::DanglingLink : FileRead::Missing;
    }
    if (error == ENOTDIR) {
        return FileRead::Missing;
    }
    return error == EISDIR ? FileRead::IsFolder : FileRead::Unreadable;
}

// Appends one read's worth; false once more than `limit` bytes are held.
bool Append(std::string& content, const char* bytes, std::size_t count, std::size_t limit) {
    content.append(bytes, count);
    return content.size() <= limit;
}

// One read into the chunk; nothing when the caller should read again (interrupted, or no data
// yet on a stream), otherwise how the whole read ends.
std::optional<FileRead> ReadStep(int fd, std::size_t limit, std::string& content,
                                 std::array<char, kChunkBytes>& chunk) {
    const std::size_t want = std::min(chunk.size(), limit + 1 - content.size());
    const ssize_t got = ::read(fd, chunk.data(), want);
    if (got < 0 && (errno == EINTR || errno == EAGAIN)) {
        return std::nullopt;
    }
    if (got < 0) {
        return FileRead::Unreadable;
    }
    if (got == 0) {
        return FileRead::Loaded;
    }
    if (!Append(content, chunk.data(), static_cast<std::size_t>(got), limit)) {
        return FileRead::TooLarge;
    }
    return std::nullopt;
}

// A regular file: read until its end, never holding more than limit + 1 bytes.
FileRead ReadRegular(int fd, std::size_t limit, std::string& content) {
    std::array<char, kChunkBytes> chunk{};
    for (;;) {
        if (const std::optional<FileRead> end = ReadStep(fd, limit, content, chunk)) {
            return *end;
        }
    }
}

// A FIFO or character device opened without blocking: every read waits for data with poll,
// all of them together at most `waitMs`.
FileRead ReadStream(int fd, std::size_t limit, std::string& content, std::uint32_t waitMs) {
    using Clock = std::chrono::steady_clock;
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(waitMs);
    std::array<char, kChunkBytes> chunk{};
    for (;;) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        pollfd readable{fd, POLLIN, 0};
        const int ready =
            ::poll(&readable, 1,
                   static_cast<int>(std::max<long long>(0, static_cast<long long>(left.count()))));
        if (ready < 0 && errno == EINTR) {
            continue;
        }
        if (ready < 0) {
            return FileRead::Unreadable;
        }
        if (ready == 0) {
            return FileRead::TimedOut;
        }
        if (const std::optional<FileRead> end = ReadStep(fd, limit, content, chunk)) {
            return *end;
        }
    }
}

FileRead Finish(FileRead result, std::string& content) {
    if (result != FileRead::Loaded) {
        content.clear();
        content.shrink_to_fit();
    }
    return result;
}

}  // namespace

FileRead ReadWholeFile(const std::string& path, std::size_t limit, std::string& content,
                       std::uint32_t streamWaitMs) {
    content.clear();
    // Opened without blocking: opening a FIFO for reading would otherwise wait for a writer.
    const FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (!fd.Valid()) {
        return OpenFailure(path, errno);
    }
    struct stat info {};
    if (::fstat(fd.Get(), &info) != 0) {
        return FileRead::Unreadable;
    }
    if (S_ISDIR(info.st_mode)) {
        return FileRead::IsFolder;
    }
    if (S_ISREG(info.st_mode)) {
        if (static_cast<std::uint64_t>(info.st_size) > limit) {
            return FileRead::TooLarge;
        }
        content.reserve(static_cast<std::size_t>(info.st_size));
        return Finish(ReadRegular(fd.Get(), limit, content), content);
    }
    if (S_ISFIFO(info.st_mode) || S_ISCHR(info.st_mode)) {
        return Finish(ReadStream(fd.Get(), limit, content, streamWaitMs), content);
    }
    return FileRead::Unreadable;
}

FileRead ReadWholeStream(std::istream& stream, std::size_t limit, std::string& content) {
    content.clear();
    std::array<char, kChunkBytes> chunk{};
    while (stream) {
        const std::size_t want = std::min(chunk.size(), limit + 1 - content.size());
        stream.read(chunk.data(), static_cast<std::streamsize>(want));
        if (!Append(content, chunk.data(), static_cast<std::size_t>(stream.gcount()), limit)) {
            return Finish(FileRead::TooLarge, content);
        }
    }
    return Finish(stream.bad() ? FileRead::Unreadable : FileRead::Loaded, content);
}

std::string ByteLimitText(std::size_t bytes) {
    constexpr std::size_t kKibi = 1024;
    if (bytes >= kKibi * kKibi && bytes % (kKibi * kKibi) == 0) {
        return std::to_string(bytes / (kKibi * kKibi)) + " MiB";
    }
    if (bytes >= kKibi && bytes % kKibi == 0) {
        return std::to_string(bytes / kKibi) + " KiB";
    }
    return std::to_string(bytes) + " bytes";
}

}  // namespace lanterna
