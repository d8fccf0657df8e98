#include "watch/adapters/GitRepository.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdlib>

#include "platform/FileDescriptor.h"
#include "platform/KeptFiles.h"

extern char** environ;

namespace lanterna::watch {

namespace {

// Output kept of one git command; the rest is read and dropped.
constexpr std::size_t kGitOutputLimit = 4 * 1024 * 1024;

std::string FindGit() {
    const char* path = std::getenv("PATH");
    std::string folders = path != nullptr ? path : "/usr/bin:/bin";
    for (std::size_t at = 0; at <= folders.size();) {
        const std::size_t end = std::min(folders.find(':', at), folders.size());
        const std::string candidate = folders.substr(at, end - at) + "/git";
        if (access(candidate.c_str(), X_OK) == 0) {
            return candidate;
        }
        at = end + 1;
    }
    return "/usr/bin/git";
}

// The child's environment: the parent's, less git's own variables, with what the watcher sets.
std::vector<std::string> ChildEnvironment(const std::vector<std::string>& extra) {
    std::vector<std::string> environment;
    for (char** entry = environ; *entry != nullptr; ++entry) {
        const std::string_view variable(*entry);
        if (!variable.starts_with("GIT_")) {
            environment.emplace_back(variable);
        }
    }
    for (const char* fixed : {"GIT_CONFIG_NOSYSTEM=1", "GIT_CONFIG_GLOBAL=/dev/null",
                              "GIT_TERMINAL_PROMPT=0", "LC_ALL=C"}) {
        environment.emplace_back(fixed);
    }
    environment.insert(environment.end(), extra.begin(), extra.end());
    return environment;
}

std::vector<char*> Pointers(std::vector<std::string>& texts) {
    std::vector<char*> pointers;
    for (std::string& text : texts) {
        pointers.push_back(text.data());
    }
    pointers.push_back(nullptr);
    return pointers;
}

// Reads both pipes until they end or the time is up; false when it was up.
bool Collect(int outFd, int errFd, GitRun& run) {
    const auto deadline = std::chrono::steady_clock::now() + kGitTimeLimit;
    std::array<pollfd, 2> fds{{{outFd, POLLIN, 0}, {errFd, POLLIN, 0}}};
    std::array<std::string*, 2> into{&run.out, &run.err};
    int open = 2;
    while (open > 0) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            return false;
        }
        if (poll(fds.data(), fds.size(), static_cast<int>(left.count())) < 0 && errno != EINTR) {
            return false;
        }
        for (std::size_t i = 0; i < fds.size(); ++i) {
            if (fds[i].fd < 0 || fds[i].revents == 0) {
                continue;
            }
            std::array<char, 8192> buffer;
            const ssize_t n = read(fds[i].fd, buffer.data(), buffer.size());
            if (n > 0 && into[i]->size() < kGitOutputLimit) {
                into[i]->append(buffer.data(), static_cast<std::size_t>(n));
            } else if (n == 0 || (n < 0 && errno != EINTR && errno != EAGAIN)) {
                fds[i].fd = -1;
                --open;
            }
        }
    }
    return true;
}

}  // namespace

bool IsGitRepository(const std::string& path) {
    struct stat info {};
    return stat((path + "/.git").c_str(), &info) == 0;
}

CGitRepository::CGitRepository(std::string folder, std::string host)
    : folder_(std::move(folder)), host_(std::move(host)) {}

GitRun CGitRepository::Git(const std::vector<std::string>& args,
                           const std::vector<std::string>& extraEnvironment) const {
    GitRun run;
    std::vector<std::string> argv = {FindGit(), "-C", folder_};
    argv.insert(argv.end(), args.begin(), args.end());
    std::vector<std::string> environment = ChildEnvironment(extraEnvironment);
    std::vector<char*> argp = Pointers(argv);
    std::vector<char*> envp = Pointers(environment);
    // What git writes takes the kept mode of the folder, as the files it holds: the owner's
    // alone, or the group's too in a team's folder; never others'.
    const mode_t mask = IsTeamFolder(folder_) ? 007 : 077;
    int out[2];
    int err[2];
    if (pipe2(out, O_CLOEXEC) != 0) {
        return run;
    }
    const FileDescriptor outRead(out[0]);
    FileDescriptor outWrite(out[1]);
    if (pipe2(err, O_CLOEXEC) != 0) {
        return run;
    }
    const FileDescriptor errRead(err[0]);
    FileDescriptor errWrite(err[1]);
    const pid_t child = fork();
    if (child < 0) {
        return run;
    }
    if (child == 0) {
        // Only async-signal-safe calls from here: the watcher has other threads.
        const int null = open("/dev/null", O_RDONLY);
        dup2(null, 0);
        dup2(out[1], 1);
        dup2(err[1], 2);
        umask(mask);
        execve(argp[0], argp.data(), envp.data());
        _exit(127);
    }
    outWrite.Close();
    errWrite.Close();
    const bool inTime = Collect(outRead.Get(), errRead.Get(), run);
    if (!inTime) {
        kill(child, SIGKILL);
    }
    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    run.status = inTime && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

bool CGitRepository::Prepare(std::string& problem) {
    if (!MakeKeptFolder(folder_)) {
        problem = folder_ + ": cannot be made";
        return false;
    }
    if (IsGitRepository(folder_)) {
        return true;
    }
    // In a team's folder git keeps its own files group-writable too (and the folder's group
    // passes to what it makes there).
    std::vector<std::string> init = {"init", "-q", "-b", "main"};
    if (IsTeamFolder(folder_)) {
        init.emplace_back("--shared=0660");
    }
    const GitRun run = Git(init);
    if (run.status != 0) {
        problem = folder_ + ": git init failed: " + run.err.substr(0, run.err.find('\n'));
        return false;
    }
    return true;
}

IVersionStore::Result CGitRepository::Commit(const std::string& message, std::string& problem) {
    const GitRun add = Git({"add", "-A", "."});
    if (add.status != 0) {
        problem = "git add failed: " + add.err.substr(0, add.err.find('\n'));
        return Result::kFailed;
    }
    const GitRun staged = Git({"diff", "--cached", "--quiet"});
    if (staged.status == 0) {
        return Result::kUnchanged;
    }
    const std::string who = "lanterna watch";
    const std::string mail = "lanterna-watch@" + host_;
    const GitRun commit = Git({"commit", "-q", "--no-verify", "--no-gpg-sign", "-m", message},
                              {"GIT_AUTHOR_NAME=" + who, "GIT_AUTHOR_EMAIL=" + mail,
                               "GIT_COMMITTER_NAME=" + who, "GIT_COMMITTER_EMAIL=" + mail});
    if (commit.status != 0) {
        problem = "git commit failed: " + commit.err.substr(0, commit.err.find('\n'));
        return Result::kFailed;
    }
    return Result::kCommitted;
}

bool CGitRepository::Extract(const std::string& revision, const std::string& folder,
                             std::string& problem) const {
    if (revision.empty() || revision.front() == '-') {
        problem = "'" + revision + "' is no revision";
        return false;
    }
    const GitRun resolve = Git({"rev-parse", "--verify", "--quiet", revision + "^{commit}"});
    if (resolve.status != 0) {
        problem = "no revision '" + revision + "' in " + folder_;
        return false;
    }
    const std::string commit = resolve.out.substr(0, resolve.out.find('\n'));
    const std::string index = folder + "/.git-index";
    const GitRun checkout = Git({"--work-tree=" + folder, "checkout", commit, "--", "."},
                                {"GIT_INDEX_FILE=" + index});
    unlink(index.c_str());
    if (checkout.status != 0) {
        problem = "git checkout failed: " + checkout.err.substr(0, checkout.err.find('\n'));
        return false;
    }
    return true;
}

}  // namespace lanterna::watch
