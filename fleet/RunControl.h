#pragma once
// How a fleet job runs its targets: the bounds of the run (how many at once, cancellation, the
// failures after which no target starts), who drives the workers, and who hears of each target
// as it finishes.

#include <cstddef>
#include <functional>

#include "fleet/JobRunner.h"
#include "fleet/WorkerDriver.h"

namespace lanterna::fleet {

struct RunControl {
    RunBounds bounds;
    // Given: the targets are worked one after the other on the calling thread through this
    // driver (which may show progress and ask). Null: each target quietly, on the pool.
    IWorkerDriver* foreground = nullptr;
    // After each target, on the calling thread: its index, and how many have finished so far.
    std::function<void(std::size_t index, std::size_t done)> finished;
};

// Runs `work(i, driver)` for each target i as `control` says: through the foreground driver on
// the calling thread, or with a quiet driver of its own per target on the pool, the test mail
// answered `testMail`. `work` tells whether the target succeeded.
RunSummary RunTargets(std::size_t count, const RunControl& control, bool testMail,
                      const std::function<bool(std::size_t, IWorkerDriver&)>& work);

}  // namespace lanterna::fleet
