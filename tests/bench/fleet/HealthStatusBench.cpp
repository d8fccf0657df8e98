// lanternactl status -j 32 against 200 simulated projectors speaking PJLink in a private network
// of namespaces: after the search (--all) and from a targets file; wall times and lanternactl's
// peak memory. Needs root; says so and ends otherwise. Prints figures, never judges them.

#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <nlohmann/json.hpp>

#include "tests/bench/fleet/SimulatedSite.h"

namespace {

using namespace std::chrono_literals;
using lanterna::test::ProgramRun;
using lanterna::test::RunProgram;

constexpr int kProjectors = 200;

// The rows whose status is "read"; -1 when the output is no array.
int RowsRead(const std::string& out) {
    const nlohmann::json rows = nlohmann::json::parse(out, nullptr, false);
    if (!rows.is_array()) {
        return -1;
    }
    int count = 0;
    for (const nlohmann::json& row : rows) {
        count += row.is_object() && row.value("status", "") == "read" ? 1 : 0;
    }
    return count;
}

void Report(const char* what, const ProgramRun& run, int read) {
    std::printf("%-40s %6.2f s, exit %d, %3d read, peak memory %.1f MB\n", what,
                static_cast<double>(run.wall.count()) / 1000.0, run.exitStatus, read,
                static_cast<double>(run.peakKb) / 1024.0);
}

}  // namespace

int main() {
    const auto site = lanterna::test::StartSimulatedSite("hsb", "10.78", kProjectors, SIM_PROGRAM,
                                                         {"--pjlink", "--pjlink-errors", "000010"});
    if (!site) {
        return 0;
    }
    const std::string targetsFile = "/tmp/lanterna-health-bench-" + std::to_string(getpid());
    std::ofstream(targetsFile) << site->targets;
    const auto run = [&](std::vector<std::string> args) {
        args.insert(args.begin(), LANTERNACTL);
        return RunProgram(site->network.Namespace("client"), args, 120s);
    };
    std::printf("%d simulated projectors speaking PJLink, lanternactl in a client namespace\n",
                kProjectors);
    const ProgramRun discover = run({"discover"});
    Report("discover (the search alone)", discover, 0);
    const ProgramRun all = run({"status", "--all", "-j", "32", "--json"});
    Report("status --all -j 32 (search and PJLink)", all, RowsRead(all.out));
    std::printf("%-40s %6.2f s (target under 1 s)\n", "  of which after the search",
                static_cast<double>((all.wall - discover.wall).count()) / 1000.0);
    const ProgramRun listed = run({"status", "--targets", targetsFile, "-j", "32", "--json"});
    Report("status --targets FILE -j 32", listed, RowsRead(listed.out));
    std::printf("%-40s %6.1f MB (target under 30 MB)\n", "  peak memory",
                static_cast<double>(listed.peakKb) / 1024.0);
    std::remove(targetsFile.c_str());
    return 0;
}
