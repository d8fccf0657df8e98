#pragma once
// The one policy for every file the system writes: a regular file is replaced atomically (the
// new content goes to a temporary file in the same folder, is flushed to the disk and renamed
// over the old one, which keeps its owner where the process may give it and its mode); a
// symbolic link is written through to its target and stays a link; a folder, FIFO, device or
// socket is refused, as are a missing folder and a link whose target is missing. A failed or
// interrupted write leaves the old file exactly as it was and no temporary file behind.
// Replacing by rename takes the path apart in user space, so the links on it are followed here,
// one by one, under the rule the kernel keeps for protected symbolic links: a link that lies in
// a folder everyone may write to and that has the sticky bit (/tmp) is followed only when it
// belongs to the user or to the folder's owner. Another user's link there is refused, wherever
// it stands on the path; the user's own links keep working.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "platform/InputFile.h"

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

// Who may read a file the write creates; a file that exists keeps its own mode.
enum class FileAccess {
    kShared,   // the process's usual permissions (0666 less the umask)
    kPrivate,  // the owner only (0600): files that hold keys or passwords
    kKept,     // a site's kept settings and logs: KeptFileMode of the folder, existing or not
};

enum class OutputStatus {
    kOk,                  // written (or, from CheckOutputPath: may be written)
    kFolderMissing,       // the folder that would hold the file does not exist
    kDanglingLink,        // a symbolic link whose target does not exist
    kIsFolder,            // the path names a folder
    kNotRegularFile,      // a FIFO, device or socket
    kTooLittleSpace,      // the folder's file system lacks the room a caller asks for
    kExistingTooLarge,    // the existing file, whose content a caller keeps, is over its limit
    kExistingUnreadable,  // the existing file, whose content a caller keeps, cannot be read
    kNotWritable,         // creating, writing, flushing or renaming failed
    kUnsafeLink,          // a link on the path that another user placed in a shared sticky folder
};

// Whether `path` may be written under the policy; on kOk `target` (when given) receives the
// path of the file that a write replaces (the link's target for a symbolic link).
OutputStatus CheckOutputPath(const std::string& path, std::string* target = nullptr);

// The first symbolic link on `path` that the policy refuses to follow (kUnsafeLink), as a path
// the user can find it under; empty when there is none.
std::string UnsafeLinkOn(const std::string& path);

// Writes `content` to `path` under the policy.
OutputStatus WriteOutputFile(const std::string& path, std::string_view content,
                             FileAccess access = FileAccess::kShared,
                             const FileSeam& seam = RealFileSeam());

// The same with the results 1 (written) and 0 (not written).
int ReplaceFileAtomically(const std::string& path, std::string_view content,
                          const FileSeam& seam = RealFileSeam(),
                          FileAccess access = FileAccess::kShared);

}  // namespace lanterna
