#pragma once
// A side of diff and restore given as REPO@REV: the settings files of the watcher's backup
// repository REPO as commit REV holds them, taken out into a private temporary folder and read
// as a backup folder is.

#include <string>
#include <string_view>
#include <vector>

#include "fleet/SiteDiff.h"
#include "tools/lanternactl/CliContext.h"

namespace lanterna::cli {

enum class RevisionLoad {
    kNotRevision,  // `word` is no REPO@REV: the caller takes it as it would otherwise
    kLoaded,
    kFailed,  // told on standard error
};

// When `word` is REPO@REV with REPO a git repository, its settings into `sources` (where:
// "REPO@REV/FILE").
RevisionLoad LoadRevisionSources(CliContext& context, std::string_view command,
                                 const std::string& word,
                                 std::vector<fleet::SettingsSource>& sources);

}  // namespace lanterna::cli
