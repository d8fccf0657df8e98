#pragma once
// The unattended watch on the fleet engine: presence rounds (which projectors answer a hello),
// health rounds (through a health probe, where one is given), backup rounds (every projector
// read whole and kept under version control), each on its own interval, within the fleet
// engine's bounds; after every round the metrics are published and at most one alert mail is
// sent. A stop asked for during a round lets the projectors under way finish and starts no
// other; the log says whether the round was finished or abandoned.
//
// Threads: Run and the rounds on one thread; `stop` may be set from any (a signal handler).

#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <string>

#include "fleet/FleetNetwork.h"
#include "watch/Alerts.h"
#include "watch/Metrics.h"
#include "watch/RepositoryBackup.h"
#include "watch/WatchLog.h"
#include "watch/WatchSetup.h"
#include "watch/WatchState.h"

namespace lanterna::watch {

// What the watcher works through; the adapters it is given may be null (nothing of that kind).
struct WatchServices {
    fleet::FleetNetwork network;
    IWatchLog* log = nullptr;  // required
    IVersionStore* versions = nullptr;
    IMetricsSink* metrics = nullptr;
    IMailSender* mail = nullptr;
    IHealthProbe* health = nullptr;
    std::string host;  // the machine's name, for mails
};

enum class WakeReason { kTimeout, kStop, kReload };

// Waits for the next round: returns early when a stop or a reload is asked for.
class IWatchWaiter {
  public:
    virtual ~IWatchWaiter() = default;
    virtual WakeReason Wait(std::chrono::milliseconds longest) = 0;
};

// How a round ended.
enum class RoundEnd { kFinished, kAbandoned };

class CWatcher {
  public:
    CWatcher(WatchSetup setup, WatchServices services, const std::atomic<bool>& stop);

    // Runs rounds until a stop; `reload` gives the setup to take on a reload (none: keep the
    // one in force, its problem already told).
    void Run(IWatchWaiter& waiter, const std::function<std::optional<WatchSetup>()>& reload);

    // One round of each kind at `now` (the rounds Run starts; tests and benchmarks call them).
    RoundEnd PresenceRound(Clock::time_point now);
    RoundEnd HealthRound();
    RoundEnd BackupRound(Clock::time_point now);

    // Takes a new setup: projectors still watched keep what is known of them.
    void Take(WatchSetup setup);

    const WatchStateAll& State() const { return state_; }
    // The adapters worked through; a reload that renews them puts them here.
    WatchServices& Services() { return services_; }

  private:
    void Publish();
    void Alert(std::vector<AlertEvent> events);
    void FindAllTargets();
    fleet::RunControl Control() const;
    void TakeReadings(const std::vector<fleet::SiteReading>& readings,
                      const BackupRoundResult& written, std::vector<AlertEvent>& events);
    void Commit(const BackupRoundResult& written);
    // The drift of a projector read from the setup's template, told when it is new.
    void TemplateDrift(ProjectorWatch& projector, const ProjectorRecord& record,
                       std::vector<AlertEvent>& events);
    void Finished(RoundKind kind, std::chrono::steady_clock::time_point began,
                  std::size_t failures, RoundEnd end);

    WatchSetup setup_;
    WatchServices services_;
    const std::atomic<bool>& stop_;
    WatchStateAll state_;
    bool repositoryReady_ = false;
};

}  // namespace lanterna::watch
