#pragma once
// The background greeting of the listed projectors: every period a round of unicast hellos runs
// on a thread of its own, and its outcome comes back to the user-interface thread. A round is
// bounded in count and time (discovery/Presence.h); no round starts while the watch is paused
// (a refresh pauses it, so the search and a round never hold the hello port at once), and
// pausing waits for a round still running.
//
// User-interface thread only, except the round function, which runs on the watch's thread.

#include <QObject>
#include <QTimer>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace lanterna::dialogs {

class CPresenceWatch : public QObject {
  public:
    // Per address, whether it answered; empty when the round could not run.
    using Round = std::function<std::vector<bool>(const std::vector<std::string>& addresses)>;
    using Listed = std::function<std::vector<std::string>()>;
    using Outcome = std::function<void(const std::vector<std::string>& addresses,
                                       const std::vector<bool>& answered)>;

    // `listed` names the addresses of a round when it starts; `outcome` hears how it went.
    CPresenceWatch(Round round, Listed listed, Outcome outcome, QObject* parent = nullptr);
    ~CPresenceWatch() override;

    void Start(int periodMs);
    void Stop();
    // No round starts until Resume; a round still running is waited for and its outcome
    // dropped (the list it greeted is being replaced).
    void Pause();
    void Resume();
    bool IsPaused() const { return paused_; }
    int RoundsDone() const { return roundsDone_; }

  private:
    void StartRound();
    void Join();

    Round round_;
    Listed listed_;
    Outcome outcome_;
    QTimer timer_;
    std::thread worker_;
    bool paused_ = false;
    bool running_ = false;
    unsigned generation_ = 0;
    int roundsDone_ = 0;
};

}  // namespace lanterna::dialogs
