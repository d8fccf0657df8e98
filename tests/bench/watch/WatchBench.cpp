// The watcher over many simulated projectors in a private network of namespaces, its rounds
// back to back (accelerated): processor time per presence round, peak memory and its growth
// over the run, and a backup round of 200 (reading, then writing and committing). Needs root
// (network namespaces); says so and ends otherwise. Prints figures, never judges them.
//   bench_watch [PROJECTORS [SECONDS]]   (default 1000 projectors, 600 s)

#include <fcntl.h>
#include <sched.h>
#include <sys/resource.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "tests/bench/fleet/SimulatedSite.h"
#include "watch/PjlinkProbe.h"
#include "watch/Watcher.h"
#include "watch/adapters/GitRepository.h"

namespace {

using Steady = std::chrono::steady_clock;
using namespace lanterna;

// A field of /proc/self/status in kB ("VmRSS", "VmHWM").
long StatusKb(const std::string& field) {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.starts_with(field + ":")) {
            return std::stol(line.substr(field.size() + 1));
        }
    }
    return 0;
}

double ProcessorSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

class CQuietLog final : public watch::IWatchLog {
  public:
    void Line(watch::Priority priority, std::string_view) override { lines += priority < watch::Priority::kInfo ? 1 : 0; }
    std::size_t lines = 0;
};

// The `i`-th projector (from 1) as the simulator counts them: one after the other from
// 10.81.1.1, through every address of the /16.
std::string Address(int i) {
    const int value = 256 + i;
    return "10.81." + std::to_string(value / 256) + "." + std::to_string(value % 256);
}

// The projectors listening in a namespace of their own beside the client's; null, saying why,
// where this machine cannot make one.
std::unique_ptr<test::SimulatedSite> StartSite(int count) {
    if (const std::string unavailable = test::CTestNetwork::Unavailable(); !unavailable.empty()) {
        std::printf("skipped: %s\n", unavailable.c_str());
        return nullptr;
    }
    test::CTestNetwork::RemoveStale();
    auto site = std::make_unique<test::SimulatedSite>("wbb");
    std::vector<std::string> addresses;
    for (int i = 1; i <= count; ++i) {
        addresses.push_back(Address(i) + "/16");
    }
    if (!site->network.Create() || !site->network.AddHost("client", {"10.81.0.1/16"}) ||
        !site->network.AddHost("proj", addresses)) {
        std::printf("no test network: %s\n", site->network.Error().c_str());
        return nullptr;
    }
    using namespace std::chrono_literals;
    if (!site->projectors.Start(site->network.Namespace("proj"),
                                {SIM_PROGRAM, "--lifetime", "3600", "--no-secondary", "--pjlink",
                                 "--pjlink-no-search", "--address",
                                 Address(1), "--count", std::to_string(count)}) ||
        site->projectors.WaitForLines("listening on", count, 60s) != count) {
        std::printf("the simulated projectors did not start\n");
        return nullptr;
    }
    return site;
}

bool EnterNamespace(const std::string& name) {
    const int fd = open(("/var/run/netns/" + name).c_str(), O_RDONLY | O_CLOEXEC);
    const bool entered = fd >= 0 && setns(fd, CLONE_NEWNET) == 0;
    if (fd >= 0) {
        close(fd);
    }
    return entered;
}

watch::WatchSetup SetupOf(int count, const std::string& repository) {
    watch::WatchSetup setup;
    setup.config.jobs = 32;
    setup.config.repository = repository;
    setup.config.metrics = false;
    setup.passwords = std::make_shared<watch::CWatchPasswords>();
    for (int i = 1; i <= count; ++i) {
        setup.targets.push_back({Address(i), std::nullopt, ""});
    }
    return setup;
}

void BackupOf200(const std::string& folder) {
    const std::string repository = folder + "/site";
    watch::CGitRepository git(repository, "bench");
    std::string problem;
    if (!git.Prepare(problem)) {
        std::printf("no repository: %s\n", problem.c_str());
        return;
    }
    watch::WatchSetup setup = SetupOf(200, repository);
    std::vector<fleet::SiteReading> readings(setup.targets.size());
    for (std::size_t i = 0; i < readings.size(); ++i) {
        readings[i].target = setup.targets[i];
    }
    fleet::RunControl control;
    control.bounds.jobs = 32;
    const auto began = Steady::now();
    fleet::ReadSiteInto({}, *setup.passwords, readings, true, control);
    const auto read = Steady::now();
    const watch::BackupRoundResult written = watch::WriteRepositoryBackup(repository, readings);
    const auto wrote = Steady::now();
    const auto result = git.Commit(written.message, problem);
    const auto end = Steady::now();
    std::printf("backup round of 200: reading %.2f s, writing and committing %.3f s (target under "
                "2 s; files %.3f s, git %.3f s), %zu changed, %s\n",
                std::chrono::duration<double>(read - began).count(),
                std::chrono::duration<double>(end - read).count(),
                std::chrono::duration<double>(wrote - read).count(),
                std::chrono::duration<double>(end - wrote).count(), written.ChangedCount(),
                result == watch::IVersionStore::Result::kCommitted ? "committed" : "no commit");
    const auto againBegan = Steady::now();
    const watch::BackupRoundResult again = watch::WriteRepositoryBackup(repository, readings);
    const auto unchanged = git.Commit(again.message, problem);
    std::printf("the same 200 again: writing and committing %.3f s, %s\n",
                std::chrono::duration<double>(Steady::now() - againBegan).count(),
                unchanged == watch::IVersionStore::Result::kUnchanged ? "no commit" : "a commit");
}

}  // namespace

int main(int argc, char** argv) {
    const int count = argc > 1 ? std::atoi(argv[1]) : 1000;
    const int seconds = argc > 2 ? std::atoi(argv[2]) : 600;
    const auto site = StartSite(count);
    if (!site) {
        return 0;
    }
    if (!EnterNamespace(site->network.Namespace("client"))) {
        std::printf("cannot enter the client namespace\n");
        return 0;
    }
    const std::filesystem::path folder = std::filesystem::temp_directory_path() /
                                         ("lanterna-watch-bench-" + std::to_string(getpid()));
    std::filesystem::create_directories(folder);
    BackupOf200(folder.string());

    CQuietLog log;
    watch::WatchServices services;
    services.log = &log;
    const std::atomic<bool> stop{false};
    watch::CPjlinkProbe probe({}, nullptr, &stop);
    services.health = &probe;
    watch::CWatcher watcher(SetupOf(count, ""), services, stop);
    watcher.PresenceRound(watch::Clock::now());
    const double healthCpu = ProcessorSeconds();
    watcher.HealthRound();
    std::size_t lamps = 0;
    for (const auto& projector : watcher.State().projectors) {
        lamps += projector.health.lampHours ? 1 : 0;
    }
    std::printf("health round of %d over PJLink: %.2f s, processor %.3f s, %zu lamps read\n", count,
                watcher.State().rounds[1].lastSeconds, ProcessorSeconds() - healthCpu, lamps);
    std::printf("%d simulated projectors, presence rounds back to back for %d s\n", count, seconds);
    const auto began = Steady::now();
    double cpuWorst = 0;
    double cpuTotal = 0;
    long rounds = 0;
    long rssAfterFirst = 0;
    Steady::time_point firstEnd;
    while (Steady::now() - began < std::chrono::seconds(seconds)) {
        if (rounds % 10 == 9) {
            watcher.HealthRound();
        }
        const double before = ProcessorSeconds();
        watcher.PresenceRound(watch::Clock::now());
        const double used = ProcessorSeconds() - before;
        cpuWorst = std::max(cpuWorst, used);
        cpuTotal += used;
        if (++rounds == 1) {
            rssAfterFirst = StatusKb("VmRSS");
            firstEnd = Steady::now();
        }
    }
    const double hours = std::chrono::duration<double>(Steady::now() - firstEnd).count() / 3600.0;
    const long rssEnd = StatusKb("VmRSS");
    std::size_t up = 0;
    for (const auto& projector : watcher.State().projectors) {
        up += projector.answered ? 1 : 0;
    }
    std::printf("%ld presence rounds, %zu of %d answering in the last\n", rounds, up, count);
    std::printf("processor per presence round: mean %.3f s, worst %.3f s (target under 0.5 s)\n",
                cpuTotal / static_cast<double>(rounds), cpuWorst);
    std::printf("memory: peak %.1f MB, after the first round %.1f MB, at the end %.1f MB, "
                "growth %.1f MB per hour (target none)\n",
                static_cast<double>(StatusKb("VmHWM")) / 1024.0,
                static_cast<double>(rssAfterFirst) / 1024.0, static_cast<double>(rssEnd) / 1024.0,
                hours > 0 ? static_cast<double>(rssEnd - rssAfterFirst) / 1024.0 / hours : 0.0);
    std::error_code error;
    std::filesystem::remove_all(folder, error);
    return 0;
}
