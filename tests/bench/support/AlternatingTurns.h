#pragma once
// Two measurements compared on a machine others share: taken turn about, the order within each
// turn drawn at random, so that a change of load falls on both alike; each is summed up by its
// median over the turns.

#include <algorithm>
#include <random>
#include <vector>

namespace lanterna::bench {

inline double Median(std::vector<double> values) {
    if (values.empty()) {
        return 0.0;
    }
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

struct TurnMedians {
    double first = 0.0;
    double second = 0.0;
    bool ok = false;  // every measurement succeeded
};

// `first` and `second` each take one measurement and return it (a negative figure: failed,
// which ends the turns).
template <typename First, typename Second>
TurnMedians MediansOverTurns(int turns, First first, Second second) {
    std::mt19937 order(std::random_device{}());
    std::vector<double> firsts;
    std::vector<double> seconds;
    for (int turn = 0; turn < turns; ++turn) {
        const bool firstLeads = (order() & 1U) != 0;
        const double a = firstLeads ? first() : second();
        const double b = firstLeads ? second() : first();
        if (a < 0 || b < 0) {
            return {};
        }
        firsts.push_back(firstLeads ? a : b);
        seconds.push_back(firstLeads ? b : a);
    }
    return {Median(firsts), Median(seconds), true};
}

}  // namespace lanterna::bench
