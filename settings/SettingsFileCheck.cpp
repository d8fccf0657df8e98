#include "settings/SettingsFileCheck.h"

#include <algorithm>
#include <cctype>
#include <set>
#include <string_view>

#include "record/CutState.h"
#include "resources/StringIds.h"
#include "resources/TextPattern.h"
#include "settings/SettingsFile.h"

namespace lanterna {

namespace {

std::string UpperCase(std::string_view text) {
    std::string upper(text);
    std::transform(upper.begin(), upper.end(), upper.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return upper;
}

// A key line without '=' or a key that no settings file has, in the sections the file uses.
SettingsFileProblem CheckKeyLines(const ProfileDocument& document) {
    std::set<std::string_view> sections;
    for (const SettingsFileKey& key : SettingsFileKeys()) {
        sections.insert(key.section);
    }
    for (const std::string_view section : sections) {
        const auto table = document.KeyTable(section);
        std::set<std::string> names;  // sorted: the same problem named every time
        for (const auto& [name, value] : table) {
            names.insert(name);
        }
        for (const std::string& name : names) {
            const std::string upper = UpperCase(name);
            if (!table.at(name)) {
                return {SettingsFileFault::kKeyWithoutValue, std::string(section), upper, {}, {}};
            }
            if (FindSettingsFileKey(section, upper, false) == nullptr &&
                FindSettingsFileKey(section, upper, true) == nullptr) {
                return {SettingsFileFault::kUnknownKey, std::string(section), upper, {}, {}};
            }
        }
    }
    return {};
}

// Whether the file holds a key of the current key set that tells a setting.
bool HoldsCurrentKeys(const ProfileDocument& document) {
    return std::any_of(SettingsFileKeys().begin(), SettingsFileKeys().end(),
                       [&document](const SettingsFileKey& key) {
                           return key.state != nullptr &&
                                  document.Find(key.section, SettingsFileKeyName(key, false));
                       });
}

}  // namespace

SettingsFileProblem ReadCheckedSettings(const ProfileDocument& document, ProjectorRecord& record) {
    if (SettingsFileProblem problem = CheckKeyLines(document)) {
        return problem;
    }
    SettingsFileProblem refused;
    if (ReadSettingsValues(record, document, refused) == 1) {
        return {};
    }
    if (refused) {
        return refused;
    }
    // Read as the older key set, a file of nothing but current keys has lost its version line.
    if (IsEmptyText(record.iniVersion) && HoldsCurrentKeys(document)) {
        return {SettingsFileFault::kNoVersion, "FILE", "NM_INIVER", {}, {}};
    }
    return {SettingsFileFault::kNoSetting, {}, {}, {}, {}};
}

std::optional<std::string> RestorableSettingsText(const ProjectorRecord& record) {
    ProfileDocument saved;
    if (!StoreSettings(record, saved)) {
        return std::nullopt;
    }
    const ProfileDocument written(saved.Serialize());
    ProfileDocument restorable;
    for (const SettingsFileKey& key : SettingsFileKeys()) {
        const std::string name = SettingsFileKeyName(key, false);
        const std::optional<std::string> value = written.Find(key.section, name);
        // A value the reader would refuse or read otherwise (a primary interface of 2 as some
        // projectors report it, an ESSID ending in a blank) is left out, as a value never read.
        const bool kept = value && (key.state == nullptr || HoldsWholeValue(record.*key.state)) &&
                          IsFileValue(key.rule, *value) && ProfileValueOf(*value) == *value;
        if (kept && !restorable.Set(key.section, name, *value)) {
            return std::nullopt;
        }
    }
    return restorable.Serialize();
}

std::string SettingsFileProblemText(const SettingsFileProblem& problem, Language language) {
    switch (problem.fault) {
        case SettingsFileFault::kNone:
            return {};
        case SettingsFileFault::kNoVersion:
            return FormatString(kStringFileNoVersion, language, {});
        case SettingsFileFault::kBadValue:
            return FormatString(kStringFileValueRefused, language,
                                {problem.section, problem.key, problem.value,
                                 FileValueRuleText(problem.rule, language)});
        case SettingsFileFault::kKeyWithoutValue:
            return FormatString(kStringFileKeyWithoutValue, language,
                                {problem.section, problem.key});
        case SettingsFileFault::kUnknownKey:
            return FormatString(kStringFileUnknownKey, language, {problem.section, problem.key});
        case SettingsFileFault::kNoSetting:
            return FormatString(kStringFileNoSetting, language, {});
    }
    return {};
}

}  // namespace lanterna
