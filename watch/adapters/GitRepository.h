#pragma once
// The backup folder as a git repository, through the `git` program (run with a fixed argument
// list, no shell, bounded in time and output, in an environment of its own so that neither the
// user's git configuration nor a terminal prompt takes part). Commits name the watcher as their
// author, with its host.

#include <chrono>
#include <optional>
#include <string>
#include <vector>

#include "watch/RepositoryBackup.h"

namespace lanterna::watch {

// What a run of git gave.
struct GitRun {
    int status = -1;  // its exit status; -1 when it could not run or was stopped
    std::string out;
    std::string err;
};

// The longest a git command may take.
inline constexpr std::chrono::seconds kGitTimeLimit{120};

class CGitRepository final : public IVersionStore {
  public:
    // The repository at `folder`; commits by "lanterna watch <lanterna-watch@HOST>".
    CGitRepository(std::string folder, std::string host);

    bool Prepare(std::string& problem) override;
    Result Commit(const std::string& message, std::string& problem) override;

    // Runs git in the repository with `args`; `extraEnvironment` ("NAME=value") added.
    GitRun Git(const std::vector<std::string>& args,
               const std::vector<std::string>& extraEnvironment = {}) const;

    // Writes every file of revision `revision` into `folder` (which exists); false with why in
    // `problem`. A revision that looks like an option is refused.
    bool Extract(const std::string& revision, const std::string& folder,
                 std::string& problem) const;

    const std::string& Folder() const { return folder_; }

  private:
    std::string folder_;
    std::string host_;
};

// Whether `path` is the top of a git repository (it has a .git).
bool IsGitRepository(const std::string& path);

}  // namespace lanterna::watch
