#pragma once
// Rounds of work on a thread of their own, one at a time, every period or at once when asked:
// the window never waits for one. A round's result is handed back on the user-interface thread,
// unless the rounds were joined since it started (what it found then no longer holds). Joining
// asks the round to end soon and waits for it.
//
// User-interface thread only, except each round's work, which runs on the rounds' thread.

#include <QObject>
#include <QTimer>
#include <atomic>
#include <functional>
#include <thread>

namespace lanterna::dialogs {

class CBackgroundRounds : public QObject {
  public:
    // What a finished round hands to the user-interface thread.
    using Delivery = std::function<void()>;
    // A round's work; `cancel` set asks it to end soon.
    using Work = std::function<Delivery(const std::atomic<bool>& cancel)>;
    // Asked on the user-interface thread when a round is due: its work, or none to skip it.
    using Prepare = std::function<Work()>;

    explicit CBackgroundRounds(Prepare prepare, QObject* parent = nullptr);
    ~CBackgroundRounds() override;

    void Start(int periodMs);
    void Stop();
    // Asks a running round to end, waits for it and drops what it would hand back.
    void Join();
    // A round as soon as the event loop comes back, unless one runs or the rounds are paused.
    void RunSoon();
    // While paused no round starts; a round under way is joined.
    void SetPaused(bool paused);
    bool IsPaused() const { return paused_; }
    int RoundsDone() const { return roundsDone_; }

  private:
    void StartRound();

    Prepare prepare_;
    QTimer timer_;
    std::thread worker_;
    std::atomic<bool> cancel_{false};
    bool paused_ = false;
    bool running_ = false;
    bool soon_ = false;  // a round is asked for at the next turn of the event loop
    unsigned generation_ = 0;
    int roundsDone_ = 0;
};

}  // namespace lanterna::dialogs
