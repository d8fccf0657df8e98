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

    // Whether the test-mail question of the next write is put at all. A write that sends the
    // mail settings as the projector already has them (a whole settings file sends each) changes
    // nothing to test: the question is then answered No, neither shown nor kept.
    void OfferTestMail(bool offer) { testMailOffered_ = offer; }

  protected:
    // A question the driver answers No at once, unseen.
    bool Unoffered(int stringId, int flags) const;

  private:
    bool testMailOffered_ = true;
};

}  // namespace lanterna::fleet
