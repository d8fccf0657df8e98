#pragma once
// Free space on the file system that holds a folder.

#include <cstdint>
#include <optional>
#include <string>

namespace lanterna {

// Bytes an unprivileged user may still write in `folder` (statvfs f_bavail * f_frsize), or
// nullopt when the query fails.
std::optional<std::uint64_t> QueryFreeDiskBytes(const std::string& folder);

// The folder part of a file path: "." for a bare name, "/" for a file in the root.
std::string FolderOf(const std::string& path);

}  // namespace lanterna
