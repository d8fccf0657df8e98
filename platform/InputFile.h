#pragma once
// The one way every input file is read: whole, up to a size limit that suits its format, and
// never waiting without end. A regular file is read as it is; a FIFO or a character device
// (a pipe, /dev/stdin, /dev/zero) is read as a stream until its end, its limit or its wait runs
// out, so neither an endless device nor a FIFO nobody writes to can hold the reader.

#include <cstddef>
#include <cstdint>
#include <iosfwd>
#include <string>

namespace lanterna {

enum class FileRead {
    Loaded,
    Missing,       // no such file (or a folder on the way is missing)
    DanglingLink,  // a symbolic link whose target does not exist
    IsFolder,      // a folder, not a file
    TooLarge,      // more bytes than the limit; nothing is kept
    TimedOut,      // a stream that did not come to its end within the wait
    Unreadable,    // no permission, an I/O error, or a socket or block device
};

// How long a stream may take, in all, to come to its end.
inline constexpr std::uint32_t kStreamReadWaitMs = 10000;

// Reads the whole file at `path` into `content` when it holds at most `limit` bytes; on any
// other result `content` is empty. At most `limit` + 1 bytes are ever held.
FileRead ReadWholeFile(const std::string& path, std::size_t limit, std::string& content,
                       std::uint32_t streamWaitMs = kStreamReadWaitMs);

// The same for an open stream (standard input): Loaded, TooLarge or Unreadable. It waits as
// long as the stream does; only the size is bounded.
FileRead ReadWholeStream(std::istream& stream, std::size_t limit, std::string& content);

// A byte count for messages: "64 KiB", "4 MiB", "100 bytes".
std::string ByteLimitText(std::size_t bytes);

}  // namespace lanterna
