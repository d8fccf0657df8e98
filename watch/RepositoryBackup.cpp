#include "watch/RepositoryBackup.h"

#include <cstdio>
#include <optional>
#include <set>

#include "fleet/Backup.h"
#include "fleet/CsvRows.h"
#include "fleet/RecordFacts.h"
#include "fleet/SiteDiff.h"
#include "platform/InputFile.h"
#include "settings/SettingsFile.h"
#include "settings/SettingsFileCheck.h"
#include "platform/KeptFiles.h"

namespace lanterna::watch {

namespace {

struct IndexRow {
    std::string file;
    std::string address;
    std::string name;
    std::string wiredMac;
    std::string wirelessMac;
};

std::vector<std::string> IndexColumns() {
    return {"file", "address", "name", "wiredHardwareAddress", "wirelessHardwareAddress"};
}

std::vector<IndexRow> ReadIndex(const std::string& folder, std::string& text) {
    if (ReadWholeFile(folder + "/" + std::string(kRepositoryIndexName), fleet::kCsvFileMaxBytes,
                      text) != FileRead::Loaded) {
        return {};
    }
    std::vector<fleet::CsvRow> rows;
    std::size_t bad = 0;
    if (!fleet::ParseCsv(text, rows, bad)) {
        return {};
    }
    std::vector<IndexRow> index;
    for (std::size_t r = 1; r < rows.size(); ++r) {
        const auto& cells = rows[r].cells;
        if (cells.size() >= 5) {
            index.push_back({fleet::CellValue(cells[0]), fleet::CellValue(cells[1]),
                             fleet::CellValue(cells[2]),
                             fleet::NormalHardwareAddress(fleet::CellValue(cells[3])).value_or(""),
                             fleet::NormalHardwareAddress(fleet::CellValue(cells[4])).value_or("")});
        }
    }
    return index;
}

std::string IndexText(const std::vector<IndexRow>& index) {
    std::string text = fleet::CsvLine(IndexColumns());
    for (const IndexRow& row : index) {
        text += fleet::CsvLine({row.file, row.address, row.name, fleet::MacText(row.wiredMac),
                                fleet::MacText(row.wirelessMac)});
    }
    return text;
}

bool SharesMac(const IndexRow& row, const fleet::SiteReading& reading) {
    return reading.HasMac(row.wiredMac) || reading.HasMac(row.wirelessMac);
}

// The index row of the projector read, by hardware address; of one not read, by address.
std::optional<std::size_t> RowOf(const std::vector<IndexRow>& index,
                                 const fleet::SiteReading& reading) {
    for (std::size_t i = 0; i < index.size(); ++i) {
        if (reading.record ? SharesMac(index[i], reading)
                           : index[i].address == reading.target.address) {
            return i;
        }
    }
    return std::nullopt;
}

// A settings file kept by an earlier round: its text and its settings.
struct KeptFile {
    std::string text;
    ProjectorRecord record{};
};

// A settings file is small; this bounds one read of a file kept earlier.
constexpr std::size_t kKeptFileMaxBytes = 64 * 1024;

std::optional<KeptFile> ReadKeptFile(const std::string& path) {
    KeptFile kept;
    if (ReadWholeFile(path, kKeptFileMaxBytes, kept.text) != FileRead::Loaded ||
        ReadSettingsDocument(kept.record, ProfileDocument(kept.text)) != 1) {
        return std::nullopt;
    }
    return kept;
}

bool IsKeyField(std::string_view field) {
    return field.starts_with("wepKey") && field != "wepKeyId";
}

std::string Shown(const std::string& value) {
    return value.empty() ? "(none)" : value;
}

// A file name no other projector of this round took.
std::string FreeFileName(const ProjectorRecord& record, std::set<std::string>& taken) {
    std::string file =
        fleet::BackupFileName(TextOf(record.projectorName), TextOf(record.macAddress));
    for (int n = 2; taken.contains(file); ++n) {
        file = fleet::BackupFileName(TextOf(record.projectorName),
                                     std::string(TextOf(record.macAddress)) + "-" +
                                         std::to_string(n));
    }
    taken.insert(file);
    return file;
}

// A settings file staged in a round, and the file of the projector's earlier name that goes
// once it is in place.
struct StagedFile {
    std::string file;
    std::size_t change = 0;
    std::string replaces;
};

// Stages one projector read; its change in `change`, its row in `index`.
void KeepReading(CKeptFileBatch& batch, const std::string& folder,
                 const fleet::SiteReading& reading, std::vector<IndexRow>& index,
                 std::set<std::string>& taken, BackupChange& change,
                 std::vector<StagedFile>& staged) {
    const ProjectorRecord& record = *reading.record;
    change.name = std::string(TextOf(record.projectorName));
    const auto row = RowOf(index, reading);
    const std::optional<KeptFile> before =
        row ? ReadKeptFile(folder + "/" + index[*row].file) : std::nullopt;
    change.isNew = !before;
    if (before) {
        change.changes = ChangeWords(before->record, record);
    }
    const std::string file = FreeFileName(record, taken);
    const std::optional<std::string> content = RestorableSettingsText(record);
    // A file that would be written as it is stays untouched: a quiet round writes nothing.
    const bool same = before && content && index[*row].file == file && before->text == *content;
    if (!content || (!same && !batch.Stage(file, *content))) {
        change.notWritten = true;
        return;
    }
    if (!same) {
        staged.push_back({file, change.reading,
                          row && index[*row].file != file ? index[*row].file : std::string()});
    }
    IndexRow updated{file, reading.target.address, change.name, reading.wiredMac,
                     reading.wirelessMac};
    if (row) {
        index[*row] = std::move(updated);
    } else {
        index.push_back(std::move(updated));
    }
}

// Puts the round's staged files in place; a projector whose file could not be is told so, and
// the file of its earlier name stays.
void PutInPlace(CKeptFileBatch& batch, const std::string& folder,
                const std::vector<StagedFile>& staged, BackupRoundResult& result) {
    const std::vector<std::string> failed = batch.Commit();
    const std::set<std::string> failedSet(failed.begin(), failed.end());
    result.indexWritten =
        result.indexWritten && !failedSet.contains(std::string(kRepositoryIndexName));
    for (const StagedFile& one : staged) {
        if (failedSet.contains(one.file)) {
            result.projectors[one.change].notWritten = true;
        } else if (!one.replaces.empty()) {
            std::remove((folder + "/" + one.replaces).c_str());  // the projector was renamed
        }
    }
}

std::string MessageOf(const BackupRoundResult& result, std::size_t count,
                      const std::vector<fleet::SiteReading>& readings) {
    std::string lines;
    for (const BackupChange& change : result.projectors) {
        const std::string who = (change.name.empty() ? readings[change.reading].target.address
                                                     : change.name) + ": ";
        if (change.notRead) {
            lines += who + "not read (" +
                     std::string(fleet::OutcomeKey(readings[change.reading].outcome)) +
                     (change.isNew ? "); no file of it yet\n" : "); its last file kept\n");
        } else if (change.notWritten) {
            lines += who + "read, but its file could not be written\n";
        } else if (change.isNew) {
            lines += who + "first backup\n";
        } else if (!change.changes.empty()) {
            std::string joined;
            for (const std::string& words : change.changes) {
                joined += (joined.empty() ? "" : ", ") + words;
            }
            lines += who + joined + "\n";
        }
    }
    return "Backup of " + std::to_string(count) + " projectors: " +
           std::to_string(result.ChangedCount()) + " changed\n\n" + lines;
}

}  // namespace

std::size_t BackupRoundResult::ChangedCount() const {
    std::size_t count = 0;
    for (const BackupChange& change : projectors) {
        count += !change.notRead && (change.isNew || !change.changes.empty()) ? 1 : 0;
    }
    return count;
}

std::vector<std::string> ChangeWords(const ProjectorRecord& before, const ProjectorRecord& after) {
    return DifferenceWords(fleet::DiffSettings(before, after));
}

std::vector<std::string> DifferenceWords(const std::vector<fleet::SettingDifference>& differences) {
    std::vector<std::string> words;
    for (const fleet::SettingDifference& difference : differences) {
        words.push_back(IsKeyField(difference.field)
                            ? difference.field + " changed"
                            : difference.field + " " + Shown(difference.here) + " → " +
                                  Shown(difference.there));
    }
    return words;
}

BackupRoundResult WriteRepositoryBackup(const std::string& folder,
                                        const std::vector<fleet::SiteReading>& readings) {
    BackupRoundResult result;
    CKeptFileBatch batch(folder);
    std::vector<StagedFile> staged;
    std::string indexBefore;
    std::vector<IndexRow> index = ReadIndex(folder, indexBefore);
    std::set<std::string> taken;
    for (const IndexRow& row : index) {
        taken.insert(row.file);
    }
    for (std::size_t i = 0; i < readings.size(); ++i) {
        BackupChange& change = result.projectors.emplace_back();
        change.reading = i;
        const fleet::SiteReading& reading = readings[i];
        if (!reading.record) {
            const auto row = RowOf(index, reading);
            change.name = row ? index[*row].name : reading.target.name;
            change.notRead = true;
            change.isNew = !row;
            continue;
        }
        if (const auto row = RowOf(index, reading)) {
            taken.erase(index[*row].file);  // its own name may be taken again
        }
        KeepReading(batch, folder, reading, index, taken, change, staged);
    }
    if (const std::string indexText = IndexText(index); indexText != indexBefore) {
        result.indexWritten = batch.Stage(std::string(kRepositoryIndexName), indexText);
    }
    PutInPlace(batch, folder, staged, result);
    result.message = MessageOf(result, readings.size(), readings);
    return result;
}

}  // namespace lanterna::watch
