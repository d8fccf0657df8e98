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
#include "platform/KeptFiles.h"
#include "platform/ProfileFile.h"
#include "settings/SettingsFile.h"
#include "settings/SettingsFileCheck.h"

namespace lanterna::fleet {

namespace {

constexpr std::string_view kEntryExtension = ".ini";
constexpr std::string_view kChangeLogName = "changes.log";
// An entry is one settings file; a few kibibytes hold every key.
constexpr std::size_t kEntryMaxBytes = 64 * 1024;
// Names tried for one entry when the next ones are taken.
constexpr int kNameTries = 100;

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

bool AllDigits(std::string_view text) {
    return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) {
        return std::isdigit(static_cast<unsigned char>(c)) != 0;
    });
}

constexpr std::size_t kSequenceDigits = 10;

// An entry from its file name: "<sequence>-<time>.ini", or the older "<time>-<n>.ini"; none for
// any other file.
std::optional<HistoryEntry> EntryOf(const std::filesystem::path& path) {
    const std::string name = path.filename().string();
    if (!name.ends_with(kEntryExtension)) {
        return std::nullopt;
    }
    const std::string_view stem =
        std::string_view(name).substr(0, name.size() - kEntryExtension.size());
    const std::size_t first = stem.find('-');
    if (first == kSequenceDigits && AllDigits(stem.substr(0, first)) && first + 1 < stem.size()) {
        return HistoryEntry{path.string(), std::string(stem.substr(first + 1)),
                            std::stoull(std::string(stem.substr(0, first))), 0};
    }
    const std::size_t dash = stem.rfind('-');
    if (dash == std::string_view::npos || dash == 0) {
        return std::nullopt;
    }
    const std::string_view number = stem.substr(dash + 1);
    if (number.size() > 6 || !AllDigits(number)) {
        return std::nullopt;
    }
    return HistoryEntry{path.string(), std::string(stem.substr(0, dash)), 0,
                        std::stoi(std::string(number))};
}

std::vector<HistoryEntry> EntriesIn(const std::string& folder) {
    std::vector<HistoryEntry> entries;
    std::error_code error;
    for (const auto& file : std::filesystem::directory_iterator(folder, error)) {
        if (auto entry = EntryOf(file.path()); entry && file.is_regular_file(error)) {
            entries.push_back(std::move(*entry));
        }
    }
    std::sort(entries.begin(), entries.end(), NewerEntry);
    return entries;
}

std::string EntryName(std::uint64_t sequence, const std::string& time) {
    std::string digits = std::to_string(sequence);
    digits.insert(0, kSequenceDigits > digits.size() ? kSequenceDigits - digits.size() : 0, '0');
    return digits + "-" + time + std::string(kEntryExtension);
}

// A text a settings file cannot hold (a line feed in a projector's name) escaped as the change
// log escapes it, so that the settings as read can still be kept.
template <std::size_t N>
void EscapeForEntry(FixedText<N>& field) {
    const std::string_view text = TextOf(field);
    if (text.find_first_of("\r\n") != std::string_view::npos) {
        CopyText(field, TerminalText(text));
    }
}

std::optional<std::string> EntryText(const ProjectorRecord& reported) {
    if (auto text = RestorableSettingsText(reported)) {
        return text;
    }
    ProjectorRecord escaped = reported;
    EscapeForEntry(escaped.projectorName);
    EscapeForEntry(escaped.dnsDomain);
    EscapeForEntry(escaped.mailTo1);
    EscapeForEntry(escaped.mailTo2);
    EscapeForEntry(escaped.mailTo3);
    EscapeForEntry(escaped.community);
    EscapeForEntry(escaped.essid);
    return RestorableSettingsText(escaped);
}

// The change log cut to its newest lines within the bound; under the folder's lock.
OutputStatus TrimChangeLog(const std::string& path) {
    std::string log;
    if (ReadWholeFile(path, kChangeLogMaxBytes * 2, log) != FileRead::Loaded) {
        return OutputStatus::kExistingUnreadable;
    }
    while (log.size() > kChangeLogMaxBytes) {
        const std::size_t end = log.find('\n');
        log.erase(0, end == std::string::npos ? log.size() : end + 1);
    }
    return WriteOutputFile(path, log, FileAccess::kKept);
}

bool IsRegularFile(const std::string& path) {
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

}  // namespace

bool NewerEntry(const HistoryEntry& a, const HistoryEntry& b) {
    if ((a.sequence == 0) != (b.sequence == 0)) {
        return a.sequence != 0;
    }
    if (a.sequence != b.sequence) {
        return a.sequence > b.sequence;
    }
    return a.time != b.time ? a.time > b.time : a.number > b.number;
}

std::string HistoryFolder(const EnvironmentLookup& environment) {
    if (const auto shared = environment("LANTERNA_HISTORY_DIR"); shared && !shared->empty()) {
        return *shared;
    }
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
    const std::optional<std::string> content = EntryText(reported);
    if (!folder || !content || !MakeKeptFolder(*folder)) {
        return OutputStatus::kNotWritable;
    }
    const CFolderLock lock(*folder);
    if (!lock.Held()) {
        return OutputStatus::kNotWritable;
    }
    const std::vector<HistoryEntry> entries = EntriesIn(*folder);
    std::uint64_t sequence = 1;
    for (const HistoryEntry& entry : entries) {
        sequence = std::max(sequence, entry.sequence + 1);
    }
    const std::string time = HistoryTime(now);
    std::string entryPath;
    OutputStatus status = OutputStatus::kNotWritable;
    // The lock keeps other writers out; a name taken all the same (a folder shared without
    // locks) moves the entry on, never over what stands there.
    for (int attempt = 0; attempt < kNameTries && status != OutputStatus::kOk; ++attempt) {
        entryPath = *folder + "/" + EntryName(sequence + static_cast<std::uint64_t>(attempt), time);
        status = CreateKeptFile(entryPath, *content);
        if (status != OutputStatus::kOk && errno != EEXIST) {
            return status;
        }
    }
    if (status != OutputStatus::kOk) {
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
    if (!folder || !MakeKeptFolder(*folder)) {
        return OutputStatus::kNotWritable;
    }
    const CFolderLock lock(*folder);
    if (!lock.Held()) {
        return OutputStatus::kNotWritable;
    }
    std::string commands;
    for (const std::string& line : sent) {
        commands += (commands.empty() ? "" : "; ") + line;
    }
    const std::string line = HistoryTime(now) + "\t" + TerminalText(TextOf(reported.address)) +
                             "\t" + TerminalText(TextOf(reported.projectorName)) + "\t" +
                             TerminalText(commands) + "\t" + TerminalText(outcome) + "\t" +
                             TerminalText(WriterName()) + "\n";
    const std::string path = *folder + "/" + std::string(kChangeLogName);
    std::uint64_t size = 0;
    if (const OutputStatus status = AppendKeptLine(path, line, &size);
        status != OutputStatus::kOk) {
        return status;
    }
    // The oldest lines go first when the log outgrows its bound.
    return size > kChangeLogMaxBytes ? TrimChangeLog(path) : OutputStatus::kOk;
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
    return !ReadCheckedSettings(ProfileDocument(std::move(content)), record);
}

std::vector<std::string> CHistory::ChangeLogLines(std::string_view mac) const {
    std::vector<std::string> lines;
    const auto folder = ProjectorFolder(mac);
    std::string log;
    const std::string path = folder ? *folder + "/" + std::string(kChangeLogName) : "";
    if (!folder || !IsRegularFile(path) ||
        ReadWholeFile(path, kChangeLogMaxBytes * 2, log) != FileRead::Loaded) {
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
