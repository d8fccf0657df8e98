#pragma once
// Shared by the file fuzzers: a check that aborts with its line, and one temporary file per
// process into which each input is written before it is read back as a file.

#include <fcntl.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace lanterna::fuzz {

[[noreturn]] inline void Fail(const char* file, int line, const char* condition) {
    std::fprintf(stderr, "%s:%d: check failed: %s\n", file, line, condition);
    std::abort();
}

#define FUZZ_CHECK(condition)                                       \
    do {                                                            \
        if (!(condition)) {                                         \
            ::lanterna::fuzz::Fail(__FILE__, __LINE__, #condition); \
        }                                                           \
    } while (false)

// Path of this process's scratch file; it is removed when the process ends.
inline const std::string& ScratchFile() {
    static const std::string path = [] {
        std::string pattern = "/tmp/lanterna-fuzz-XXXXXX";
        const int fd = ::mkstemp(pattern.data());
        if (fd < 0) {
            std::abort();
        }
        ::close(fd);
        static const std::string removeAtExit = pattern;
        std::atexit([] { ::unlink(removeAtExit.c_str()); });
        return pattern;
    }();
    return path;
}

// Replaces the scratch file's content with the input (no flushing: only this process reads it).
inline const std::string& WriteScratch(const std::uint8_t* data, std::size_t size) {
    const std::string& path = ScratchFile();
    const int fd = ::open(path.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
    if (fd < 0) {
        std::abort();
    }
    std::size_t done = 0;
    while (done < size) {
        const ssize_t written = ::write(fd, data + done, size - done);
        if (written <= 0) {
            std::abort();
        }
        done += static_cast<std::size_t>(written);
    }
    ::close(fd);
    return path;
}

}  // namespace lanterna::fuzz
