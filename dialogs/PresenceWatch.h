#pragma once
// The background greeting of the listed projectors: every period a round of unicast greetings
// (each projector greeted the way it was found) runs on a thread of its own, and its outcome
// comes back to the user-interface thread. A round is bounded in count and time
// (discovery/Presence.h); no round starts while the watch is paused (a refresh pauses it, so the
// search and a round never hold the hello port at once), and pausing waits for a round still
// running.
//
// User-interface thread only, except the round function, which runs on the watch's thread.

#include <QObject>
#include <functional>
#include <string>
#include <vector>

#include "dialogs/BackgroundRounds.h"
#include "discovery/Greeting.h"

namespace lanterna::dialogs {

// The addresses a round greets, each the way its projector was found.
struct GreetedList {
    std::vector<std::string> addresses;
    std::vector<Greeting> ways;  // beside the addresses; a hello where it is short
};

class CPresenceWatch : public QObject {
  public:
    // Per address, whether it answered; empty when the round could not run.
    using Round = std::function<std::vector<bool>(const std::vector<std::string>& addresses,
                                                  const std::vector<Greeting>& ways)>;
    using Listed = std::function<GreetedList()>;
    using Outcome = std::function<void(const std::vector<std::string>& addresses,
                                       const std::vector<bool>& answered)>;

    // `listed` names the addresses of a round when it starts; `outcome` hears how it went.
    CPresenceWatch(Round round, Listed listed, Outcome outcome, QObject* parent = nullptr);

    void Start(int periodMs) { rounds_.Start(periodMs); }
    void Stop() { rounds_.Stop(); }
    // No round starts until Resume; a round still running is waited for and its outcome
    // dropped (the list it greeted is being replaced).
    void Pause() { rounds_.SetPaused(true); }
    void Resume() { rounds_.SetPaused(false); }
    // A round as soon as the event loop comes back (unless one runs or the watch is paused);
    // the period goes on as before.
    void GreetSoon() { rounds_.RunSoon(); }
    bool IsPaused() const { return rounds_.IsPaused(); }
    int RoundsDone() const { return rounds_.RoundsDone(); }

  private:
    CBackgroundRounds::Work RoundOfListed();

    Round round_;
    Listed listed_;
    Outcome outcome_;
    CBackgroundRounds rounds_;  // last: its round is joined before what it calls goes
};

}  // namespace lanterna::dialogs
