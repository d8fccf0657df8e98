#include "fleet/Backup.h"

#include <sys/stat.h>

#include <cerrno>
#include <ctime>
#include <optional>
#include <set>

#include "fleet/CsvRows.h"
#include "fleet/RecordFacts.h"
#include "platform/DiskSpace.h"
#include "platform/KeptFiles.h"
#include "settings/SettingsFile.h"
#include "settings/SettingsFileCheck.h"

namespace lanterna::fleet {

namespace {

// A run folder's name is tried with these many suffixes before the run gives up.
constexpr int kFolderNameTries = 100;

std::string UtcText(std::chrono::system_clock::time_point when, const char* format) {
    const std::time_t seconds = std::chrono::system_clock::to_time_t(when);
    std::tm utc{};
    gmtime_r(&seconds, &utc);
    char text[32];
    return std::strftime(text, sizeof text, format, &utc) > 0 ? std::string(text) : std::string();
}

// Makes a new folder for the run; its path in `folder`.
OutputStatus MakeRunFolder(const std::string& parent, const std::string& name,
                           std::string& folder) {
    const std::string base = parent.empty() || parent.back() == '/' ? parent : parent + "/";
    for (int n = 1; n <= kFolderNameTries; ++n) {
        folder = base + name + (n == 1 ? "" : "-" + std::to_string(n));
        if (mkdir(folder.c_str(), 0700) == 0) {
            return chmod(folder.c_str(), KeptFolderMode(FolderOf(folder))) == 0
                       ? OutputStatus::kOk
                       : OutputStatus::kNotWritable;
        }
        if (errno == ENOENT || errno == ENOTDIR) {
            return OutputStatus::kFolderMissing;
        }
        if (errno != EEXIST) {
            return OutputStatus::kNotWritable;
        }
    }
    return OutputStatus::kNotWritable;
}

std::string StatusOf(const BackupEntry& entry) {
    if (entry.Saved()) {
        return "saved";
    }
    if (!entry.reading.record) {
        return std::string(OutcomeKey(entry.reading.outcome));
    }
    return "not written";
}

std::vector<std::string> IndexRow(const BackupEntry& entry) {
    const SiteReading& reading = entry.reading;
    std::string notKept;
    for (const NotKept what : entry.notKept) {
        notKept += (notKept.empty() ? "" : "; ") + std::string(NotKeptKey(what));
    }
    const std::string name =
        reading.record ? std::string(TextOf(reading.record->projectorName)) : reading.target.name;
    return {entry.Saved() ? entry.file : "",
            reading.target.address,
            name,
            MacText(reading.wiredMac),
            MacText(reading.wirelessMac),
            reading.record ? UtcText(reading.readAt, "%Y-%m-%dT%H:%M:%SZ") : "",
            StatusOf(entry),
            notKept};
}

}  // namespace

std::vector<std::string_view> BackupIndexColumns() {
    return {"file", "address", "name",       "wiredHardwareAddress", "wirelessHardwareAddress",
            "time", "status",  "notBackedUp"};
}

std::size_t BackupRun::SavedCount() const {
    std::size_t saved = 0;
    for (const BackupEntry& entry : entries) {
        saved += entry.Saved() ? 1 : 0;
    }
    return saved;
}

std::string BackupFileName(std::string_view name, std::string_view mac) {
    std::string safe;
    for (const char c : name) {
        const bool kept =
            (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-';
        safe += kept ? c : '_';
    }
    if (safe.empty()) {
        safe = "projector";
    }
    return safe + "_" + std::string(mac) + ".ini";
}

std::vector<NotKept> NotKeptOf(const ProjectorRecord& record, bool passwordSet) {
    std::vector<NotKept> notKept;
    if (passwordSet) {
        notKept.push_back(NotKept::kPassword);
    }
    const std::string security = SecurityText(record);
    if (security.starts_with("WPA-PSK")) {
        notKept.push_back(NotKept::kPskPassphrase);
    } else if (security.starts_with("LEAP")) {
        notKept.push_back(NotKept::kLeapSecrets);
    }
    return notKept;
}

std::string_view NotKeptKey(NotKept what) {
    switch (what) {
        case NotKept::kPassword:
            return "password";
        case NotKept::kPskPassphrase:
            return "WPA-PSK passphrase";
        case NotKept::kLeapSecrets:
            return "LEAP user name and password";
    }
    return "";
}

std::string BackupFolderName(std::chrono::system_clock::time_point now) {
    return UtcText(now, "%Y%m%dT%H%M%SZ");
}

BackupRun WriteBackup(const std::string& parent, std::vector<SiteReading> readings,
                      std::chrono::system_clock::time_point now) {
    BackupRun run;
    run.folderStatus = MakeRunFolder(parent, BackupFolderName(now), run.folder);
    std::set<std::string> names;
    for (SiteReading& reading : readings) {
        BackupEntry& entry = run.entries.emplace_back();
        entry.reading = std::move(reading);
        if (!entry.reading.record || run.folderStatus != OutputStatus::kOk) {
            continue;
        }
        const ProjectorRecord& record = *entry.reading.record;
        entry.notKept = NotKeptOf(record, entry.reading.passwordSet);
        std::string file = BackupFileName(TextOf(record.projectorName), TextOf(record.macAddress));
        // Two projectors reporting the same name and hardware address still get a file each.
        for (int n = 2; names.contains(file); ++n) {
            file = BackupFileName(TextOf(record.projectorName),
                                  std::string(TextOf(record.macAddress)) + "-" + std::to_string(n));
        }
        names.insert(file);
        entry.file = file;
        const std::optional<std::string> content = RestorableSettingsText(record);
        entry.written =
            content ? WriteOutputFile(run.folder + "/" + file, *content, FileAccess::kKept)
                    : OutputStatus::kNotWritable;
    }
    if (run.folderStatus != OutputStatus::kOk) {
        return run;
    }
    std::string index;
    std::vector<std::string> header;
    for (const std::string_view column : BackupIndexColumns()) {
        header.emplace_back(column);
    }
    index += CsvLine(header);
    for (const BackupEntry& entry : run.entries) {
        index += CsvLine(IndexRow(entry));
    }
    run.indexStatus =
        WriteOutputFile(run.folder + "/" + std::string(kBackupIndexName), index, FileAccess::kKept);
    return run;
}

BackupRun BackUpProjectors(const FleetNetwork& network, IPasswordSource& passwords,
                           std::vector<Target> targets, const std::string& parent,
                           const RunControl& control) {
    std::vector<SiteReading> readings =
        ReadSite(network, passwords, std::move(targets), true, control);
    return WriteBackup(parent, std::move(readings), std::chrono::system_clock::now());
}

}  // namespace lanterna::fleet
