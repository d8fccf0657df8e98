#pragma once
// The watch's signals: SIGTERM and SIGINT ask it to stop, SIGHUP to reload its configuration.
// A handler sets a flag and writes a byte into a pipe of its own (the self-pipe), so that both
// a round under way (which looks at the flag) and the wait between rounds (which polls the
// pipe) learn of it at once. The previous handlers come back when the object goes.

#include <atomic>
#include <csignal>

#include "watch/Watcher.h"

namespace lanterna::cli {

class CSignalWaiter final : public watch::IWatchWaiter {
  public:
    CSignalWaiter();
    ~CSignalWaiter() override;
    CSignalWaiter(const CSignalWaiter&) = delete;
    CSignalWaiter& operator=(const CSignalWaiter&) = delete;

    // False when the pipe could not be made.
    bool Ready() const;
    watch::WakeReason Wait(std::chrono::milliseconds longest) override;
    const std::atomic<bool>& StopFlag() const;

  private:
    struct sigaction previous_[3]{};
};

}  // namespace lanterna::cli
