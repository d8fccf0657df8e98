#pragma once
// Why a settings file cannot be used as it stands: the first key whose line the reader could not
// take, named by its section and key, so that whoever wrote the file by hand can mend it.

#include <optional>
#include <string>

#include "platform/ProfileDocument.h"
#include "platform/UserLanguage.h"
#include "record/ProjectorRecord.h"
#include "settings/SettingsFileKeys.h"

namespace lanterna {

enum class SettingsFileFault {
    kNone,
    kNoVersion,        // no [FILE] NM_INIVER: the file does not say which key set it uses
    kBadValue,         // a known key whose value is not exactly of its form (`rule`)
    kKeyWithoutValue,  // a key line without '='
    kUnknownKey,       // a key of a known section that no settings file has
    kNoSetting,        // nothing in it that could be applied
};

struct SettingsFileProblem {
    SettingsFileFault fault = SettingsFileFault::kNone;
    std::string section;  // as the file names it in upper case ("SNMP")
    std::string key;      // in upper case ("NM_TRAP1")
    std::string value;
    FileValueRule rule;

    explicit operator bool() const { return fault != SettingsFileFault::kNone; }
};

// Reads `document` into `record` (zero-filled) as ReadSettingsDocument does: the one reading of
// a settings file, a history entry or a backup file on every road. Returns why it cannot be used,
// or none: a key line without '=', a key of neither key set, the first value not exactly of its
// key's form (keys the reader skips for the file's module type are not judged), a file without
// a version whose keys are all of the current key set, or nothing that could be applied. Keys of
// the other key set, which a save over an older file leaves in place, are passed over.
SettingsFileProblem ReadCheckedSettings(const ProfileDocument& document, ProjectorRecord& record);

// The reader itself (ReadSettingsDocument with the first refused value in `refused`): 0 whenever
// a value is refused.
int ReadSettingsValues(ProjectorRecord& record, const ProfileDocument& document,
                       SettingsFileProblem& refused);

// The settings file of `record` written for restoring: the keys of a save (StoreSettings) less
// every setting whose state is 0 and every value the reader would not take back exactly, so that
// applying it can never send a value nobody read. None when a value cannot be stored.
std::optional<std::string> RestorableSettingsText(const ProjectorRecord& record);

// The problem in words ("[SNMP] NM_TRAP1=10.0.0: not a value this setting can take").
std::string SettingsFileProblemText(const SettingsFileProblem& problem, Language language);

}  // namespace lanterna
