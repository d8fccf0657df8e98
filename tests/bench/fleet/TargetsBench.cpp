// Expanding a targets file before the first packet: a file of 45,000 copies of one 4,096-address
// range, and one of 4,096 single addresses, each line different; processor time and wall time.
// Prints figures, never judges them.

#include <cstdio>
#include <ctime>
#include <string>
#include <vector>

#include "fleet/Targets.h"

namespace {

double ProcessorSeconds() {
    return static_cast<double>(std::clock()) / CLOCKS_PER_SEC;
}

void Measure(const char* what, const std::string& file) {
    const double started = ProcessorSeconds();
    std::vector<lanterna::fleet::Target> targets;
    lanterna::fleet::CTargetList list(targets);
    lanterna::fleet::TargetLine bad;
    const auto problem = list.AddLines(file, bad);
    const double spent = ProcessorSeconds() - started;
    std::printf("%-52s %8.3f s of processor, %zu targets%s\n", what, spent, targets.size(),
                problem == lanterna::fleet::TargetProblem::kNone ? "" : " (refused)");
}

}  // namespace

int main() {
    std::string copies;
    for (int copy = 0; copy < 45000; ++copy) {
        copies += "10.20.0.0-10.20.15.255\n";
    }
    std::printf("targets file of %zu bytes\n", copies.size());
    Measure("45,000 copies of one 4,096-address range (target < 1 s)", copies);

    std::string singles;
    for (int n = 0; n < 4096; ++n) {
        singles += "10.30." + std::to_string(n / 256) + "." + std::to_string(n % 256) + "\n";
    }
    Measure("4,096 single addresses", singles);
    return 0;
}
