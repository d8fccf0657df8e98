#include "tools/lanternactl/RevisionSources.h"

#include <cstdlib>
#include <filesystem>

#include "tools/lanternactl/FileCommandSupport.h"
#include "tools/lanternactl/TextSafety.h"
#include "watch/adapters/GitRepository.h"

namespace lanterna::cli {

namespace {

// A private temporary folder, removed with what it holds when the object goes.
class CScratchFolder {
  public:
    CScratchFolder() {
        const char* base = std::getenv("TMPDIR");
        std::string pattern = std::string(base != nullptr && *base != '\0' ? base : "/tmp") +
                              "/lanterna-revision-XXXXXX";
        if (mkdtemp(pattern.data()) != nullptr) {
            path = pattern;
        }
    }
    ~CScratchFolder() {
        if (!path.empty()) {
            std::error_code ignored;
            std::filesystem::remove_all(path, ignored);
        }
    }
    CScratchFolder(const CScratchFolder&) = delete;
    CScratchFolder& operator=(const CScratchFolder&) = delete;
    std::string path;
};

std::string ProblemOf(const fleet::SourceLoad& load) {
    switch (load.problem) {
        case fleet::SourceProblem::kUnreadable:
            return InputProblem(load.read, 0);
        case fleet::SourceProblem::kNotSettings:
            return "holds no settings";
        case fleet::SourceProblem::kIndexUnusable:
            return "is not the index of a backup";
        case fleet::SourceProblem::kNone:
            break;
    }
    return {};
}

}  // namespace

RevisionLoad LoadRevisionSources(CliContext& context, std::string_view command,
                                 const std::string& word,
                                 std::vector<fleet::SettingsSource>& sources) {
    const auto at = word.rfind('@');
    if (at == std::string::npos || at == 0 || !watch::IsGitRepository(word.substr(0, at))) {
        return RevisionLoad::kNotRevision;
    }
    const watch::CGitRepository repository(word.substr(0, at), "");
    const CScratchFolder scratch;
    std::string problem;
    if (scratch.path.empty()) {
        PrintCommandError(context, command, "no temporary folder for " + TerminalText(word));
        return RevisionLoad::kFailed;
    }
    if (!repository.Extract(word.substr(at + 1), scratch.path, problem)) {
        PrintCommandError(context, command, TerminalText(word) + ": " + TerminalText(problem));
        return RevisionLoad::kFailed;
    }
    fleet::SourceLoad load = fleet::LoadSettingsSources(scratch.path);
    if (load.problem != fleet::SourceProblem::kNone) {
        PrintCommandError(context, command, TerminalText(word) + ": " + ProblemOf(load));
        return RevisionLoad::kFailed;
    }
    for (fleet::SettingsSource& source : load.sources) {
        source.where = word + source.where.substr(scratch.path.size());
        sources.push_back(std::move(source));
    }
    return RevisionLoad::kLoaded;
}

}  // namespace lanterna::cli
