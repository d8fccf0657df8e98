#include "watch/WatchFiles.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/FileDescriptor.h"

namespace lanterna::watch {

std::optional<std::string> ReadSecretFile(const std::string& path, std::string& problem) {
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) {
        problem = std::strerror(errno);
        return std::nullopt;
    }
    const FileDescriptor file(fd);
    struct stat info {};
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        problem = "not a file";
        return std::nullopt;
    }
    if ((info.st_mode & 0044) != 0) {
        problem = "readable by others than its owner (chmod 600)";
        return std::nullopt;
    }
    if (static_cast<std::size_t>(info.st_size) > kSecretMaxBytes) {
        problem = "larger than 64 KiB";
        return std::nullopt;
    }
    std::string content(static_cast<std::size_t>(info.st_size), '\0');
    std::size_t got = 0;
    while (got < content.size()) {
        const ssize_t n = read(fd, content.data() + got, content.size() - got);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            break;
        }
        got += static_cast<std::size_t>(n);
    }
    content.resize(got);
    return content;
}

std::optional<std::string> CredentialPath(const std::optional<std::string>& folder,
                                          std::string_view name) {
    if (!folder || folder->empty() || name.empty() || name == "." || name == ".." ||
        name.find('/') != std::string_view::npos) {
        return std::nullopt;
    }
    return *folder + "/" + std::string(name);
}

}  // namespace lanterna::watch
