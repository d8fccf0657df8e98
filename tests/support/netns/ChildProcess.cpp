#include "tests/support/netns/ChildProcess.h"

#include <fcntl.h>
#include <poll.h>
#include <sched.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>

extern char** environ;

namespace lanterna::test {

namespace {

using Clock = std::chrono::steady_clock;

// Everything the child needs, made before the fork: after it, the child of a threaded
// process must not allocate.
struct ExecPlan {
    std::string netnsPath;  // empty: stay in the caller's namespace
    std::vector<std::string> argStore;
    std::vector<std::string> envStore;
    std::vector<char*> args;
    std::vector<char*> env;

    ExecPlan(const std::string& netns, const std::vector<std::string>& argv,
             const std::vector<std::string>& environment)
        : argStore(argv) {
        if (!netns.empty()) {
            netnsPath = "/run/netns/" + netns;
        }
        for (char** variable = environ; *variable != nullptr; ++variable) {
            envStore.emplace_back(*variable);
        }
        envStore.insert(envStore.end(), environment.begin(), environment.end());
        for (std::string& arg : argStore) {
            args.push_back(arg.data());
        }
        args.push_back(nullptr);
        for (std::string& variable : envStore) {
            env.push_back(variable.data());
        }
        env.push_back(nullptr);
    }
};

// In the child after fork: enter the namespace, point the streams, exec. Never returns.
[[noreturn]] void ExecIn(const ExecPlan& plan, int outFd, int errFd) {
    if (!plan.netnsPath.empty()) {
        const int fd = open(plan.netnsPath.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0 || setns(fd, CLONE_NEWNET) != 0) {
            _exit(126);
        }
        close(fd);
    }
    const int devNull = open("/dev/null", O_RDONLY);
    dup2(devNull, STDIN_FILENO);
    if (outFd >= 0) {
        dup2(outFd, STDOUT_FILENO);
    }
    if (errFd >= 0) {
        dup2(errFd, STDERR_FILENO);
    }
    execve(plan.args[0], plan.args.data(), plan.env.data());
    _exit(127);
}

bool MakePipe(std::array<int, 2>& ends) {
    return pipe2(ends.data(), O_CLOEXEC) == 0;
}

void CloseIfOpen(int& fd) {
    if (fd >= 0) {
        close(fd);
        fd = -1;
    }
}

// Appends what is there; false at the end of the stream.
bool Drain(int fd, std::string& into) {
    std::array<char, 4096> buffer;
    const ssize_t got = read(fd, buffer.data(), buffer.size());
    if (got > 0) {
        into.append(buffer.data(), static_cast<std::size_t>(got));
        return true;
    }
    return got < 0 && errno == EINTR;
}

// The program's resident high-water mark (VmHWM) in kB, once it runs as `name` (before its
// exec the child is a copy of this process, whose memory is not the program's).
long ResidentHighWaterKb(pid_t pid, const std::string& name) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    long peak = 0;
    bool named = false;
    for (std::string line; std::getline(status, line);) {
        if (line.starts_with("Name:")) {
            const std::size_t start = line.find_first_not_of(" \t", 5);
            named = start != std::string::npos && name.starts_with(line.substr(start));
        } else if (line.starts_with("VmHWM:")) {
            peak = std::atol(line.c_str() + 6);
        }
    }
    return named ? peak : 0;
}

void StopChild(pid_t pid) {
    kill(pid, SIGTERM);
    for (int tries = 0; tries < 50; ++tries) {
        if (waitpid(pid, nullptr, WNOHANG) == pid) {
            return;
        }
        usleep(100000);
    }
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
}

}  // namespace

ProgramRun RunProgram(const std::string& netns, const std::vector<std::string>& argv,
                      std::chrono::milliseconds limit,
                      const std::vector<std::string>& environment) {
    ProgramRun run;
    std::array<int, 2> out{-1, -1};
    std::array<int, 2> err{-1, -1};
    if (!MakePipe(out) || !MakePipe(err)) {
        return run;
    }
    const ExecPlan plan(netns, argv, environment);
    const auto start = Clock::now();
    const pid_t pid = fork();
    if (pid == 0) {
        ExecIn(plan, out[1], err[1]);
    }
    CloseIfOpen(out[1]);
    CloseIfOpen(err[1]);
    if (pid < 0) {
        CloseIfOpen(out[0]);
        CloseIfOpen(err[0]);
        return run;
    }
    const auto deadline = start + limit;
    const std::string name = argv[0].substr(argv[0].rfind('/') + 1).substr(0, 15);
    bool killed = false;
    while (out[0] >= 0 || err[0] >= 0) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0) {
            kill(pid, SIGKILL);
            killed = true;
            break;
        }
        run.peakKb = std::max(run.peakKb, ResidentHighWaterKb(pid, name));
        std::array<pollfd, 2> waits{pollfd{out[0], POLLIN, 0}, pollfd{err[0], POLLIN, 0}};
        constexpr long kMemoryLookMs = 20;
        if (poll(waits.data(), waits.size(),
                 static_cast<int>(std::min<long>(left.count(), kMemoryLookMs))) < 0 &&
            errno != EINTR) {
            break;
        }
        if (waits[0].revents != 0 && !Drain(out[0], run.out)) {
            CloseIfOpen(out[0]);
        }
        if (waits[1].revents != 0 && !Drain(err[0], run.err)) {
            CloseIfOpen(err[0]);
        }
    }
    CloseIfOpen(out[0]);
    CloseIfOpen(err[0]);
    int status = 0;
    rusage usage{};
    while (wait4(pid, &status, 0, &usage) < 0 && errno == EINTR) {
    }
    run.wall = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start);
    run.cpu = std::chrono::seconds(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
              std::chrono::microseconds(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec);
    if (!killed && WIFEXITED(status)) {
        run.exitStatus = WEXITSTATUS(status);
    }
    return run;
}

CBackgroundProgram::~CBackgroundProgram() {
    Stop();
}

bool CBackgroundProgram::Start(const std::string& netns, const std::vector<std::string>& argv) {
    Stop();
    std::array<int, 2> out{-1, -1};
    if (!MakePipe(out)) {
        return false;
    }
    const ExecPlan plan(netns, argv, {});
    pid = fork();
    if (pid == 0) {
        ExecIn(plan, out[1], -1);
    }
    close(out[1]);
    if (pid < 0) {
        close(out[0]);
        return false;
    }
    outFd = out[0];
    return true;
}

int CBackgroundProgram::WaitForLines(std::string_view prefix, int count,
                                     std::chrono::milliseconds limit) {
    const auto deadline = Clock::now() + limit;
    while (CountLines(prefix) < count && outFd >= 0) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0) {
            break;
        }
        pollfd wait{outFd, POLLIN, 0};
        if (poll(&wait, 1, static_cast<int>(left.count())) <= 0) {
            continue;
        }
        if (!Drain(outFd, pending)) {
            CloseIfOpen(outFd);
        }
        for (std::size_t end = pending.find('\n'); end != std::string::npos;
             end = pending.find('\n')) {
            lines.push_back(pending.substr(0, end));
            pending.erase(0, end + 1);
        }
    }
    return CountLines(prefix);
}

int CBackgroundProgram::CountLines(std::string_view prefix) const {
    return static_cast<int>(std::count_if(lines.begin(), lines.end(), [prefix](const auto& line) {
        return std::string_view(line).starts_with(prefix);
    }));
}

std::string CBackgroundProgram::LastLine(std::string_view prefix) const {
    const auto found = std::find_if(lines.rbegin(), lines.rend(), [prefix](const auto& line) {
        return std::string_view(line).starts_with(prefix);
    });
    return found == lines.rend() ? std::string() : *found;
}

std::optional<std::string> CBackgroundProgram::WaitForLine(std::string_view prefix,
                                                         std::chrono::milliseconds limit) {
    const auto deadline = Clock::now() + limit;
    while (true) {
        for (std::size_t end = pending.find('\n'); end != std::string::npos;
             end = pending.find('\n')) {
            lines.push_back(pending.substr(0, end));
            pending.erase(0, end + 1);
            if (lines.back().starts_with(prefix)) {
                return lines.back();
            }
        }
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (outFd < 0 || left.count() <= 0) {
            return std::nullopt;
        }
        pollfd wait{outFd, POLLIN, 0};
        if (poll(&wait, 1, static_cast<int>(left.count())) > 0 && !Drain(outFd, pending)) {
            CloseIfOpen(outFd);
        }
    }
}

void CBackgroundProgram::Stop() {
    if (pid > 0) {
        StopChild(pid);
        pid = -1;
    }
    CloseIfOpen(outFd);
    pending.clear();
    lines.clear();
}

}  // namespace lanterna::test
