#pragma once
// The settings file (.ini): one projector's network settings, read into and written from a
// ProjectorRecord. The current key set has a FILE section with NM_INIVER and keys that begin
// with "NM_"; the older key set (no FILE section, no prefix) is read but never written.

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/AtomicFile.h"
#include "platform/ProfileDocument.h"
#include "record/ProjectorRecord.h"

namespace lanterna {

// The version the writer puts into FILE/NM_INIVER.
inline constexpr std::string_view kSettingsFileVersion = "200";
// A save needs at least this much free space in the file's folder.
inline constexpr std::uint64_t kSettingsSaveMinimumFreeBytes = 1024;

// Reads the file at `path` into `record`, which the caller hands in zero-filled (the reader
// sets only what the file holds). Returns 1 when the file yielded a usable setting (or a
// preferred interface), else 0; also 0 for an empty path. A missing, unreadable or oversized
// file reads like one without keys. writeAll is set to 1 in every case the file was read.
int ReadSettingsFile(ProjectorRecord& record, const std::string& path);

// The same on a document already in memory.
int ReadSettingsDocument(ProjectorRecord& record, const ProfileDocument& document);

// Writes the keys of `record` under their conditions, in their order, into the file at `path`,
// under the output policy of AtomicFile.h. An existing file keeps every line this save does not
// write, and its owner and mode; a new file that holds a WEP key is readable by its owner only.
// When the path cannot take the file, fewer than kSettingsSaveMinimumFreeBytes are free (or the
// space cannot be queried), the existing file cannot be read, or any write fails, the file stays
// as it was; the status says which.
OutputStatus SaveSettingsFile(const ProjectorRecord& record, const std::string& path,
                              const FileSeam& seam = RealFileSeam());

// SaveSettingsFile with the results 1 (saved) and 0 (not saved).
int WriteSettingsFile(const ProjectorRecord& record, const std::string& path,
                      const FileSeam& seam = RealFileSeam());

// The key writes of a save, applied to `document` (as a batch, nothing saved). False when a
// value cannot be stored (a text holding a line break or a zero byte).
bool StoreSettings(const ProjectorRecord& record, ProfileDocument& document);

}  // namespace lanterna
