#pragma once
// The settings of projectors compared and put back: two records' differences setting by
// setting, the settings a backup holds read back from its files, the sides of a comparison
// paired by hardware address, and the assignments that bring a projector back to a file.

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "fleet/RecordFields.h"
#include "fleet/SiteRead.h"
#include "platform/InputFile.h"
#include "record/ProjectorRecord.h"

namespace lanterna::fleet {

struct SettingDifference {
    std::string field;  // as set names it
    std::string here;   // the value on the first side
    std::string there;  // on the second
    // The side holds no value of it (never read, or no longer reported); its text is empty.
    bool hereUnread = false;
    bool thereUnread = false;

    friend bool operator==(const SettingDifference&, const SettingDifference&) = default;
};

// The settings that differ, in the order of the fields: those both records hold a value of,
// and those only one of them holds where both interfaces have the setting (a setting a backup
// holds that the projector no longer reports differs).
std::vector<SettingDifference> DiffSettings(const ProjectorRecord& here,
                                            const ProjectorRecord& there);

// The settings a template (`file`, as ReadCheckedSettings reads one) would write to the
// projector of `reported` that differ from it, as MergeTemplate selects them (the projector's
// own name and addresses, and an interface set-up of another kind, are not compared); here the
// projector's value (empty when it was not read), there the template's.
std::vector<SettingDifference> DiffTemplate(const ProjectorRecord& reported,
                                            const ProjectorRecord& file);

// What brings a projector back to `file`: every setting the file holds a value of.
std::vector<FieldAssignment> RestoringAssignments(const ProjectorRecord& file);

// One projector's settings as a side of a comparison holds them.
struct SettingsSource {
    std::string where;  // the file's path, or the address it was read at
    std::string name;
    std::string wiredMac;  // 12 upper-case hexadecimal digits; empty where not known
    std::string wirelessMac;
    // A backup's file whose own hardware address the index contradicts: the index's (the file's
    // own is wiredMac). Empty: they agree.
    std::string indexMac;
    ProjectorRecord record{};

    bool SharesMac(const SettingsSource& other) const;
};

enum class SourceProblem {
    kNone,
    kUnreadable,     // `path` could not be read (with `read` telling why)
    kNotSettings,    // `path` is not a settings file that can be used (`settings` says why)
    kIndexUnusable,  // the index of a backup folder is not as a backup writes it
};

struct SourceLoad {
    SourceProblem problem = SourceProblem::kNone;
    std::string path;  // the file the problem is with
    FileRead read = FileRead::Loaded;
    SettingsFileProblem settings;
    std::vector<SettingsSource> sources;
};

// A settings file (.ini), or every settings file the index of a backup folder lists.
SourceLoad LoadSettingsSources(const std::string& path);

// The settings file at `path` as one source; its hardware address is the file's own.
SourceLoad LoadSettingsFile(const std::string& path);

// The projectors read, as sources (where: the address); those not read are left out.
std::vector<SettingsSource> SourcesOfReadings(const std::vector<SiteReading>& readings);

struct SourcePair {
    std::optional<std::size_t> here;
    std::optional<std::size_t> there;
};

// The sources of both sides paired by a hardware address they share; one source on each side
// is a pair whatever its addresses. Unpaired ones come last, each alone.
std::vector<SourcePair> PairSources(const std::vector<SettingsSource>& here,
                                    const std::vector<SettingsSource>& there);

}  // namespace lanterna::fleet
