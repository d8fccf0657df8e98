#pragma once
// A simulated projector network module: the TCP link (packet handshake, then the text command
// language), the hello and secondary discovery answers over UDP, and switchable faults.
//
// Thread safety: every public member function may be called from any thread while the
// projector runs. Start and Stop must not race with each other.

#include <netinet/in.h>

#include <atomic>
#include <cstdint>
#include <list>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "tools/projector-sim/PjlinkResponder.h"
#include "tools/projector-sim/ProjectorState.h"
#include "tools/projector-sim/SimulatorConfig.h"
#include "tools/projector-sim/Sockets.h"
#include "tools/projector-sim/StopFlag.h"

namespace lanterna::sim {

class SimulatedProjector {
  public:
    explicit SimulatedProjector(SimulatorConfig config);
    ~SimulatedProjector();  // stops
    SimulatedProjector(const SimulatedProjector&) = delete;
    SimulatedProjector& operator=(const SimulatedProjector&) = delete;

    // Binds every socket and starts serving. False, with the reason in `reason` when given,
    // when an address is malformed, a port cannot be bound or the log file cannot be opened.
    // A stopped projector can be started again; its settings and logs are kept.
    bool Start(std::string* reason = nullptr);

    // Ends every thread (each blocked call is woken by shutdown() or the wake-up descriptor)
    // and closes every socket. Returns when all threads have ended.
    void Stop();

    bool IsRunning() const { return running_; }

    const SimulatorConfig& Config() const { return config_; }
    const std::string& Address() const { return config_.address; }
    // The bound ports (meaningful after a successful Start).
    std::uint16_t TcpPort() const { return tcpPort_; }
    std::uint16_t HelloPort() const { return helloPort_; }
    std::uint16_t SecondaryPort() const { return secondaryPort_; }

    // Settings: the whole set, or one command's value as a query would give it.
    ProjectorSettings Settings() const { return state_.Settings(); }
    void SetSettings(const ProjectorSettings& settings) { state_.SetSettings(settings); }
    std::optional<std::string> QueryValue(std::string_view command) const {
        return state_.Query(command);
    }
    // A set command as if received (false: the projector would answer ERR).
    bool ApplySet(std::string_view command, std::string_view argument) {
        return state_.Apply(command, argument);
    }

    // Fault and discovery switches, effective from the next reply.
    FaultConfig Faults() const { return state_.Faults(); }
    void SetFaults(const FaultConfig& faults) { state_.SetFaults(faults); }
    DiscoveryConfig Discovery() const { return state_.Discovery(); }
    void SetDiscovery(const DiscoveryConfig& discovery) { state_.SetDiscovery(discovery); }

    // Every command line received in text sessions, in order, exactly as received without
    // its carriage return (a bare carriage return gives an empty line; an overlong line is
    // cut to kMaxLineLength bytes).
    std::vector<std::string> CommandLog() const { return state_.CommandLog(); }
    void ClearCommandLog() { state_.ClearCommandLog(); }
    // Every handshake packet received over TCP, in order.
    std::vector<HandshakeRecord> HandshakeLog() const { return state_.HandshakeLog(); }
    ProjectorCounters Counters() const { return state_.Counters(); }

    // The PJLink service; null unless the configuration enables it (and after a failed Start).
    CPjlinkResponder* Pjlink() { return pjlink_.get(); }

  private:
    struct SessionSlot {
        UniqueFd fd;
        std::thread thread;
        std::atomic<bool> done{false};
    };

    bool BindSockets(in_addr address, std::string& reason);
    bool StartPjlink(in_addr address, std::string& reason);
    bool BindOnce(in_addr address, std::uint16_t port, std::string& reason);
    void CloseSockets();
    void Serve();
    void Accept();
    // Joins the finished sessions (all of them when `all`, after waking them).
    void ReapSessions(bool all);

    SimulatorConfig config_;
    ProjectorState state_;
    StopFlag stop_;
    in_addr address_{};

    UniqueFd listener_;
    UniqueFd helloSocket_;
    UniqueFd secondarySocket_;
    UniqueFd helloBroadcast_;      // receiveBroadcasts only
    UniqueFd secondaryBroadcast_;  // receiveBroadcasts only
    UniqueFd wake_;                // eventfd that ends the serving thread's poll

    std::atomic<std::uint16_t> tcpPort_{0};
    std::atomic<std::uint16_t> helloPort_{0};
    std::atomic<std::uint16_t> secondaryPort_{0};
    std::atomic<bool> running_{false};

    std::unique_ptr<CPjlinkResponder> pjlink_;
    std::thread server_;
    std::mutex sessionsMutex_;
    std::list<std::unique_ptr<SessionSlot>> sessions_;
};

}  // namespace lanterna::sim
