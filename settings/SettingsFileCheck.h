#pragma once
// Why a settings file cannot be used as it stands: the first key whose line the reader could not
// take, named by its section and key, so that whoever wrote the file by hand can mend it.

#include <optional>
#include <string>

#include "platform/ProfileDocument.h"
#include "platform/UserLanguage.h"
#include "record/ProjectorRecord.h"

namespace lanterna {

enum class SettingsFileFault {
    kNone,
    kNoVersion,        // no [FILE] NM_INIVER: the file does not say which key set it uses
    kBadValue,         // a known key whose value is not one of its setting's
    kKeyWithoutValue,  // a key line without '='
    kUnknownKey,       // a key of a known section that no settings file has
    kNoSetting,        // nothing in it that could be applied
};

struct SettingsFileProblem {
    SettingsFileFault fault = SettingsFileFault::kNone;
    std::string section;  // as the file names it in upper case ("SNMP")
    std::string key;      // in upper case ("NM_TRAP1")
    std::string value;

    explicit operator bool() const { return fault != SettingsFileFault::kNone; }
};

// The first problem of `document` of the current key set, read into `record` by
// ReadSettingsDocument, in the order of the sections a save writes; none when every key in it
// was taken. Keys the reader skips for the file's module type are not judged.
SettingsFileProblem CheckSettingsDocument(const ProfileDocument& document,
                                          const ProjectorRecord& record);

// The settings file of `record` written for restoring: the keys of a save (StoreSettings) less
// every setting whose state is 0, so that applying it can never send a value nobody read. None
// when a value cannot be stored.
std::optional<std::string> RestorableSettingsText(const ProjectorRecord& record);

// The problem in words ("[SNMP] NM_TRAP1=10.0.0: not a value this setting can take").
std::string SettingsFileProblemText(const SettingsFileProblem& problem, Language language);

}  // namespace lanterna
