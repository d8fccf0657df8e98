#include "fleet/SiteDiff.h"

#include <sys/stat.h>

#include "fleet/Backup.h"
#include "fleet/CsvRows.h"
#include "fleet/SiteRead.h"
#include "platform/ProfileFile.h"
#include "settings/SettingsFile.h"

namespace lanterna::fleet {

namespace {

// A backup's index is small; this bounds one read from outside.
constexpr std::size_t kIndexMaxBytes = 1024 * 1024;

bool IsFolder(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

std::string NormalOrEmpty(const std::string& text) {
    return NormalHardwareAddress(text).value_or("");
}

// The column of `name` in `header`, if it has one.
std::optional<std::size_t> ColumnOf(const CsvRow& header, std::string_view name) {
    for (std::size_t i = 0; i < header.cells.size(); ++i) {
        if (CellValue(header.cells[i]) == name) {
            return i;
        }
    }
    return std::nullopt;
}

// A file named by an index: a name in the folder itself, never a path elsewhere.
bool IsPlainFileName(const std::string& name) {
    return !name.empty() && name != "." && name != ".." &&
           name.find('/') == std::string::npos;
}

SourceLoad LoadBackupFolder(const std::string& folder) {
    SourceLoad load;
    load.path = folder + "/" + std::string(kBackupIndexName);
    std::string text;
    load.read = ReadWholeFile(load.path, kIndexMaxBytes, text);
    if (load.read != FileRead::Loaded) {
        load.problem = SourceProblem::kUnreadable;
        return load;
    }
    std::vector<CsvRow> rows;
    std::size_t badLine = 0;
    if (!ParseCsv(text, rows, badLine) || rows.empty()) {
        load.problem = SourceProblem::kIndexUnusable;
        return load;
    }
    const auto file = ColumnOf(rows[0], "file");
    const auto name = ColumnOf(rows[0], "name");
    const auto wired = ColumnOf(rows[0], "wiredHardwareAddress");
    const auto wireless = ColumnOf(rows[0], "wirelessHardwareAddress");
    if (!file || !name || !wired || !wireless) {
        load.problem = SourceProblem::kIndexUnusable;
        return load;
    }
    const std::size_t needed = std::max({*file, *name, *wired, *wireless}) + 1;
    for (std::size_t r = 1; r < rows.size(); ++r) {
        const std::vector<std::string>& cells = rows[r].cells;
        if (cells.size() < needed) {
            load.problem = SourceProblem::kIndexUnusable;
            return load;
        }
        const std::string fileName = CellValue(cells[*file]);
        if (fileName.empty()) {
            continue;  // a projector that was not saved
        }
        if (!IsPlainFileName(fileName)) {
            load.problem = SourceProblem::kIndexUnusable;
            return load;
        }
        SourceLoad one = LoadSettingsFile(folder + "/" + fileName);
        if (one.problem != SourceProblem::kNone) {
            return one;
        }
        SettingsSource& source = one.sources.front();
        source.name = CellValue(cells[*name]);
        // The file's own hardware address is its identity; the index, a spreadsheet someone may
        // have sorted, only adds the other interface's where it agrees.
        const std::string indexWired = NormalOrEmpty(CellValue(cells[*wired]));
        const std::string indexWireless = NormalOrEmpty(CellValue(cells[*wireless]));
        if (source.wiredMac.empty() || source.wiredMac == indexWired ||
            source.wiredMac == indexWireless) {
            source.wirelessMac = source.wiredMac == indexWireless ? indexWired : indexWireless;
            if (source.wiredMac.empty()) {
                source.wiredMac = indexWired;
            }
        } else {
            source.indexMac = indexWired.empty() ? indexWireless : indexWired;
        }
        load.sources.push_back(std::move(source));
    }
    return load;
}

}  // namespace

std::vector<SettingDifference> DiffSettings(const ProjectorRecord& here,
                                            const ProjectorRecord& there) {
    std::vector<SettingDifference> differences;
    for (const RecordFieldInfo& field : RecordFieldList()) {
        const auto a = ReadFieldValue(field.name, here);
        const auto b = ReadFieldValue(field.name, there);
        // A setting one side's interface does not have is no setting of it. One that the first
        // side (the backup or file a site is compared against) holds and the second did not
        // report differs; the other way round it does not, since a file leaves out what its
        // form does not keep (mail settings while mail is off).
        const bool applies = !MissingSetting(field.name, here) && !MissingSetting(field.name, there);
        if ((applies && a && !b) || (a && b && *a != *b)) {
            differences.push_back({std::string(field.name), a.value_or(""), b.value_or(""),
                                   !a.has_value(), !b.has_value()});
        }
    }
    return differences;
}

std::vector<SettingDifference> DiffTemplate(const ProjectorRecord& reported,
                                            const ProjectorRecord& file) {
    ProjectorRecord merged = reported;
    std::vector<SettingDifference> differences;
    for (std::string& field : MergeTemplate(file, merged).changed) {
        const bool unread = !ReadFieldValue(field, reported).has_value();
        std::string here = FieldValueText(field, reported);
        std::string there = FieldText(field, file);
        differences.push_back({std::move(field), std::move(here), std::move(there), unread});
    }
    return differences;
}

std::vector<FieldAssignment> RestoringAssignments(const ProjectorRecord& file) {
    std::vector<FieldAssignment> assignments;
    for (const RecordFieldInfo& field : RecordFieldList()) {
        if (auto value = ReadFieldValue(field.name, file)) {
            assignments.push_back({std::string(field.name), std::move(*value)});
        }
    }
    return assignments;
}

bool SettingsSource::SharesMac(const SettingsSource& other) const {
    for (const std::string* mine : {&wiredMac, &wirelessMac}) {
        for (const std::string* theirs : {&other.wiredMac, &other.wirelessMac}) {
            if (!mine->empty() && *mine == *theirs) {
                return true;
            }
        }
    }
    return false;
}

SourceLoad LoadSettingsFile(const std::string& path) {
    SourceLoad load;
    load.path = path;
    ProfileDocument document;
    load.read = LoadProfile(path, document);
    if (load.read != FileRead::Loaded) {
        load.problem = SourceProblem::kUnreadable;
        return load;
    }
    SettingsSource source;
    source.where = path;
    load.settings = ReadCheckedSettings(document, source.record);
    if (load.settings) {
        load.problem = SourceProblem::kNotSettings;
        return load;
    }
    source.name = std::string(TextOf(source.record.projectorName));
    source.wiredMac = NormalOrEmpty(std::string(TextOf(source.record.macAddress)));
    load.sources.push_back(std::move(source));
    return load;
}

SourceLoad LoadSettingsSources(const std::string& path) {
    return IsFolder(path) ? LoadBackupFolder(path) : LoadSettingsFile(path);
}

std::vector<SettingsSource> SourcesOfReadings(const std::vector<SiteReading>& readings) {
    std::vector<SettingsSource> sources;
    for (const SiteReading& reading : readings) {
        if (!reading.record) {
            continue;
        }
        SettingsSource& source = sources.emplace_back();
        source.where = reading.target.address;
        source.name = std::string(TextOf(reading.record->projectorName));
        source.wiredMac = reading.wiredMac;
        source.wirelessMac = reading.wirelessMac;
        source.record = *reading.record;
    }
    return sources;
}

std::vector<SourcePair> PairSources(const std::vector<SettingsSource>& here,
                                    const std::vector<SettingsSource>& there) {
    std::vector<SourcePair> pairs;
    if (here.size() == 1 && there.size() == 1) {
        return {{0, 0}};
    }
    std::vector<bool> paired(there.size(), false);
    std::vector<SourcePair> alone;
    for (std::size_t i = 0; i < here.size(); ++i) {
        std::optional<std::size_t> match;
        for (std::size_t j = 0; j < there.size() && !match; ++j) {
            if (!paired[j] && here[i].SharesMac(there[j])) {
                match = j;
            }
        }
        if (match) {
            paired[*match] = true;
            pairs.push_back({i, match});
        } else {
            alone.push_back({i, std::nullopt});
        }
    }
    for (std::size_t j = 0; j < there.size(); ++j) {
        if (!paired[j]) {
            alone.push_back({std::nullopt, j});
        }
    }
    pairs.insert(pairs.end(), alone.begin(), alone.end());
    return pairs;
}

}  // namespace lanterna::fleet
