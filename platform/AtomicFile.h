#pragma once
// Whole-file reads with a size cap, and atomic replacement of a file: the new content goes to
// a temporary file in the same folder, is flushed to the disk and renamed over the old file, so
// a failed or interrupted write leaves the old file exactly as it was.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace lanterna {

// The file-system calls that tests replace to simulate a full disk or a write that breaks off.
struct FileSeam {
    // Free bytes in a folder; nullopt when the query fails.
    std::function<std::optional<std::uint64_t>(const std::string& folder)> freeBytes;
    // Writes to the temporary file like ::write (bytes written, or -1 with errno set).
    std::function<long(int fd, const char* data, std::size_t size)> writeBytes;
};

// statvfs and ::write.
const FileSeam& RealFileSeam();

enum class FileRead {
    Loaded,
    Missing,     // no such file
    TooLarge,    // larger than the cap; nothing is read
    Unreadable,  // exists but cannot be read (a folder, no permission, I/O error)
};

// Reads the whole file into `content` when it is at most `cap` bytes.
FileRead ReadWholeFile(const std::string& path, std::size_t cap, std::string& content);

// Replaces the file at `path` (following a symbolic link to its target) with `content`.
// A new file gets the usual permissions of the process; an existing one keeps its own.
// Returns 1 on success, 0 when anything failed; on failure the old file is untouched and no
// temporary file is left behind.
int ReplaceFileAtomically(const std::string& path, std::string_view content,
                          const FileSeam& seam = RealFileSeam());

}  // namespace lanterna
