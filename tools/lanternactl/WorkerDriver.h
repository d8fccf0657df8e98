#pragma once
// How a command runs a link worker: CWorkerRunner draws its progress and asks its questions on
// the terminal (one target); CQuietDriver runs it quietly (many targets at once).

#include "state/ApplicationState.h"
#include "workers/Workers.h"

namespace lanterna::cli {

class IWorkerDriver {
  public:
    virtual ~IWorkerDriver() = default;
    // Runs the worker of `mode` on `state` and returns its result.
    virtual int Run(WorkerMode mode, ApplicationState& state) = 0;
};

}  // namespace lanterna::cli
