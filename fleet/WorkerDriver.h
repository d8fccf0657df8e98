#pragma once
// How a fleet job runs a link worker: quietly on the job's own thread (CQuietDriver), or through
// a front end that shows its progress and asks its questions (lanternactl's terminal runner for
// one target; the window's progress dialog).

#include <vector>

#include "state/ApplicationState.h"
#include "workers/Workers.h"

namespace lanterna::fleet {

// A message a worker showed: a string id, and for a Yes/No question the answer it got.
struct ShownMessage {
    int stringId = 0;
    bool question = false;
    bool yes = false;
};

class IWorkerDriver {
  public:
    virtual ~IWorkerDriver() = default;
    // Runs the worker of `mode` on `state` and returns its result.
    virtual int Run(WorkerMode mode, ApplicationState& state) = 0;
    // The messages of the workers run so far that the driver kept instead of showing them, in
    // order (a quiet driver keeps all; one that shows them, none).
    virtual std::vector<ShownMessage> Kept() const { return {}; }
};

}  // namespace lanterna::fleet
