#include "fleet/History.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <system_error>

#include "platform/DisplayText.h"
#include "platform/InputFile.h"
#include "platform/ProfileFile.h"
#include "settings/SettingsFile.h"
#include "settings/SettingsFileCheck.h"

namespace lanterna::fleet {

namespace {

constexpr std::string_view kEntryExtension = ".ini";
constexpr std::string_view kChangeLogName = "changes.log";
// An entry is one settings file; a few kibibytes hold every key.
constexpr std::size_t kEntryMaxBytes = 64 * 1024;

// The folder made for the owner alone (history entries hold WEP keys), with its parents.
bool MakePrivateFolder(const std::string& folder) {
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error) {
        return false;
    }
    struct stat info {};
    return ::stat(folder.c_str(), &info) == 0 && S_ISDIR(info.st_mode) &&
           (info.st_uid != ::geteuid() || ::chmod(folder.c_str(), 0700) == 0);
}

// The hardware address as a folder name: 12 hexadecimal digits in upper case, or none.
std::optional<std::string> MacFolderName(std::string_view mac) {
    if (mac.size() != 12 || !std::all_of(mac.begin(), mac.end(), [](char c) {
            return std::isxdigit(static_cast<unsigned char>(c)) != 0;
        })) {
        return std::nullopt;
    }
    std::string name(mac);
    std::transform(name.begin(), name.end(), name.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return name;
}

// An entry's time and number from its file name, or none for any other file.
std::optional<HistoryEntry> EntryOf(const std::filesystem::path& path) {
    const std::string name = path.filename().string();
    const std::size_t dash = name.rfind('-');
    if (!name.ends_with(kEntryExtension) || dash == std::string::npos || dash == 0) {
        return std::nullopt;
    }
    const std::string number = name.substr(dash + 1, name.size() - dash - 1 - kEntryExtension.size());
    if (number.empty() || number.size() > 6 ||
        !std::all_of(number.begin(), number.end(),
                     [](char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; })) {
        return std::nullopt;
    }
    return HistoryEntry{path.string(), name.substr(0, dash), std::stoi(number)};
}

std::vector<HistoryEntry> EntriesIn(const std::string& folder) {
    std::vector<HistoryEntry> entries;
    std::error_code error;
    for (const auto& file : std::filesystem::directory_iterator(folder, error)) {
        if (auto entry = EntryOf(file.path()); entry && file.is_regular_file(error)) {
            entries.push_back(std::move(*entry));
        }
    }
    std::sort(entries.begin(), entries.end(), [](const HistoryEntry& a, const HistoryEntry& b) {
        return a.time != b.time ? a.time > b.time : a.number > b.number;
    });
    return entries;
}

}  // namespace

std::string HistoryFolder(const EnvironmentLookup& environment) {
    if (const auto state = environment("XDG_STATE_HOME"); state && state->starts_with('/')) {
        return *state + "/lanterna/history";
    }
    if (const auto home = environment("HOME"); home && !home->empty()) {
        return *home + "/.local/state/lanterna/history";
    }
    return {};
}

std::string HistoryTime(std::chrono::system_clock::time_point time) {
    const auto since = time.time_since_epoch();
    const auto seconds = std::chrono::floor<std::chrono::seconds>(since);
    const auto millis = std::chrono::duration_cast<std::chrono::milliseconds>(since - seconds);
    const std::time_t whole = static_cast<std::time_t>(seconds.count());
    std::tm utc{};
    ::gmtime_r(&whole, &utc);
    std::array<char, 32> text{};
    const std::size_t length = std::strftime(text.data(), text.size(), "%Y%m%dT%H%M%S", &utc);
    std::array<char, 8> fraction{};
    std::snprintf(fraction.data(), fraction.size(), ".%03dZ", static_cast<int>(millis.count()));
    return std::string(text.data(), length) + fraction.data();
}

std::optional<std::string> CHistory::ProjectorFolder(std::string_view mac) const {
    const auto name = MacFolderName(mac);
    if (folder_.empty() || !name) {
        return std::nullopt;
    }
    return folder_ + "/" + *name;
}

OutputStatus CHistory::Keep(const ProjectorRecord& reported,
                            std::chrono::system_clock::time_point now, std::string* path) const {
    const auto folder = ProjectorFolder(TextOf(reported.macAddress));
    const std::optional<std::string> content = RestorableSettingsText(reported);
    if (!folder || !content || !MakePrivateFolder(*folder)) {
        return OutputStatus::kNotWritable;
    }
    const std::string time = HistoryTime(now);
    std::vector<HistoryEntry> entries = EntriesIn(*folder);
    int number = 1;
    for (const HistoryEntry& entry : entries) {
        if (entry.time == time) {
            number = std::max(number, entry.number + 1);
        }
    }
    const std::string entryPath =
        *folder + "/" + time + "-" + std::to_string(number) + std::string(kEntryExtension);
    if (const OutputStatus status = WriteOutputFile(entryPath, *content, FileAccess::kPrivate);
        status != OutputStatus::kOk) {
        return status;
    }
    // The oldest go once the new one stands.
    for (std::size_t i = kHistoryEntriesKept - 1; i < entries.size(); ++i) {
        std::error_code error;
        std::filesystem::remove(entries[i].path, error);
    }
    if (path != nullptr) {
        *path = entryPath;
    }
    return OutputStatus::kOk;
}

OutputStatus CHistory::LogWrite(const ProjectorRecord& reported,
                                std::chrono::system_clock::time_point now,
                                const std::vector<std::string>& sent,
                                std::string_view outcome) const {
    const auto folder = ProjectorFolder(TextOf(reported.macAddress));
    if (!folder || !MakePrivateFolder(*folder)) {
        return OutputStatus::kNotWritable;
    }
    const std::string path = *folder + "/" + std::string(kChangeLogName);
    std::string log;
    if (const FileRead read = ReadWholeFile(path, kChangeLogMaxBytes * 2, log);
        read != FileRead::Loaded && read != FileRead::Missing) {
        return OutputStatus::kExistingUnreadable;
    }
    std::string commands;
    for (const std::string& line : sent) {
        commands += (commands.empty() ? "" : "; ") + line;
    }
    log += HistoryTime(now) + "\t" + TerminalText(TextOf(reported.address)) + "\t" +
           TerminalText(TextOf(reported.projectorName)) + "\t" + TerminalText(commands) + "\t" +
           TerminalText(outcome) + "\n";
    // The oldest lines go first when the log outgrows its bound.
    while (log.size() > kChangeLogMaxBytes) {
        log.erase(0, std::min(log.size(), log.find('\n') + 1));
    }
    return WriteOutputFile(path, log, FileAccess::kPrivate);
}

std::vector<HistoryEntry> CHistory::Entries(std::string_view mac) const {
    const auto folder = ProjectorFolder(mac);
    return folder ? EntriesIn(*folder) : std::vector<HistoryEntry>{};
}

bool CHistory::ReadEntry(std::string_view mac, std::size_t index, ProjectorRecord& record) const {
    const std::vector<HistoryEntry> entries = Entries(mac);
    return index < entries.size() && ReadHistoryEntry(entries[index], record);
}

bool ReadHistoryEntry(const HistoryEntry& entry, ProjectorRecord& record) {
    std::string content;
    if (ReadWholeFile(entry.path, kEntryMaxBytes, content) != FileRead::Loaded) {
        return false;
    }
    record = ProjectorRecord{};
    return ReadSettingsDocument(record, ProfileDocument(std::move(content))) == 1;
}

std::vector<std::string> CHistory::ChangeLogLines(std::string_view mac) const {
    std::vector<std::string> lines;
    const auto folder = ProjectorFolder(mac);
    std::string log;
    if (!folder || ReadWholeFile(*folder + "/" + std::string(kChangeLogName),
                                 kChangeLogMaxBytes * 2, log) != FileRead::Loaded) {
        return lines;
    }
    for (std::size_t start = 0; start < log.size();) {
        const std::size_t end = std::min(log.find('\n', start), log.size());
        lines.push_back(log.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

}  // namespace lanterna::fleet
