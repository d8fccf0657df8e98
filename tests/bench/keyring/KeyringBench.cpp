// The desktop keyring's costs: opening the store without a session bus (what the window pays at
// start on a machine without a desktop session), and with the keyring of the session it runs in:
// opening, then keeping, finding and forgetting 100 entries. Prints figures, never judges them.

#include <chrono>
#include <cstdio>
#include <string>

#include "keyring/SecretServiceStore.h"

namespace {

using Clock = std::chrono::steady_clock;

double MillisecondsSince(Clock::time_point started) {
    return std::chrono::duration<double, std::milli>(Clock::now() - started).count();
}

constexpr int kEntries = 100;

std::string BenchAddress(int n) {
    return "10.77." + std::to_string(n / 250) + "." + std::to_string(n % 250 + 1);
}

template <typename Step>
void MeasureEach(const char* what, Step step) {
    int done = 0;
    const Clock::time_point started = Clock::now();
    for (int n = 0; n < kEntries; ++n) {
        done += step(n) ? 1 : 0;
    }
    const double spent = MillisecondsSince(started);
    std::printf("%-44s %8.2f ms each (%d of %d done)\n", what, spent / kEntries, done, kEntries);
}

}  // namespace

int main() {
    const auto noBus = [](std::string_view) { return std::optional<std::string>(); };
    Clock::time_point started = Clock::now();
    const bool none = lanterna::keyring::OpenSecretServiceStore(noBus) == nullptr;
    std::printf("%-44s %8.3f ms (%s)\n", "open without a session bus",
                MillisecondsSince(started), none ? "no keyring" : "a keyring?");

    started = Clock::now();
    const auto store = lanterna::keyring::OpenSecretServiceStore();
    std::printf("%-44s %8.2f ms (%s)\n", "open with this session's keyring",
                MillisecondsSince(started), store ? "opened" : "none: run in a keyring session");
    if (!store) {
        return 0;
    }
    MeasureEach("keep", [&](int n) {
        return store->Keep({BenchAddress(n), "00A0B0C0D0" + std::to_string(10 + n % 90), "pw"});
    });
    MeasureEach("find (hardware address checked)", [&](int n) {
        return store->Find(BenchAddress(n), "00A0B0C0D0" + std::to_string(10 + n % 90))
            .has_value();
    });
    MeasureEach("keep again (replaces)", [&](int n) {
        return store->Keep({BenchAddress(n), "00A0B0C0D0" + std::to_string(10 + n % 90), "pw2"});
    });
    MeasureEach("forget", [&](int n) { return store->Forget(BenchAddress(n)); });
    return 0;
}
