#pragma once
// A watch as its configuration file sets it up: the configuration, the passwords it names and
// the targets it lists, each read and checked before the watcher starts (or takes them on a
// reload), so that nothing is half taken.

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "fleet/Targets.h"
#include "record/ProjectorRecord.h"
#include "watch/WatchConfig.h"
#include "watch/WatchPasswords.h"

namespace lanterna::watch {

using Environment = std::function<std::optional<std::string>(std::string_view name)>;

struct WatchSetup {
    WatchConfig config;
    std::shared_ptr<CWatchPasswords> passwords;        // the network modules'
    std::shared_ptr<CWatchPasswords> pjlinkPasswords;  // PJLink's, for the health rounds
    std::optional<ProjectorRecord> settingsTemplate;  // what every projector should hold
    std::vector<fleet::Target> targets;  // the addresses and the targets file; `all` adds more
};

// The setup of the configuration file at `path`; none with "PATH:LINE: [section] key: what"
// (or "PATH: what") in `problem`. The credentials folder is the environment's
// $CREDENTIALS_DIRECTORY.
std::optional<WatchSetup> LoadWatchSetup(const std::string& path, const Environment& environment,
                                         std::string& problem);

}  // namespace lanterna::watch
