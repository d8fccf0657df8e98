// lanternactl read --all -j 32 against 200 simulated projectors in a private network of
// namespaces: the search alone, then the search and the reading of all, and the reading alone
// from a targets file; wall times and lanternactl's peak memory. The reads are counted from the
// outcomes of --json, which are the same in every language. Needs root (network namespaces);
// says so and ends otherwise. Prints figures, never judges them.

#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <memory>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "tests/bench/fleet/SimulatedSite.h"

namespace {

using namespace std::chrono_literals;
using lanterna::test::CTestNetwork;
using lanterna::test::ProgramRun;
using lanterna::test::RunProgram;

constexpr int kProjectors = 200;

double SecondsOf(std::chrono::milliseconds wall) {
    return static_cast<double>(wall.count()) / 1000.0;
}

// The targets read, from the outcomes of `read --json` (the same in every language); -1 when
// the output is no such array.
int TargetsRead(const std::string& out) {
    const nlohmann::json reports = nlohmann::json::parse(out, nullptr, false);
    if (!reports.is_array()) {
        return -1;
    }
    int count = 0;
    for (const nlohmann::json& report : reports) {
        count += report.is_object() && report.value("outcome", "") == "read" ? 1 : 0;
    }
    return count;
}

void Report(const char* what, const ProgramRun& run) {
    std::printf("%-44s %6.2f s, exit %d, peak memory %.1f MB\n", what, SecondsOf(run.wall),
                run.exitStatus, static_cast<double>(run.peakKb) / 1024.0);
}

void ReportRead(const char* what, const ProgramRun& run) {
    std::printf("%-44s %6.2f s, exit %d, %3d read, peak memory %.1f MB\n", what,
                SecondsOf(run.wall), run.exitStatus, TargetsRead(run.out),
                static_cast<double>(run.peakKb) / 1024.0);
}

}  // namespace

int main() {
    const auto site = lanterna::test::StartSimulatedSite("fbn", "10.79", kProjectors, SIM_PROGRAM);
    if (!site) {
        return 0;
    }
    const CTestNetwork& network = site->network;
    const std::string targetsFile = "/tmp/lanterna-fleet-bench-" + std::to_string(getpid());
    std::ofstream(targetsFile) << site->targets;
    const auto run = [&](std::vector<std::string> args) {
        args.insert(args.begin(), LANTERNACTL);
        return RunProgram(network.Namespace("client"), args, 120s);
    };

    std::printf("%d simulated projectors, lanternactl in a client namespace\n", kProjectors);
    const ProgramRun discover = run({"discover"});
    Report("discover (the search alone)", discover);
    const ProgramRun all = run({"read", "--all", "-j", "32", "--json"});
    ReportRead("read --all -j 32 (search and reading)", all);
    std::printf("%-44s %6.2f s (target under 3 s)\n", "  of which after the search",
                SecondsOf(all.wall - discover.wall));
    std::printf("%-44s %6.1f MB (target under 30 MB)\n", "  peak memory",
                static_cast<double>(all.peakKb) / 1024.0);
    const ProgramRun listed = run({"read", "--targets", targetsFile, "-j", "32", "--json"});
    ReportRead("read --targets FILE -j 32 (hello, reading)", listed);
    const ProgramRun typed =
        run({"read", "--targets", targetsFile, "-j", "32", "--type", "21", "--json"});
    ReportRead("read --targets FILE -j 32 --type 21", typed);
    const ProgramRun serial =
        run({"read", "--targets", targetsFile, "-j", "1", "--type", "21", "--json"});
    ReportRead("read --targets FILE -j 1 --type 21", serial);
    std::remove(targetsFile.c_str());
    return 0;
}
