#pragma once
// The background reading of the listed projectors' health: every period a round reads them
// over PJLink on a thread of its own, and its readings come back to the user-interface thread.
// The window never waits for a round: a round still running when the next period comes is
// left to finish, and stopping the watch cancels it (each link then ends within a short slice)
// before joining it.
//
// User-interface thread only, except the round function, which runs on the watch's thread.

#include <QObject>
#include <atomic>
#include <functional>
#include <string>
#include <vector>

#include "dialogs/BackgroundRounds.h"
#include "fleet/HealthReport.h"

namespace lanterna::dialogs {

class CHealthWatch : public QObject {
  public:
    // The readings of `addresses`; `cancel` set asks it to end soon.
    using Round = std::function<std::vector<fleet::HealthOfTarget>(
        const std::vector<std::string>& addresses, const std::atomic<bool>& cancel)>;
    using Listed = std::function<std::vector<std::string>()>;
    using Outcome = std::function<void(const std::vector<fleet::HealthOfTarget>& readings)>;

    CHealthWatch(Round round, Listed listed, Outcome outcome, QObject* parent = nullptr);

    void Start(int periodMs) { rounds_.Start(periodMs); }
    void Stop() { rounds_.Stop(); }
    // A round as soon as the event loop comes back, unless one runs; the period goes on.
    void ReadSoon() { rounds_.RunSoon(); }
    int RoundsDone() const { return rounds_.RoundsDone(); }

  private:
    CBackgroundRounds::Work RoundOfListed();

    Round round_;
    Listed listed_;
    Outcome outcome_;
    CBackgroundRounds rounds_;  // last: its round is joined before what it calls goes
};

}  // namespace lanterna::dialogs
