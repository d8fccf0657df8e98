#pragma once
// The watcher's health probe over PJLink: power, lamp hours and error status of one projector,
// with the PJLink password the watch's configuration gives for it (PJLink's own, never the
// network module's). Every link is bounded: a deadline on the connect and on each of its three
// replies, and the watch's stop flag ends any wait, so one slow projector holds only its own
// worker of the round.
//
// Threads: Probe from many threads at once; SetPasswords between rounds only.

#include <atomic>
#include <memory>

#include "fleet/FleetNetwork.h"
#include "pjlink/Health.h"
#include "watch/WatchPasswords.h"
#include "watch/WatchState.h"

namespace lanterna::watch {

// The deadlines of one projector's health reading, shorter than a one-off status command's:
// a round asks every projector, and a projector that answers at all answers fast.
inline constexpr std::uint32_t kProbeConnectMs = 3000;
inline constexpr std::uint32_t kProbeReplyMs = 3000;

// The error flags of ERST's levels: for each part (fan, lamp, temperature, cover, filter, other
// from bit 0 on) two bits, the lower set from a warning on, the upper for an error; so a part
// that gets worse sets a bit it did not have, and one that gets better sets none.
std::uint32_t ErrorFlagsOf(const pjlink::ErrorLevels& levels);

// What a health reading tells the watcher.
HealthReading HealthReadingOf(const pjlink::Health& health);

class CPjlinkProbe final : public IHealthProbe {
  public:
    CPjlinkProbe(fleet::FleetNetwork network, std::shared_ptr<const CWatchPasswords> passwords,
                 const std::atomic<bool>* stop);

    std::optional<HealthReading> Probe(const fleet::Target& target) override;

    void SetPasswords(std::shared_ptr<const CWatchPasswords> passwords) {
        passwords_ = std::move(passwords);
    }

  private:
    fleet::FleetNetwork network_;
    std::shared_ptr<const CWatchPasswords> passwords_;
    const std::atomic<bool>* stop_;
};

}  // namespace lanterna::watch
