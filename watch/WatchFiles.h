#pragma once
// The secrets the watcher reads: a secret (a password book, one password, a service credential)
// is refused when others than its owner may read it. What it keeps (the repository of backups,
// its index) follows the kept files' one mode policy (platform/KeptFiles.h).

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace lanterna::watch {

// A secret file holds at most this much.
inline constexpr std::size_t kSecretMaxBytes = 64 * 1024;

// The content of the secret file at `path`, or none with why in `problem` (missing, not a
// file, readable by group or others, too large, unreadable).
std::optional<std::string> ReadSecretFile(const std::string& path, std::string& problem);

// The path of credential `name` in the service's credentials folder (`folder`, the value of
// $CREDENTIALS_DIRECTORY); none when there is no folder or the name is no plain file name.
std::optional<std::string> CredentialPath(const std::optional<std::string>& folder,
                                          std::string_view name);

}  // namespace lanterna::watch
