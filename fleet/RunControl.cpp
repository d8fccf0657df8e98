#include "fleet/RunControl.h"

#include "fleet/QuietDriver.h"

namespace lanterna::fleet {

RunSummary RunTargets(std::size_t count, const RunControl& control, bool testMail,
                      const std::function<bool(std::size_t, IWorkerDriver&)>& work) {
    RunBounds bounds = control.bounds;
    bounds.onCallingThread = control.foreground != nullptr;
    return RunJobs(
        count, bounds,
        [&](std::size_t i) {
            if (control.foreground != nullptr) {
                return work(i, *control.foreground);
            }
            CQuietDriver driver(testMail);
            return work(i, driver);
        },
        control.finished);
}

}  // namespace lanterna::fleet
