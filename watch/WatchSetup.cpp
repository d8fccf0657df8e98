#include "watch/WatchSetup.h"

#include "platform/InputFile.h"
#include "platform/ProfileDocument.h"
#include "settings/SettingsFileCheck.h"

namespace lanterna::watch {

namespace {

std::string ReadProblem(FileRead read) {
    switch (read) {
        case FileRead::Missing:
        case FileRead::DanglingLink:
            return "no such file";
        case FileRead::IsFolder:
            return "a folder, not a file";
        case FileRead::TooLarge:
            return "too large";
        case FileRead::TimedOut:
            return "did not end";
        case FileRead::Unreadable:
        case FileRead::Loaded:
            break;
    }
    return "cannot be read";
}

bool AddTargets(const WatchConfig& config, std::vector<fleet::Target>& targets,
                std::string& problem) {
    fleet::CTargetList list(targets);
    for (const std::string& word : config.targetWords) {
        if (list.AddWord(word) != fleet::TargetProblem::kNone) {
            problem = "more than " + std::to_string(fleet::kMaxTargets) + " targets";
            return false;
        }
    }
    if (config.targetsFile.empty()) {
        return true;
    }
    std::string text;
    if (const FileRead read = ReadWholeFile(config.targetsFile, fleet::kTargetsFileMaxBytes, text);
        read != FileRead::Loaded) {
        problem = config.targetsFile + ": " + ReadProblem(read);
        return false;
    }
    fleet::TargetLine bad;
    switch (list.AddLines(text, bad)) {
        case fleet::TargetProblem::kNone:
            return true;
        case fleet::TargetProblem::kNotAddressOrRange:
            problem = config.targetsFile + ":" + std::to_string(bad.number) + ": '" + bad.text +
                      "' is neither an address nor a range";
            return false;
        case fleet::TargetProblem::kTooMany:
            problem = "more than " + std::to_string(fleet::kMaxTargets) + " targets";
            return false;
    }
    return false;
}

// A settings file is small; a template larger than this is no settings file.
constexpr std::size_t kTemplateMaxBytes = 64 * 1024;

std::optional<ProjectorRecord> LoadTemplate(const std::string& path, std::string& problem) {
    std::string text;
    if (const FileRead read = ReadWholeFile(path, kTemplateMaxBytes, text);
        read != FileRead::Loaded) {
        problem = path + ": " + ReadProblem(read);
        return std::nullopt;
    }
    ProjectorRecord record{};
    if (ReadCheckedSettings(ProfileDocument(text), record)) {
        problem = path + ": not a settings file that can be applied";
        return std::nullopt;
    }
    return record;
}

}  // namespace

std::optional<WatchSetup> LoadWatchSetup(const std::string& path, const Environment& environment,
                                         std::string& problem) {
    std::string text;
    if (const FileRead read = ReadWholeFile(path, kConfigMaxBytes, text); read != FileRead::Loaded) {
        problem = path + ": " + ReadProblem(read);
        return std::nullopt;
    }
    ConfigProblem wrong;
    std::optional<WatchConfig> config = ParseWatchConfig(text, wrong);
    if (!config) {
        problem = path + ":" + (wrong.line == 0 ? " " : "") + wrong.Describe();
        return std::nullopt;
    }
    WatchSetup setup;
    setup.config = std::move(*config);
    const std::optional<std::string> credentials =
        environment ? environment("CREDENTIALS_DIRECTORY") : std::nullopt;
    auto passwords = CWatchPasswords::Load(ModulePasswordFiles(setup.config), credentials, problem);
    if (!passwords) {
        problem = path + ": [passwords]: " + problem;
        return std::nullopt;
    }
    setup.passwords = std::make_shared<CWatchPasswords>(std::move(*passwords));
    auto pjlink = CWatchPasswords::Load(PjlinkPasswordFiles(setup.config), credentials, problem);
    if (!pjlink) {
        problem = path + ": [pjlink]: " + problem;
        return std::nullopt;
    }
    setup.pjlinkPasswords = std::make_shared<CWatchPasswords>(std::move(*pjlink));
    if (!setup.config.templateFile.empty() &&
        !(setup.settingsTemplate = LoadTemplate(setup.config.templateFile, problem))) {
        problem = path + ": [backup] template: " + problem;
        return std::nullopt;
    }
    if (!AddTargets(setup.config, setup.targets, problem)) {
        problem = path + ": [targets]: " + problem;
        return std::nullopt;
    }
    return setup;
}

}  // namespace lanterna::watch
