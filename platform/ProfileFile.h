#pragma once
// The private-profile routines on a file path, with the observable behaviour of the Windows
// ones (see ProfileDocument.h for the file syntax): a missing file or key gives the default,
// a string is returned as it would land in a buffer of the given size, and every write replaces
// the file atomically.

#include <cstddef>
#include <string>
#include <string_view>

#include "platform/AtomicFile.h"
#include "platform/ProfileDocument.h"

namespace lanterna {

// Larger files are not read (every key reads as missing) and not written over.
inline constexpr std::size_t kMaxProfileFileBytes = 4 * 1024 * 1024;

// GetPrivateProfileString: the value, or `defaultText` without its trailing blanks when the
// key is missing; at most bufferSize - 1 bytes (an empty text for a buffer size of 0).
std::string ProfileString(const ProfileDocument& document, std::string_view section,
                          std::string_view key, std::string_view defaultText,
                          std::size_t bufferSize);

// GetPrivateProfileInt: the value's leading decimal number with an optional sign (0 when it has
// none); `defaultValue` when the key is missing or its value empty.
int ProfileInt(const ProfileDocument& document, std::string_view section, std::string_view key,
               int defaultValue);

// ProfileInt without the cut to int (see ScanLeadingDecimalWide), for callers that refuse a
// number beyond their field's range instead of taking it cut.
long long ProfileWideInt(const ProfileDocument& document, std::string_view section,
                         std::string_view key, long long defaultValue);

// Loads the file for reading or for a batch of writes. A missing file loads as an empty
// document; a file too large or unreadable loads as an empty document too, but the result
// tells, and such a file must not be saved over.
FileRead LoadProfile(const std::string& path, ProfileDocument& document);

// Saves a document (after a batch of Set calls) as one atomic replacement: 1 or 0.
int SaveProfile(const std::string& path, const ProfileDocument& document,
                const FileSeam& seam = RealFileSeam());

std::string ReadProfileString(const std::string& path, std::string_view section,
                              std::string_view key, std::string_view defaultText,
                              std::size_t bufferSize);
int ReadProfileInt(const std::string& path, std::string_view section, std::string_view key,
                   int defaultValue);

// WritePrivateProfileString for one key: 1 when the file now holds the value, 0 when the file
// could not be read or written or the names or value cannot be stored (the file is then as
// it was).
int WriteProfileString(const std::string& path, std::string_view section, std::string_view key,
                       std::string_view value, const FileSeam& seam = RealFileSeam());

}  // namespace lanterna
