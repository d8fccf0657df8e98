#include "tools/lanternactl/FileCommandSupport.h"

#include "fleet/RecordFields.h"
#include "platform/AsciiCase.h"
#include "platform/ProfileFile.h"
#include "platform/UserLanguage.h"
#include "resources/StringIds.h"
#include "settings/SettingsFile.h"
#include "tools/lanternactl/TextSafety.h"
#include "tools/lanternactl/WorkerRunner.h"

namespace lanterna::cli {

std::string InputProblem(FileRead result, std::size_t limit) {
    switch (result) {
        case FileRead::Loaded:
            return "read";
        case FileRead::Missing:
            return "no such file";
        case FileRead::DanglingLink:
            return "is a symbolic link whose target does not exist";
        case FileRead::IsFolder:
            return "is a folder, not a file";
        case FileRead::TooLarge:
            return "is larger than " + ByteLimitText(limit) + " (the limit for this input)";
        case FileRead::TimedOut:
            return "did not come to its end within " + std::to_string(kStreamReadWaitMs / 1000) +
                   " seconds";
        case FileRead::Unreadable:
            break;
    }
    return "cannot be read";
}

bool ReadInputFile(CliContext& context, std::string_view command, const std::string& path,
                   std::size_t limit, std::string& content, bool standardInput) {
    const FileRead result = standardInput && path == "-"
                                ? ReadWholeStream(context.in, limit, content)
                                : ReadWholeFile(path, limit, content);
    if (result == FileRead::Loaded) {
        return true;
    }
    const std::string source = path == "-" ? "standard input" : path;
    PrintCommandError(context, command, source + ": " + InputProblem(result, limit));
    return false;
}

bool LoadInputFile(CliContext& context, std::string_view command, const std::string& path,
                   ProfileDocument& document) {
    std::string content;
    if (!ReadInputFile(context, command, path, kMaxProfileFileBytes, content)) {
        return false;
    }
    document = ProfileDocument(std::move(content));
    return true;
}

std::string OutputProblem(OutputStatus status) {
    switch (status) {
        case OutputStatus::kOk:
            return "written";
        case OutputStatus::kFolderMissing:
            return "its folder does not exist";
        case OutputStatus::kDanglingLink:
            return "is a symbolic link whose target does not exist";
        case OutputStatus::kIsFolder:
            return "is a folder, not a file";
        case OutputStatus::kNotRegularFile:
            return "is not a regular file (a FIFO, device or socket); nothing was written";
        case OutputStatus::kTooLittleSpace:
            return "too little free space (less than " +
                   std::to_string(kSettingsSaveMinimumFreeBytes) + " bytes)";
        case OutputStatus::kExistingTooLarge:
            return "the existing file is larger than " + ByteLimitText(kMaxProfileFileBytes) +
                   "; it was left as it was";
        case OutputStatus::kExistingUnreadable:
            return "the existing file cannot be read; it was left as it was";
        case OutputStatus::kUnsafeLink:
            return "a symbolic link on the way belongs to another user and lies in a folder "
                   "everyone may write to; it is not followed and nothing was written";
        case OutputStatus::kNotWritable:
            break;
    }
    return "could not be written (no permission, or the disk is full); an existing file was "
           "left as it was";
}

int ReportOutputFailure(CliContext& context, std::string_view command, const std::string& path,
                        OutputStatus status) {
    std::string problem = OutputProblem(status);
    if (status == OutputStatus::kUnsafeLink) {
        problem = TerminalText(UnsafeLinkOn(path)) + " is a symbolic link of another user in a "
                  "folder everyone may write to; it is not followed and nothing was written";
    }
    PrintCommandError(context, command, TerminalText(path) + ": " + problem);
    return kExitFailed;
}

std::string DumpJson(const nlohmann::ordered_json& json) {
    return JsonWithoutRawBidi(
        json.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace));
}

int LoadSettingsForWrite(CliContext& context, std::string_view command, const std::string& path,
                         bool asTemplate, ProjectorRecord& file) {
    if (!HasExtension(path, ".ini")) {
        PrintCommandError(context, command, path + ": " + MessageText(kStringNotSettingsFile));
        return kExitUsage;
    }
    ProfileDocument document;
    if (!LoadInputFile(context, command, path, document)) {
        return kExitFailed;
    }
    if (const SettingsFileProblem problem = ReadCheckedSettings(document, file)) {
        PrintCommandError(context, command,
                          TerminalText(path) + ": " + MessageText(kStringSettingsFileUnreadable) +
                              " " + TerminalText(SettingsFileProblemText(problem, UserLanguage())));
        return kExitFailed;
    }
    if (const auto note = fleet::OlderTemplateNote(file, path, UserLanguage()); asTemplate && note) {
        context.err << TerminalText(*note) << "\n";
    }
    return kExitOk;
}

}  // namespace lanterna::cli
