// lanternactl backup and restore of 200 simulated projectors in a private network of
// namespaces: the search alone, a backup of all (with its time after the search, and from a
// targets file without one), then twenty changed and the backup restored (only those twenty are
// sent), after the search and from a targets file. Needs root (network namespaces); says so and
// ends otherwise. Prints figures, never judges them.

#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>
#include <vector>

#include "tests/bench/fleet/SimulatedSite.h"

namespace {

using namespace std::chrono_literals;
using lanterna::test::CTestNetwork;
using lanterna::test::ProgramRun;
using lanterna::test::RunProgram;

constexpr int kProjectors = 200;
constexpr int kChanged = 20;

double SecondsOf(std::chrono::milliseconds wall) {
    return static_cast<double>(wall.count()) / 1000.0;
}

// The summary line of a fleet command ("200 targets: ..."), or its first error line.
std::string Summary(const ProgramRun& run) {
    for (const std::string* text : {&run.out, &run.err}) {
        const std::size_t at = text->find(" targets: ");
        if (at != std::string::npos) {
            const std::size_t start = text->rfind('\n', at);
            const std::size_t begin = start == std::string::npos ? 0 : start + 1;
            return text->substr(begin, text->find('\n', at) - begin);
        }
    }
    return run.err.substr(0, run.err.find('\n'));
}

// A run's time, and with `search` its time after the search (which it began with).
void Report(const char* what, const ProgramRun& run, const ProgramRun* search = nullptr) {
    std::printf("%-40s %6.2f s", what, SecondsOf(run.wall));
    if (search != nullptr) {
        std::printf(" (%.2f s after the search, target under 2 s)",
                    SecondsOf(run.wall - search->wall));
    }
    std::printf(", exit %d, peak memory %.1f MB\n", run.exitStatus,
                static_cast<double>(run.peakKb) / 1024.0);
    if (const std::string summary = Summary(run); !summary.empty()) {
        std::printf("    %s\n", summary.c_str());
    }
}

std::string Address(int i) {
    return lanterna::test::SiteAddress("10.80", i);
}

}  // namespace

int main() {
    const auto site = lanterna::test::StartSimulatedSite("sbb", "10.80", kProjectors, SIM_PROGRAM);
    if (!site) {
        return 0;
    }
    const CTestNetwork& network = site->network;
    // The backups, the targets file and the history the writes keep, all in one folder.
    const std::filesystem::path folder = std::filesystem::temp_directory_path() /
                                         ("lanterna-site-bench-" + std::to_string(getpid()));
    std::filesystem::create_directories(folder / "backups");
    const std::string targetsFile = (folder / "targets").string();
    std::ofstream(targetsFile) << site->targets;
    const std::vector<std::string> environment{"XDG_STATE_HOME=" + (folder / "state").string(),
                                               "LANTERNA_LANG=en"};
    const auto run = [&](std::vector<std::string> args) {
        args.insert(args.begin(), LANTERNACTL);
        return RunProgram(network.Namespace("client"), args, 120s, environment);
    };

    std::printf("%d simulated projectors, lanternactl in a client namespace, -j 32\n", kProjectors);
    const ProgramRun search = run({"discover"});
    Report("discover (the search alone)", search);
    const ProgramRun backup = run({"backup", (folder / "backups").string(), "--all", "-j", "32"});
    Report("backup --all", backup, &search);
    const ProgramRun listedBackup =
        run({"backup", (folder / "backups").string(), "--targets", targetsFile, "-j", "32"});
    Report("backup --targets FILE (no search)", listedBackup);

    // The first run's folder (named by its time, so first in order).
    std::string backupRun;
    for (const auto& entry : std::filesystem::directory_iterator(folder / "backups")) {
        if (backupRun.empty() || entry.path().string() < backupRun) {
            backupRun = entry.path().string();
        }
    }
    const ProgramRun change =
        run({"set", Address(1) + "-" + std::to_string(kChanged), "community=legacy1", "-j", "32"});
    Report("set of 20 (something to restore)", change);
    const ProgramRun restore = run({"restore", backupRun, "--all", "-j", "32"});
    Report("restore --all (20 changed)", restore, &search);

    run({"set", Address(1) + "-" + std::to_string(kChanged), "community=legacy2", "-j", "32"});
    const ProgramRun listed = run({"restore", backupRun, "--targets", targetsFile, "-j", "32"});
    Report("restore --targets FILE (20 changed, no search)", listed);

    std::error_code error;
    std::filesystem::remove_all(folder, error);
    return 0;
}
